#include "CompanionStrings.h"

#include "Converters.h"

CompanionStrings::CompanionStrings(const Settings& settings, const StringTable* table)
    : m_settings(settings),
      m_table(table ? *table : StringTable::resource(QStringLiteral(":/strings/companion.tsv"))) {}

int CompanionStrings::indexForCode(qint64 code) {
    switch (code) {
    case 4:
        return 2;
    case 5:
        return 1;
    case 9:
        return 3;
    default:
        return 0;
    }
}

int CompanionStrings::languageIndex() const {
    const QString code =
        m_settings.ReadText(kSettingsKey, QStringLiteral("Language"), QStringLiteral("2"));
    try {
        return indexForCode(StrToInt(code));
    } catch (const ConversionError&) {
        // A code that is no number names no language of ours: English.
        return 0;
    }
}

QString CompanionStrings::IntlStr(int base) const {
    if (auto text = m_table.text(base + languageIndex()))
        return *text;
    return QStringLiteral("Undefined IntlStr #") + QString::number(base);
}
