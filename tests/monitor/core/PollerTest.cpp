// The poller's transitions on the simulated connection source: which state
// changes become events, when timing starts and ends, and what a failing
// tick does.

#include "ConnectionPoller.h"
#include "CoreFixture.h"
#include "EventReporter.h"
#include "ProblemReports.h"
#include "RasConstants.h"
#include "SessionState.h"
#include "VirtualRunner.h"

#include <stdexcept>

namespace {

// Notes the accounting calls; the session end leaves the session offline
// with the chime off, as the real one does.
class RecordingAccounting : public SessionAccounting {
public:
    RecordingAccounting(SessionState& session, ChimeSwitch& chime)
        : m_session(session), m_chime(chime) {}
    QStringList calls;
    bool failTick = false;
    void Timer1Timer() override {
        calls << QStringLiteral("Timer1Timer");
        if (failTick)
            throw std::runtime_error("no such total");
    }
    void EndSession(double start, double end) override {
        calls << QStringLiteral("EndSession:%1-%2")
                     .arg(qRound(start * 86400))
                     .arg(qRound(end * 86400));
        m_chime.setChimeEnabled(false);
        m_session.Online = false;
    }
    void CheckTotalLimits() override { calls << QStringLiteral("CheckTotalLimits"); }
    void ChimeTimer() override { calls << QStringLiteral("ChimeTimer"); }

private:
    SessionState& m_session;
    ChimeSwitch& m_chime;
};

class RecordingHost : public PollerHost {
public:
    int shows = 0;
    int exits = 0;
    void TrayIcon1Click() override { ++shows; }
    void EndAfterDialledConnection() override { ++exits; }
};

int secondsOf(double timeOfDay) {
    return qRound(timeOfDay * 86400);
}

class PollerTest : public CoreFixture {
protected:
    PollerTest() : chime(clock), events(view, clock, formats), accounting(session, chime) {}

    ConnectionPoller& poller(bool exitAfterConnection = false) {
        if (!m_poller)
            m_poller = std::make_unique<ConnectionPoller>(
                PollerContext{session, ras, events, problems, intl, clock, accounting, chime,
                              features, features, host},
                exitAfterConnection);
        return *m_poller;
    }
    // One second passes, then Timer1 ticks.
    void tick() {
        clock.advance(1);
        poller().MinTimer();
    }

    SessionState session;
    VirtualChime chime;
    EventReporter events;
    ProblemReports problems{events, intl};
    RecordingAccounting accounting;
    RecordingHost host;

private:
    std::unique_ptr<ConnectionPoller> m_poller;
};

TEST_F(PollerTest, ALanguageChosenWhileConnectedIsNoNewConnection) {
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    const double start = session.StartTime;
    settings.WriteText(kSettingsKey, QStringLiteral("Language"), QStringLiteral("4"));
    tick();
    tick();
    EXPECT_EQ(view.rowTexts(), QStringList{QStringLiteral("Connected to Hometown")});
    EXPECT_EQ(session.StartTime, start) << "the time run up so far stays counted";
    EXPECT_EQ(session.LastStatusText, QStringLiteral("Verbunden"));
    // A real change of state is still one, told in the new language.
    list(QStringLiteral("Hometown"), RasState::ReAuthenticate);
    tick();
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    EXPECT_EQ(view.rowTexts().mid(1).last(), QStringLiteral("Verbunden mit Hometown"));
    EXPECT_GT(session.StartTime, start);
}

TEST_F(PollerTest, ConnectionAlreadyUpAtStartIsTimedFromTheFirstTick) {
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    EXPECT_TRUE(session.Online);
    EXPECT_EQ(view.rowTexts(), QStringList{QStringLiteral("Connected to Hometown")});
    EXPECT_EQ(view.rows.last().kind, EventKind::Connected);
    EXPECT_EQ(secondsOf(session.StartTime), 21 * 3600 + 59 * 60 + 1);
    EXPECT_EQ(session.ConnectionName, QStringLiteral("Hometown"));
    EXPECT_TRUE(chime.chimeEnabled());
    EXPECT_EQ(features.calls, QStringList{QStringLiteral("Button1Click")});
    // The accounting runs from the next tick on, before the source is asked.
    EXPECT_TRUE(accounting.calls.isEmpty());
    tick();
    EXPECT_EQ(accounting.calls, QStringList{QStringLiteral("Timer1Timer")});
    EXPECT_EQ(view.rows.size(), 1);
}

TEST_F(PollerTest, DialStatesAppearOnceEachAndFailuresFromCode630AreErrors) {
    list(QStringLiteral("Hometown"), RasState::OpenPort);
    tick();
    tick();
    list(QStringLiteral("Hometown"), RasState::PortOpened);
    tick();
    list(QStringLiteral("Hometown"), RasState::ConnectDevice, 629);
    tick();
    list(QStringLiteral("Hometown"), RasState::ConnectDevice, RasError::FirstFailure);
    tick();
    ASSERT_EQ(view.rows.size(), 4);
    EXPECT_EQ(view.rows[0].text, QStringLiteral("Opening port to modem"));
    EXPECT_EQ(view.rows[0].kind, EventKind::Progress);
    EXPECT_EQ(view.rows[1].text, QStringLiteral("Port opened"));
    EXPECT_EQ(view.rows[2].kind, EventKind::Progress);
    EXPECT_EQ(view.rows[3].kind, EventKind::Error);
    EXPECT_FALSE(session.Online);
    EXPECT_EQ(host.shows, 0) << "the window opens on progress only after a Dialdart dial";
}

TEST_F(PollerTest, DisconnectedStateIsShownButIsNoConnectionStart) {
    list(QStringLiteral("Hometown"), RasState::Disconnected);
    tick();
    EXPECT_EQ(view.rowTexts(), QStringList{QStringLiteral("Disconnected")});
    EXPECT_FALSE(session.Online);
}

TEST_F(PollerTest, UnknownStateChangesOnlyThePictures) {
    list(QStringLiteral("Hometown"), RasState::Disconnected);
    tick();
    list(QStringLiteral("Hometown"), 77, 700);
    tick();
    list(QStringLiteral("Hometown"), 77);
    tick();
    EXPECT_EQ(view.rows.size(), 2);
    ASSERT_EQ(view.pictures.size(), 3);
    EXPECT_EQ(view.pictures.last(), EventKind::Progress);
    EXPECT_EQ(view.lines[1], EventReporter::statusLineText(view.rows.last().text));
}

TEST_F(PollerTest, NoConnectionLeftEndsTheSessionWithTheSeenTimes) {
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    tick();
    gone(QStringLiteral("Hometown"));
    tick();
    EXPECT_FALSE(session.Online);
    EXPECT_FALSE(chime.chimeEnabled());
    const int start = 21 * 3600 + 59 * 60 + 1;
    EXPECT_EQ(accounting.calls,
              (QStringList{QStringLiteral("Timer1Timer"), QStringLiteral("Timer1Timer"),
                           QStringLiteral("EndSession:%1-%2").arg(start).arg(start + 2),
                           QStringLiteral("CheckTotalLimits")}));
    EXPECT_EQ(view.pictures.last(), EventKind::Information);
    EXPECT_EQ(view.rows.size(), 1) << "the disconnection adds no row of its own";
    EXPECT_TRUE(features.calls.contains(QStringLiteral("SetDialMenus:0")));
    EXPECT_TRUE(features.calls.contains(QStringLiteral("ClearDialHandle")));
    tick();
    EXPECT_EQ(accounting.calls.size(), 4) << "offline with nothing listed: nothing happens";
}

TEST_F(PollerTest, LastStatusTextSurvivesTheDisconnection) {
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    gone(QStringLiteral("Hometown"));
    tick();
    // Seen connected at once again, with no state between: the text did not
    // change, so nothing starts.
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    EXPECT_FALSE(session.Online);
    list(QStringLiteral("Hometown"), RasState::Authenticated);
    tick();
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    EXPECT_TRUE(session.Online);
}

TEST_F(PollerTest, ReconnectOfTheTimedConnectionRestartsTheTiming) {
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    list(QStringLiteral("Hometown"), RasState::Connected, 720);
    tick();
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    EXPECT_TRUE(session.Online);
    EXPECT_EQ(secondsOf(session.StartTime), 21 * 3600 + 59 * 60 + 3);
    EXPECT_FALSE(accounting.calls.join(',').contains(QStringLiteral("EndSession")));
}

TEST_F(PollerTest, TwoConnectionsInDifferentStatesProduceNoRepeatedEvents) {
    list(QStringLiteral("Hometown"), RasState::Connected);
    list(QStringLiteral("Backup"), RasState::Authenticate);
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(view.rowTexts(),
              (QStringList{QStringLiteral("Connected to Hometown"),
                           QStringLiteral("Waiting for authentication to begin")}));
    EXPECT_EQ(secondsOf(session.StartTime), 21 * 3600 + 59 * 60 + 1);
}

TEST_F(PollerTest, SecondConnectionComingUpKeepsTheTimingOfTheFirst) {
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    list(QStringLiteral("Backup"), RasState::Authenticated);
    tick();
    list(QStringLiteral("Backup"), RasState::Connected);
    tick();
    EXPECT_EQ(view.rowTexts().last(), QStringLiteral("Connected to Backup"));
    EXPECT_EQ(secondsOf(session.StartTime), 21 * 3600 + 59 * 60 + 1);
    EXPECT_EQ(session.ConnectionName, QStringLiteral("Hometown"));
    // Timing goes on while one is left and ends when none is.
    gone(QStringLiteral("Hometown"));
    tick();
    EXPECT_TRUE(session.Online);
    gone(QStringLiteral("Backup"));
    tick();
    EXPECT_FALSE(session.Online);
    EXPECT_EQ(accounting.calls.filter(QStringLiteral("EndSession")).size(), 1);
}

TEST_F(PollerTest, FailedEnumerationIsAnErrorEventEveryTick) {
    enumError(711);
    tick();
    tick();
    EXPECT_EQ(view.rowTexts(), (QStringList{QStringLiteral("Remote Access software not found"),
                                            QStringLiteral("Remote Access software not found")}));
    EXPECT_EQ(view.rows.last().kind, EventKind::Error);
}

TEST_F(PollerTest, ExceptionInATickIsReportedAndTheNextTickRunsNormally) {
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    accounting.failTick = true;
    tick();
    EXPECT_EQ(view.rowTexts().last(), QStringLiteral("Unable to hook into the Remote Access API"));
    EXPECT_EQ(view.rows.last().kind, EventKind::Error);
    accounting.failTick = false;
    gone(QStringLiteral("Hometown"));
    tick();
    EXPECT_FALSE(session.Online);
}

TEST_F(PollerTest, AfterADialdartDialStateChangesShowTheWindowAndConnectRunsTheProgram) {
    session.DialStarted = true;
    list(QStringLiteral("Hometown"), RasState::OpenPort);
    tick();
    EXPECT_EQ(host.shows, 1);
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    EXPECT_EQ(host.shows, 1) << "the connection itself does not open the window";
    EXPECT_EQ(features.calls, (QStringList{QStringLiteral("RunAfterConnectProgram"),
                                           QStringLiteral("Button1Click")}));
}

TEST_F(PollerTest, StartedWithDialSwitchEndsAfterTheConnection) {
    poller(true);
    list(QStringLiteral("Hometown"), RasState::Connected);
    tick();
    EXPECT_EQ(host.exits, 0);
    gone(QStringLiteral("Hometown"));
    tick();
    EXPECT_EQ(host.exits, 1);
    EXPECT_TRUE(accounting.calls.contains(QStringLiteral("CheckTotalLimits")));
}

TEST_F(PollerTest, SimulatedConnectionIsClosedOutByTheNextEmptyTick) {
    session.ConnectionName = QStringLiteral("Earlier");
    poller().Button4Click();
    EXPECT_TRUE(session.Online);
    EXPECT_EQ(view.rowTexts(), QStringList{QStringLiteral("Connected to simulation")});
    EXPECT_EQ(clock.now().time(), QTime(21, 59, 4)) << "two waits of two seconds";
    EXPECT_EQ(accounting.calls, QStringList{QStringLiteral("Timer1Timer")});
    tick();
    EXPECT_FALSE(session.Online);
    EXPECT_EQ(accounting.calls.filter(QStringLiteral("EndSession")),
              QStringList{QStringLiteral("EndSession:%1-%2")
                              .arg(21 * 3600 + 59 * 60)
                              .arg(21 * 3600 + 59 * 60 + 5)});
    EXPECT_EQ(session.ConnectionName, QStringLiteral("Earlier"));
}

} // namespace
