#pragma once
// The monitor's texts in the user's language: IntlStr (base id) reads the
// "Language" setting at every call, so a new choice applies at once.

#include "Settings.h"
#include "StringTable.h"

class IntlStrings {
public:
    // The monitor's compiled table unless another is given.
    explicit IntlStrings(const Settings& settings, const StringTable* table = nullptr);

    // Text base + k for the current language, else the English base, else
    // "Undefined IntlStr #" and the id. A "Language" that is not an integer
    // counts as the default.
    QString IntlStr(int base) const;
    // k for the stored "Language" (default "2").
    int LanguageOffset() const;
    // k for a language list index: 0 Dutch 4, 1 and 2 English 0, 3 French 3,
    // 4 German 2, 5 Swedish 1, 6 Italian 5, 7 Spanish 6, 8 Portuguese 7,
    // 9 Danish 8; anything else English.
    static int offsetForIndex(qint64 index);
    // The ten entries of the language list, in index order.
    static QStringList languageList();

private:
    const Settings& m_settings;
    const StringTable& m_table;
};
