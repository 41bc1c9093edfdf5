#pragma once
// The Options dialog's texts. Its language comes from the companion's own
// "Language" value with the dialog's code table; when that value is missing
// or empty the dialog speaks the main window's language.

#include "CompanionStrings.h"
#include "Settings.h"
#include "StringTable.h"

class OptionsStrings {
public:
    OptionsStrings(const Settings& settings, const CompanionStrings& mainStrings,
                   const StringTable* table = nullptr);

    // base + the dialog's language index, else "Undefined IntlStr #" + base.
    QString IntlStr(int base) const;
    int languageIndex() const;
    // The dialog's code table: 2 → 1, 3 → 2, 4 → 3, 6 → 5, 7 → 6, 8 → 7,
    // 12 → 4, 44143 → 3; anything else 0.
    static int indexForCode(qint64 code);

private:
    const Settings& m_settings;
    const CompanionStrings& m_main;
    const StringTable& m_table;
};
