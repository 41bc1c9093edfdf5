#include "MailCheck.h"

#include "Clock.h"
#include "EventKind.h"
#include "IntlStrings.h"
#include "MailView.h"
#include "MonitorParts.h"
#include "MonitorView.h"
#include "PopSecurity.h"
#include "Settings.h"
#include "ShiftedText.h"
#include "TPop3Client.h"
#include "WindowFrame.h"

namespace {

const char* const kNewMailCommands[] = {"toolMailClient", "Readmail", "mnuReadMail", "N6"};

// Clears the running mark however the check ends.
class RunningMark {
public:
    explicit RunningMark(bool& mark) : m_mark(mark) { m_mark = true; }
    ~RunningMark() { m_mark = false; }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

private:
    bool& m_mark;
};

} // namespace

MailCheck::MailCheck(MonitorParts& parts, TPop3Client& pop3, MailView& view)
    : m_parts(parts), m_pop3(pop3), m_view(view) {
    m_pop3.OnDisplay = [this](const QString& msg) {
        POP3Display(msg);
    };
}

QString MailCheck::MailLogLine(const QString& msg) {
    return msg.contains(QLatin1String("PASS")) ? QStringLiteral("> PASS ******") : msg;
}

void MailCheck::POP3Display(const QString& msg) {
    m_view.appendMailLog(MailLogLine(msg));
}

void MailCheck::SetTimeout(int seconds) {
    m_pop3.setTimeOut(seconds);
}

void MailCheck::Button1Click() {
    if (m_running)
        return;
    const RunningMark mark(m_running);
    if (!m_parts.settings.ReadFlag(kSettingsKey, QStringLiteral("Monitor e-mail"), false))
        return;
    m_parts.clock.sleep(kPauseMs);
    try {
        check();
    } catch (...) {
        // A raised failure ends the check as it is; the next one must still
        // start from a closed connection.
        m_pop3.Abort();
        throw;
    }
}

void MailCheck::check() {
    if (configure() && m_pop3.Stat())
        showNewMail(m_pop3.MsgCount());
    else
        m_view.appendMailLog(
            QStringLiteral("! Mail server timed out after %1 seconds").arg(m_pop3.TimeOut()));
    if (!m_pop3.Quit())
        m_parts.events.PostEvent(m_parts.intl.IntlStr(8420) + m_pop3.Host(), EventKind::Warning);
}

// The server and account from the store; false when the stored protection
// is not one we know (then nothing is sent).
bool MailCheck::configure() {
    const Settings& s = m_parts.settings;
    m_pop3.setHost(s.ReadText(kSettingsKey, QStringLiteral("POP Host"), QString()));
    m_pop3.setUserName(s.ReadText(kSettingsKey, QStringLiteral("POP Username"), QString()));
    m_pop3.setPassWord(
        ShiftedText::unshift(s.ReadText(kSettingsKey, QStringLiteral("POP PW"), QString())));
    const QString stored = s.ReadText(kSettingsKey, QStringLiteral("POP Security"), QString());
    const auto security = PopSecurityText::parse(stored);
    if (!security) {
        POP3Display(QStringLiteral("-ERR Unknown POP Security '%1'").arg(stored));
        return false;
    }
    m_pop3.setSecurity(*security);
    const QString port = s.ReadText(kSettingsKey, QStringLiteral("POP Port"), QString()).trimmed();
    m_pop3.setPort(port.isEmpty() ? QString::number(PopSecurityText::defaultPort(*security))
                                  : port);
    return true;
}

void MailCheck::showNewMail(qint32 count) {
    MonitorView& view = m_parts.view;
    QString caption;
    if (count > 0) {
        view.setPictures(EventKind::NewMail);
        caption = m_parts.intl.IntlStr(8110) + QString::number(count) + m_parts.intl.IntlStr(8120);
        view.setCommandCaption(QStringLiteral("Readmail"), caption);
        view.setCommandCaption(QStringLiteral("mnuReadMail"), caption);
        m_parts.frame.setCommandHint(QStringLiteral("toolMailClient"), caption);
    } else {
        view.setPictures(EventKind::Connected);
    }
    for (const char* name : kNewMailCommands)
        view.setCommandVisible(QString::fromLatin1(name), count > 0);
    if (count != m_shown)
        m_view.newMailChanged(count, caption);
    m_shown = count;
}
