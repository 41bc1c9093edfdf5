#pragma once
// MinTimer: once a second, the connections the connection source lists and
// their states. A state text changing to "Connected" starts the timing; no
// connection left while timing ends the session.

#include "MonitorFeatures.h"
#include "RasApi.h"

#include <QHash>
#include <QString>

class ChimeSwitch;
class Clock;
class EventSink;
class IntlStrings;
class ProblemReports;
class SessionAccounting;
struct SessionState;

// What the poller asks of the window and the application.
class PollerHost {
public:
    virtual ~PollerHost() = default;
    // Shows the status window (the tray icon's double click).
    virtual void TrayIcon1Click() = 0;
    // Ends the program in order after the connection of a /c start.
    virtual void EndAfterDialledConnection() = 0;
};

// The poller's collaborators; every reference outlives the poller.
struct PollerContext {
    SessionState& session;
    RasApi& ras;
    EventSink& events;
    ProblemReports& problems;
    const IntlStrings& intl;
    Clock& clock;
    SessionAccounting& accounting;
    ChimeSwitch& chime;
    DialFeature& dial;
    MailFeature& mail;
    PollerHost& host;
};

// A connection listed while it is being set up, as the last tick saw it.
struct LinkInProgress {
    QString entryName;
    QString stepText; // the text of its state
};

class ConnectionPoller {
public:
    // More connections than this make the enumeration fail.
    static constexpr int kMaxConnections = 30;

    // exitAfterConnection: the program was started with /c or /C.
    ConnectionPoller(PollerContext context, bool exitAfterConnection);

    // One tick of Timer1. An exception inside the tick is reported as an
    // error event and the next tick runs normally: a settings file that
    // refuses writes and a stored value that is no number as what they are,
    // only the rest as a failure of the connection source.
    void MinTimer();
    // The hidden Simulate button: a connection that the next tick without
    // any listed connection closes out like a real one.
    void Button4Click();
    // The first listed connection that the last tick found on its way up
    // (a state before connected, no failure); empty entryName when none.
    const LinkInProgress& linkInProgress() const { return m_inProgress; }

private:
    void tick();
    void examine(const QList<RasConnection>& connections);
    void connectTransition(const RasConnection& connection, const QString& text,
                           const QList<RasConnection>& listed);
    void noteInProgress(const RasConnection& connection, const RasConnStatus& status,
                        const QString& text);
    void stateChange(const QString& text, int error);
    void disconnectTransition();
    // The connection's status is the one behind its last text; only the
    // language of the text may have changed. Brings the texts up to date.
    bool sameStatusRetold(RasHandle handle, const RasConnStatus& status, const QString& text,
                          const QString& previous);
    bool timedConnectionListedBesides(RasHandle handle, const QList<RasConnection>& listed) const;
    double timeOfDayNow() const;

    PollerContext m_ctx;
    bool m_exitAfterConnection;
    // The last text acted on per listed connection, so that two connections
    // in different states do not take turns in producing events.
    QHash<RasHandle, QString> m_lastTextByConnection;
    // The state and error behind that text: the same status shown in another
    // language (chosen while connected) is no change of state.
    QHash<RasHandle, RasConnStatus> m_lastStatusByConnection;
    // The connection being timed; 0 for a simulated one.
    RasHandle m_timedHandle = 0;
    LinkInProgress m_inProgress;
};
