#pragma once
// The companion's help: one HTML page per language next to the program
// ("help/companion-en.html" ...), opened in the browser; a help context is an
// anchor in that page.

#include <QString>
#include <QUrl>

class HelpService {
public:
    virtual ~HelpService() = default;
    // "&Help index": the page's contents.
    virtual void showContents(int languageIndex) = 0;
    // A numbered topic (1: setting the monitor up for the companion).
    virtual void showContext(int languageIndex, int context) = 0;
};

// Opens the pages with the desktop's browser.
class BrowserHelp : public HelpService {
public:
    // folder holds the pages; by default "help" beside the program file, or
    // share/tollwatch/help of the installation.
    explicit BrowserHelp(QString folder = QString());

    void showContents(int languageIndex) override;
    void showContext(int languageIndex, int context) override;

    // The page of a language (English when that language has none), with the
    // anchor of a context when context > 0.
    QUrl url(int languageIndex, int context) const;
    static QString anchorFor(int context);

private:
    QString m_folder;
};
