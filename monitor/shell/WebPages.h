#pragma once
// The addresses of the Help menu's web commands. Each is one string value
// under the monitor's machine key, so an administrator sets it for every user
// of the computer; an empty or missing value takes the default, a topic of
// the monitor's own help pages. docs/web-pages.md lists the names.

#include <QString>
#include <QUrl>

#include <optional>

class HelpPages;
class RegistryStore;

enum class WebPage { UpdateCentral, HomePage, Feedback, HolidayDefinitions, MakerHomePage };

struct WebAddress {
    // The address to open; empty when there is none (a feedback address
    // that nobody set up, a stored text that is no address).
    QUrl url;
    // The stored text when it was refused.
    QString refused;
};

class WebPages {
public:
    WebPages(const RegistryStore& store, const HelpPages& help, int languageOffset);

    WebAddress address(WebPage which) const;
    // "Update Central URL", "Home Page URL", "Feedback Address",
    // "Holiday Definitions URL", "Varnholt Home Page URL".
    static QString valueName(WebPage which);
    // Reads a stored text as an address: http and https addresses (a bare
    // host name counts as http), local HTML pages (a path or a file: URL,
    // DOS paths mapped), and for feedback a mail address (with or without
    // "mailto:"). Anything else is refused.
    static std::optional<QUrl> parse(const QString& text, bool mail, const RegistryStore& store);

private:
    QString stored(WebPage which) const;
    QUrl fallback(WebPage which) const;

    const RegistryStore& m_store;
    const HelpPages& m_help;
    int m_language;
};
