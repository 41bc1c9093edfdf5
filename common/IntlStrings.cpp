#include "IntlStrings.h"

#include "Converters.h"

#include <array>

namespace {
constexpr std::array<int, 10> kOffsets{4, 0, 0, 3, 2, 1, 5, 6, 7, 8};
}

IntlStrings::IntlStrings(const Settings& settings, const StringTable* table)
    : m_settings(settings),
      m_table(table ? *table : StringTable::resource(QStringLiteral(":/strings/monitor.tsv"))) {}

int IntlStrings::offsetForIndex(qint64 index) {
    if (index < 0 || index >= qint64(kOffsets.size()))
        return 0;
    return kOffsets[size_t(index)];
}

int IntlStrings::LanguageOffset() const {
    try {
        return offsetForIndex(StrToInt(
            m_settings.ReadText(kSettingsKey, QStringLiteral("Language"), QStringLiteral("2"))));
    } catch (const ConversionError&) {
        // Every text of the program goes through here: a language that is
        // no number must not stop a single one, so it reads as the default.
        return offsetForIndex(2);
    }
}

QString IntlStrings::IntlStr(int base) const {
    const int k = LanguageOffset();
    if (auto t = m_table.text(base + k))
        return *t;
    if (auto t = m_table.text(base))
        return *t;
    return QStringLiteral("Undefined IntlStr #") + QString::number(base);
}

QStringList IntlStrings::languageList() {
    return {QStringLiteral("Nederlands (Dutch)"),      QStringLiteral("English (US English)"),
            QStringLiteral("English (World English)"), QStringLiteral("Français (French)"),
            QStringLiteral("Deutsch (German)"),        QStringLiteral("Svenska (Swedish)"),
            QStringLiteral("Italiano (Italian)"),      QStringLiteral("Español (Spanish)"),
            QStringLiteral("Português (Portuguese)"),  QStringLiteral("Dansk (Danish)")};
}
