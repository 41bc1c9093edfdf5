#include "ShellCommands.h"

#include "EventKind.h"
#include "HelpPages.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "Shell.h"
#include "WebPages.h"

#include <QFileInfo>
#include <QUrlQuery>

namespace {
const QString kCaption = QStringLiteral("Tollwatch");
// Strings of the table.
constexpr int kHolidayQuestion = 5470;
constexpr int kNoFeedbackAddress = 9420;
constexpr int kUnableToOpen = 9430;
constexpr int kNotAnAddress = 9440;
} // namespace

ShellCommands::ShellCommands(Shell& shell, MonitorView& view, EventSink& events,
                             const IntlStrings& intl, const RegistryStore& store,
                             const HelpPages& help, QString programFolder)
    : m_shell(shell), m_view(view), m_events(events), m_intl(intl), m_store(store), m_help(help),
      m_programFolder(std::move(programFolder)) {}

int ShellCommands::language() const {
    try {
        return m_intl.LanguageOffset();
    } catch (const std::exception&) {
        // A "Language" that is no number shows the English pages.
        return 0;
    }
}

void ShellCommands::Companion1Click() {
    const QString program = m_programFolder + QStringLiteral("/companion");
    const QFileInfo info(program);
    const bool started =
        info.isFile() && info.isExecutable() && m_shell.startProgram(program, {}, QString()).ok;
    if (started)
        return;
    m_view.messageBox(kCaption,
                      QStringLiteral("The Tollwatch Companion is missing or not installed. Add it "
                                     "by reinstalling Tollwatch and selecting \"typical\" setup"),
                      BoxButtons::Ok, BoxIcon::Warning, BoxAnswer::Ok);
}

void ShellCommands::Helpcontents1Click() {
    open(m_help.page(language(), QStringLiteral("contents")));
}

void ShellCommands::Helpindex1Click() {
    open(m_help.page(language(), QStringLiteral("index")));
}

void ShellCommands::UpdateCentral1Click() {
    openPage(WebPage::UpdateCentral);
}

void ShellCommands::Homepage1Click() {
    openPage(WebPage::HomePage);
}

void ShellCommands::VarnholtHome1Click() {
    openPage(WebPage::MakerHomePage);
}

void ShellCommands::HDefClick() {
    if (m_view.messageBox(kCaption, m_intl.IntlStr(kHolidayQuestion), BoxButtons::OkCancel,
                          BoxIcon::Information, BoxAnswer::Ok) == BoxAnswer::Ok)
        openPage(WebPage::HolidayDefinitions);
}

void ShellCommands::Support1Click() {
    const WebAddress address = WebPages(m_store, m_help, language()).address(WebPage::Feedback);
    if (address.url.isEmpty() && address.refused.isEmpty()) {
        m_view.messageBox(kCaption, m_intl.IntlStr(kNoFeedbackAddress), BoxButtons::Ok,
                          BoxIcon::Information, BoxAnswer::Ok);
        return;
    }
    QUrl url = address.url;
    if (url.scheme() == QLatin1String("mailto") && !url.hasQuery()) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("subject"),
                           QStringLiteral("Tollwatch %1").arg(QStringLiteral(TOLLWATCH_VERSION)));
        url.setQuery(query);
    }
    if (url.isEmpty())
        m_events.PostEvent(m_intl.IntlStr(kNotAnAddress) + address.refused, EventKind::Warning);
    else
        open(url);
}

void ShellCommands::openPage(WebPage which) {
    const WebAddress address = WebPages(m_store, m_help, language()).address(which);
    if (address.url.isEmpty())
        m_events.PostEvent(m_intl.IntlStr(kNotAnAddress) + address.refused, EventKind::Warning);
    else
        open(address.url);
}

void ShellCommands::open(const QUrl& url) {
    // A missing help page would only give the browser's own error page.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        m_events.PostEvent(m_intl.IntlStr(kUnableToOpen) + url.toLocalFile() +
                               QStringLiteral(" (No such file or directory)"),
                           EventKind::Warning);
        return;
    }
    const ShellResult result = m_shell.openUrl(url);
    if (!result.ok)
        m_events.PostEvent(m_intl.IntlStr(kUnableToOpen) + url.toDisplayString() +
                               QStringLiteral(" (") + result.message + QLatin1Char(')'),
                           EventKind::Warning);
}
