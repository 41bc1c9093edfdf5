#include "OptionsStrings.h"

#include "CompanionSettings.h"
#include "Converters.h"

OptionsStrings::OptionsStrings(const Settings& settings, const CompanionStrings& mainStrings,
                               const StringTable* table)
    : m_settings(settings), m_main(mainStrings),
      m_table(table ? *table : StringTable::resource(QStringLiteral(":/strings/companion.tsv"))) {}

int OptionsStrings::indexForCode(qint64 code) {
    switch (code) {
    case 2:
        return 1;
    case 3:
        return 2;
    case 4:
    case 44143:
        return 3;
    case 6:
        return 5;
    case 7:
        return 6;
    case 8:
        return 7;
    case 12:
        return 4;
    default:
        return 0;
    }
}

// Nothing in the companion writes its own "Language"; an installation that
// leaves it out must not get a Swedish dialog in an English window.
int OptionsStrings::languageIndex() const {
    const QString code = m_settings.ReadText(kCompanionKey, QStringLiteral("Language"), QString());
    if (code.isEmpty())
        return m_main.languageIndex();
    try {
        return indexForCode(StrToInt(code));
    } catch (const ConversionError&) {
        return 0;
    }
}

QString OptionsStrings::IntlStr(int base) const {
    if (auto text = m_table.text(base + languageIndex()))
        return *text;
    return QStringLiteral("Undefined IntlStr #") + QString::number(base);
}
