#pragma once
// The monitor's help: one HTML page per language in the help folder
// ("tollwatch-en.html", "tollwatch-de.html", ...), opened in the browser;
// a topic is an anchor of the page.

#include <QString>
#include <QUrl>

class HelpPages {
public:
    explicit HelpPages(QString folder) : m_folder(std::move(folder)) {}

    // The page of language k (0 English ... 8 Danish, as the string tables
    // count), the English page when k has none; with anchor as its fragment.
    QUrl page(int languageOffset, const QString& anchor = QString()) const;
    // "en", "sv", "de", "fr", "nl", "it", "es", "pt", "da"; "en" outside 0..8.
    static QString languageCode(int languageOffset);
    const QString& folder() const { return m_folder; }

private:
    QString m_folder;
};
