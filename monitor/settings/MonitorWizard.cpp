#include "MonitorWizard.h"

#include "Converters.h"
#include "RunEntry.h"
#include "Settings.h"

namespace {

constexpr int kLanguages = 10;
constexpr int kDefaultLanguage = 2;
// "Language" is missing before the first choice; the wizard reads it with a
// default no list index reaches, so any stored choice skips the language page.
constexpr int kNoLanguageYet = 50;

int storedInt(const Settings& settings, const QString& name, int def) {
    try {
        return int(StrToInt(settings.ReadText(kSettingsKey, name, QString::number(def))));
    } catch (const ConversionError&) {
        return def;
    }
}

bool firstRun(const Settings& settings) {
    return storedInt(settings, QStringLiteral("Language"), kNoLanguageYet) >= kNoLanguageYet;
}

} // namespace

MonitorWizard::MonitorWizard(Settings& settings, const IntlStrings& intl, RunEntry& runEntry,
                             QString programPath)
    : m_settings(settings), m_intl(intl), m_runEntry(runEntry),
      m_programPath(std::move(programPath)), m_flow(firstRun(settings)) {
    const int language = storedInt(settings, QStringLiteral("Language"), kDefaultLanguage);
    m_values.language = language >= 0 && language < kLanguages ? language : kDefaultLanguage;
    LoadIntl();
    loadChoices();
}

void MonitorWizard::LoadIntl() {
    const auto text = [this](const QString& n, const QString& def) {
        return m_settings.ReadText(kSettingsKey, n, def);
    };
    RatesValues& t = m_values.tariff;
    t.connectionFee = text(QStringLiteral("Connection Fee"), QStringLiteral("0.35"));
    t.minimumCost = text(QStringLiteral("Minimum cost"), QStringLiteral("0.00"));
    t.weekendRate = text(QStringLiteral("Weekend rate"),
                         text(QStringLiteral("Cheap rate"), QStringLiteral("0.10")));
    t.cheapBefore = text(QStringLiteral("Cheap before"), QStringLiteral("08.00"));
    t.cheapAfter = text(QStringLiteral("Cheap after"), QStringLiteral("18.00"));
    t.standardRate = text(QStringLiteral("Standard rate"), QStringLiteral("0.20"));
    t.cheapRate = text(QStringLiteral("Cheap rate"), QStringLiteral("0.10"));
}

void MonitorWizard::loadChoices() {
    const auto flag = [this](const char* n, bool def) {
        return m_settings.ReadFlag(kSettingsKey, QString::fromLatin1(n), def);
    };
    m_values.tariff.saturdays = flag("Satcheap", true);
    m_values.tariff.sundays = flag("Suncheap", true);
    m_values.tariff.fridays = flag("Fricheap", false);
    if (flag("Show cost", true))
        m_values.kind = flag("One rate", true) ? TariffKind::Fixed : TariffKind::Different;
    else
        m_values.kind = TariffKind::TimeOnly;
    m_values.autoload = !m_runEntry.read().isEmpty();
}

bool MonitorWizard::next() {
    switch (m_flow.next(m_values.kind)) {
    case WizardFlow::Step::Done:
        save();
        return true;
    case WizardFlow::Step::LanguageLeft:
        m_settings.WriteText(kSettingsKey, QStringLiteral("Language"),
                             QString::number(m_values.language));
        LoadIntl();
        return false;
    case WizardFlow::Step::Moved:
        break;
    }
    return false;
}

// Every tariff value is saved from its edit, also those a fixed rate or time
// only kept hidden: they hold what was loaded.
void MonitorWizard::save() {
    const RatesValues& t = m_values.tariff;
    const auto text = [this](const char* n, const QString& value) {
        m_settings.WriteText(kSettingsKey, QString::fromLatin1(n), value);
    };
    const auto flag = [this](const char* n, bool value) {
        m_settings.WriteFlag(kSettingsKey, QString::fromLatin1(n), value);
    };
    flag("Satcheap", t.saturdays);
    flag("Suncheap", t.sundays);
    flag("Fricheap", t.fridays);
    flag("One rate", m_values.kind == TariffKind::Fixed);
    flag("Show cost", m_values.kind != TariffKind::TimeOnly);
    text("Cheap before", t.cheapBefore);
    text("Cheap after", t.cheapAfter);
    text("Standard rate", t.standardRate);
    text("Cheap rate", t.cheapRate);
    text("Weekend rate", t.weekendRate);
    text("Connection Fee", t.connectionFee);
    text("Minimum cost", t.minimumCost);
    if (m_values.autoload)
        m_runEntry.write(m_programPath);
    else
        m_runEntry.remove();
}
