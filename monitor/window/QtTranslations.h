#pragma once
// Qt's own texts (the Yes, No, OK and Cancel of message boxes, the file
// dialogs) in the monitor's language: Qt's catalogue for that language, and
// the standard button texts from our string table where Qt ships none
// (Swedish, European Portuguese).

#include <QString>

#include <memory>

class QTranslator;
class StringTable;

class QtTranslations {
public:
    // folder: where Qt's catalogues lie (Qt's own translations folder when empty).
    explicit QtTranslations(const StringTable& table, QString folder = QString());
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Installs the texts of language k (0 English ... 8 Danish) in the
    // application in place of the earlier ones; English needs none.
    void apply(int languageOffset);
    // Qt's catalogue was found for the language last applied.
    bool qtCatalogueLoaded() const { return m_qtLoaded; }
    // The locale whose catalogue serves language k ("sv", "pt_PT", ...).
    static QString localeName(int languageOffset);

private:
    void remove();

    const StringTable& m_table;
    QString m_folder;
    int m_current = 0;
    bool m_qtLoaded = false;
    std::unique_ptr<QTranslator> m_buttons;
    std::unique_ptr<QTranslator> m_qt;
};
