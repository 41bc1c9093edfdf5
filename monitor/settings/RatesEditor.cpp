#include "RatesEditor.h"

#include "Settings.h"

namespace {
QString name(const char* n) {
    return QString::fromLatin1(n);
}
} // namespace

RatesValues RatesEditor::load() const {
    const auto text = [this](const char* n, const char* def) {
        return m_settings.ReadText(kSettingsKey, name(n), name(def));
    };
    RatesValues v;
    v.cheapBefore = text("Cheap before", "08.00");
    v.cheapAfter = text("Cheap after", "18.00");
    v.fridays = m_settings.ReadFlag(kSettingsKey, name("Fricheap"), false);
    v.saturdays = m_settings.ReadFlag(kSettingsKey, name("Satcheap"), false);
    v.sundays = m_settings.ReadFlag(kSettingsKey, name("Suncheap"), false);
    v.standardRate = text("Standard rate", "0.20");
    v.cheapRate = text("Cheap rate", "0.10");
    v.weekendRate = text("Weekend rate", "0.10");
    v.connectionFee = text("Connection Fee", "0.00");
    v.minimumCost = text("Minimum cost", "0.20");
    return v;
}

void RatesEditor::save(const RatesValues& v) {
    const auto text = [this](const char* n, const QString& value) {
        m_settings.WriteText(kSettingsKey, name(n), value);
    };
    m_settings.WriteFlag(kSettingsKey, name("Satcheap"), v.saturdays);
    m_settings.WriteFlag(kSettingsKey, name("Suncheap"), v.sundays);
    m_settings.WriteFlag(kSettingsKey, name("Fricheap"), v.fridays);
    text("Cheap before", v.cheapBefore);
    text("Weekend rate", v.weekendRate);
    text("Cheap after", v.cheapAfter);
    text("Minimum cost", v.minimumCost);
    text("Standard rate", v.standardRate);
    text("Cheap rate", v.cheapRate);
    text("Connection Fee", v.connectionFee);
}
