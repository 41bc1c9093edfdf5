#include "WebPages.h"

#include "DosPath.h"
#include "HelpPages.h"
#include "RegistryStore.h"
#include "Settings.h"

#include <QRegularExpression>

namespace {

bool isHtmlFile(const QUrl& url) {
    static const QRegularExpression html(QStringLiteral("\\.x?html?$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return url.isLocalFile() && html.match(url.toLocalFile()).hasMatch();
}

std::optional<QUrl> mailAddress(const QString& text) {
    const QString address =
        text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive) ? text.mid(7) : text;
    static const QRegularExpression plain(QStringLiteral("^[^@\\s:/?]+@[^@\\s:/?]+$"));
    if (!plain.match(address.section(QLatin1Char('?'), 0, 0)).hasMatch())
        return std::nullopt;
    QUrl url(QStringLiteral("mailto:") + address);
    return url.isValid() ? std::optional<QUrl>(url) : std::nullopt;
}

} // namespace

WebPages::WebPages(const RegistryStore& store, const HelpPages& help, int languageOffset)
    : m_store(store), m_help(help), m_language(languageOffset) {}

QString WebPages::valueName(WebPage which) {
    switch (which) {
    case WebPage::UpdateCentral:
        return QStringLiteral("Update Central URL");
    case WebPage::HomePage:
        return QStringLiteral("Home Page URL");
    case WebPage::Feedback:
        return QStringLiteral("Feedback Address");
    case WebPage::HolidayDefinitions:
        return QStringLiteral("Holiday Definitions URL");
    case WebPage::MakerHomePage:
        break;
    }
    return QStringLiteral("Varnholt Home Page URL");
}

std::optional<QUrl> WebPages::parse(const QString& text, bool mail, const RegistryStore& store) {
    const QString t = text.trimmed();
    if (mail && (t.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive) ||
                 !t.contains(QLatin1Char('/'))))
        if (const auto m = mailAddress(t))
            return m;
    const bool dos = t.size() > 2 && t.at(1) == QLatin1Char(':') && t.at(0).isLetter() &&
                     (t.at(2) == QLatin1Char('\\') || t.at(2) == QLatin1Char('/'));
    QUrl url;
    if (dos || t.startsWith(QLatin1Char('/')))
        url = QUrl::fromLocalFile(DosPathMapper::fromStore(store).toNative(t));
    else
        url = QUrl::fromUserInput(t);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    // A user name in a web address is a mail address in the wrong field or
    // a disguise; neither is opened.
    if ((web && !url.host().isEmpty() && url.userInfo().isEmpty()) || isHtmlFile(url))
        return url;
    return std::nullopt;
}

QString WebPages::stored(WebPage which) const {
    try {
        const auto v = m_store.readValue(RegRoot::LocalMachine, kMachineKey, valueName(which));
        if (v && v->type == RegType::String)
            return v->text.trimmed();
    } catch (const RegistryError&) {
        // An unreadable value takes the default, as every setting does.
    }
    return QString();
}

QUrl WebPages::fallback(WebPage which) const {
    switch (which) {
    case WebPage::UpdateCentral:
        return m_help.page(m_language, QStringLiteral("updates"));
    case WebPage::HomePage:
        return m_help.page(m_language);
    case WebPage::Feedback:
        return QUrl();
    case WebPage::HolidayDefinitions:
        return m_help.page(m_language, QStringLiteral("holidays"));
    case WebPage::MakerHomePage:
        break;
    }
    return m_help.page(m_language, QStringLiteral("about"));
}

WebAddress WebPages::address(WebPage which) const {
    const QString text = stored(which);
    if (text.isEmpty())
        return {fallback(which), QString()};
    if (const auto url = parse(text, which == WebPage::Feedback, m_store))
        return {*url, QString()};
    return {QUrl(), text};
}
