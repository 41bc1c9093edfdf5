#include "ConnectionPoller.h"

#include "Clock.h"
#include "Converters.h"
#include "DialStateText.h"
#include "EventKind.h"
#include "IntlStrings.h"
#include "LogFile.h"
#include "ProblemReports.h"
#include "RasConstants.h"
#include "RegistryStore.h"
#include "SessionAccounting.h"
#include "SessionState.h"

#include <QSet>

namespace {
const QString kHookFailure = QStringLiteral("Unable to hook into the Remote Access API");
const QString kTickProblem = QStringLiteral("tick");
constexpr int kSimulationWaitMs = 2000;
} // namespace

ConnectionPoller::ConnectionPoller(PollerContext context, bool exitAfterConnection)
    : m_ctx(context), m_exitAfterConnection(exitAfterConnection) {}

void ConnectionPoller::MinTimer() {
    // Whatever failed, the next tick starts afresh; the user sees one line,
    // and a value that stays wrong is not reported at every tick.
    try {
        tick();
        m_ctx.problems.clear(kTickProblem);
    } catch (const RegistryError& e) {
        m_ctx.problems.storeFailed(e);
    } catch (const ConversionError& e) {
        m_ctx.problems.report(kTickProblem, QString::fromUtf8(e.what()));
    } catch (const LogFileError& e) {
        m_ctx.events.PostEvent(QString::fromUtf8(e.what()), EventKind::Error);
    } catch (...) {
        m_ctx.events.PostEvent(kHookFailure, EventKind::Error);
    }
}

void ConnectionPoller::tick() {
    m_ctx.accounting.SaveKept();
    m_inProgress = LinkInProgress();
    if (m_ctx.session.Online)
        m_ctx.accounting.Timer1Timer();
    QList<RasConnection> connections;
    const int rc = m_ctx.ras.enumConnections(connections);
    if (rc != 0 || connections.size() > kMaxConnections) {
        m_ctx.events.PostEvent(m_ctx.intl.IntlStr(70), EventKind::Error);
        return;
    }
    if (!connections.isEmpty())
        examine(connections);
    else if (m_ctx.session.Online)
        disconnectTransition();
}

void ConnectionPoller::examine(const QList<RasConnection>& connections) {
    const QString connected = m_ctx.intl.IntlStr(kConnectedTextId);
    // One status record per tick: a failed query leaves the previous entry's
    // values in it, zeros for the first entry.
    RasConnStatus status;
    QSet<RasHandle> listed;
    for (const RasConnection& c : connections) {
        listed.insert(c.handle);
        m_ctx.ras.connectStatus(c.handle, status);
        const QString text = DialStateText(status.state, status.error, m_ctx.intl, m_ctx.ras);
        noteInProgress(c, status, text);
        // A connection not seen before compares with the last text acted on,
        // exactly as a lone connection always does.
        const QString previous =
            m_lastTextByConnection.value(c.handle, m_ctx.session.LastStatusText);
        if (text == previous || sameStatusRetold(c.handle, status, text, previous)) {
            m_lastTextByConnection.insert(c.handle, text);
            m_lastStatusByConnection.insert(c.handle, status);
            continue;
        }
        if (text == connected)
            connectTransition(c, text, connections);
        else
            stateChange(text, status.error);
        m_lastTextByConnection.insert(c.handle, text);
        m_lastStatusByConnection.insert(c.handle, status);
    }
    m_lastTextByConnection.removeIf([&](const auto& it) { return !listed.contains(it.key()); });
    m_lastStatusByConnection.removeIf([&](const auto& it) { return !listed.contains(it.key()); });
}

bool ConnectionPoller::sameStatusRetold(RasHandle handle, const RasConnStatus& status,
                                        const QString& text, const QString& previous) {
    const auto seen = m_lastStatusByConnection.constFind(handle);
    if (seen == m_lastStatusByConnection.constEnd() || seen->state != status.state ||
        seen->error != status.error)
        return false;
    // Otherwise the connection being timed would seem to connect anew and
    // lose the time and cost it has run up.
    if (m_ctx.session.LastStatusText == previous)
        m_ctx.session.LastStatusText = text;
    return true;
}

void ConnectionPoller::noteInProgress(const RasConnection& connection, const RasConnStatus& status,
                                      const QString& text) {
    if (m_inProgress.entryName.isEmpty() && status.state < RasState::Connected &&
        status.error < RasError::FirstFailure)
        m_inProgress = {connection.entryName, text};
}

void ConnectionPoller::connectTransition(const RasConnection& connection, const QString& text,
                                         const QList<RasConnection>& listed) {
    SessionState& s = m_ctx.session;
    const QString event = m_ctx.intl.IntlStr(50) + connection.entryName;
    if (s.Online && timedConnectionListedBesides(connection.handle, listed)) {
        // A second connection coming up is reported; the one being timed
        // keeps its timing.
        m_ctx.events.PostEvent(event, EventKind::Connected);
        s.LastStatusText = text;
        return;
    }
    s.Online = true;
    m_ctx.events.PostEvent(event, EventKind::Connected);
    s.StartTime = timeOfDayNow();
    s.Elapsed = ElapsedTime();
    s.Cost = 0;
    m_ctx.chime.setChimeEnabled(true);
    s.ConnectionName = connection.entryName;
    m_timedHandle = connection.handle;
    if (s.DialStarted)
        m_ctx.dial.RunAfterConnectProgram();
    s.LastStatusText = text;
    m_ctx.mail.Button1Click();
}

void ConnectionPoller::stateChange(const QString& text, int error) {
    const EventKind kind = error < RasError::FirstFailure ? EventKind::Progress : EventKind::Error;
    m_ctx.events.PostEvent(text, kind);
    if (m_ctx.session.DialStarted)
        m_ctx.host.TrayIcon1Click();
    m_ctx.session.LastStatusText = text;
}

void ConnectionPoller::disconnectTransition() {
    SessionState& s = m_ctx.session;
    m_ctx.events.PostEvent(QString(), EventKind::Information);
    s.EndTime = timeOfDayNow();
    m_timedHandle = 0;
    m_ctx.accounting.EndSession(s.StartTime, s.EndTime);
    m_ctx.dial.SetDialMenus(false);
    m_ctx.dial.ClearDialHandle();
    try {
        m_ctx.accounting.CheckTotalLimits();
    } catch (const ConversionError& e) {
        // A limit that is no number must not keep a /c start from ending.
        m_ctx.problems.report(QStringLiteral("limits"), QString::fromUtf8(e.what()));
    }
    if (m_exitAfterConnection)
        m_ctx.host.EndAfterDialledConnection();
}

bool ConnectionPoller::timedConnectionListedBesides(RasHandle handle,
                                                    const QList<RasConnection>& listed) const {
    if (m_timedHandle == 0 || m_timedHandle == handle)
        return false;
    for (const RasConnection& c : listed)
        if (c.handle == m_timedHandle)
            return true;
    return false;
}

void ConnectionPoller::Button4Click() {
    SessionState& s = m_ctx.session;
    s.Online = true;
    m_timedHandle = 0;
    m_ctx.events.PostEvent(m_ctx.intl.IntlStr(50) + QStringLiteral("simulation"),
                           EventKind::Connected);
    s.StartTime = timeOfDayNow();
    m_ctx.clock.sleep(kSimulationWaitMs);
    m_ctx.chime.setChimeEnabled(true);
    m_ctx.accounting.Timer1Timer();
    m_ctx.clock.sleep(kSimulationWaitMs);
}

double ConnectionPoller::timeOfDayNow() const {
    return m_ctx.clock.now().time().msecsSinceStartOfDay() / 86400000.0;
}
