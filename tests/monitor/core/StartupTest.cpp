// The start-up sequence and the orderly end on a whole monitor core: the
// recovery of an unfinished connection, the abnormal-end marker, the monthly
// reset, the window's placement and the end of a run.

#include "ApplicationControl.h"
#include "CoreFixture.h"
#include "LogFile.h"
#include "MonitorCore.h"
#include "MonthlyReset.h"
#include "VirtualRunner.h"

#include <QTemporaryDir>

namespace {

class StartupTest : public CoreFixture {
protected:
    StartupTest() : chime(clock) {
        settings.WriteText(kSettingsKey, QStringLiteral("Log Filename"),
                           m_dir.path() + QStringLiteral("/access.txt"));
        settings.WriteFlag(kSettingsKey, QStringLiteral("Skip intro"), true);
    }

    MonitorCore& core() {
        if (!m_core)
            m_core = std::make_unique<MonitorCore>(MonitorEnvironment{
                store, formats, clock, view, view, ras, chime, MonitorFeatures::allFrom(features),
                control, commandLine, nullptr, QString()});
        return *m_core;
    }
    // A later start on the same store.
    void restart() { m_core.reset(); }

    QString logContent() const {
        return QString::fromUtf8(LogFile::readAll(m_dir.path() + QStringLiteral("/access.txt")));
    }

    VirtualChime chime;
    TerminateFlag control;
    CommandLine commandLine;

    QTemporaryDir m_dir;

private:
    std::unique_ptr<MonitorCore> m_core;
};

TEST_F(StartupTest, FirstStartEverRunsTheWizardAndRecordsTheMonth) {
    store.deleteValue(RegRoot::CurrentUser, kSettingsKey, QStringLiteral("Skip intro"));
    core().FormCreate();
    EXPECT_TRUE(features.calls.contains(QStringLiteral("ShowWizard")));
    EXPECT_EQ(userValue(QStringLiteral("Skip intro")), QStringLiteral("true"));
    EXPECT_EQ(userValue(QStringLiteral("Last Reset")), QStringLiteral("20243"));
    EXPECT_TRUE(view.boxes.isEmpty());
    EXPECT_EQ(view.rowTexts(),
              QStringList{QStringLiteral("Tollwatch started, monitoring calls...")});
    EXPECT_EQ(view.trayHint, QStringLiteral("Monitoring calls - total: 0:00"));
    EXPECT_EQ(view.lines[2], QStringLiteral("Total connection time: 0:00"));
    EXPECT_EQ(view.title, QStringLiteral("Tollwatch"));
    EXPECT_EQ(userValue(QStringLiteral("Bad termination")), QStringLiteral("true"));
}

TEST_F(StartupTest, InstallSwitchForcesTheWizard) {
    commandLine.install = true;
    core().FormCreate();
    EXPECT_TRUE(features.calls.contains(QStringLiteral("ShowWizard")));
}

// The poll timer runs while the recovery message is open: a connection that
// comes up and ends meanwhile is timed, and meets a recovery already done.
TEST_F(StartupTest, RecoveryIsStoredBeforeItsMessageAndATickInsideItCountsToo) {
    settings.WriteText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("10"));
    settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("2.5"));
    setMachineValue(QStringLiteral("pending time"), QStringLiteral("7"));
    // Written while the user's locale had a decimal comma.
    setMachineValue(QStringLiteral("pending cost"), QStringLiteral("1,25"));
    QString connectedWhileBoxShown;
    view.onBox = [&](const RecordingView::Box&) {
        connectedWhileBoxShown = userValue(QStringLiteral("Connected"));
        list(QStringLiteral("Home"), 8192);
        for (int second = 0; second < 150; ++second) {
            if (second == 140)
                gone(QStringLiteral("Home"));
            clock.advance(1);
            core().MinTimer();
        }
    };
    core().FormCreate();
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Tollwatch"));
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Warning);
    EXPECT_TRUE(view.boxes[0].text.startsWith(QStringLiteral("Tollwatch has found")));
    EXPECT_EQ(connectedWhileBoxShown, QStringLiteral("17"));
    // 10 + 7 recovered + 3 for the call of 2:20 inside the box.
    EXPECT_EQ(userValue(QStringLiteral("Connected")), QStringLiteral("20"));
    EXPECT_TRUE(logContent().contains(QStringLiteral(";9:59:01 PM;3;")))
        << logContent().toStdString();
    EXPECT_EQ(machineValue(QStringLiteral("pending time")), QStringLiteral("<missing>"));
    EXPECT_EQ(machineValue(QStringLiteral("PC Total time")), QStringLiteral("3"));
    restart();
    view.boxes.clear();
    view.onBox = {};
    core().FormCreate();
    EXPECT_TRUE(view.boxes.isEmpty());
    EXPECT_EQ(userValue(QStringLiteral("Connected")), QStringLiteral("20"));
}

TEST_F(StartupTest, UnreadableValuesAreReportedAndTheRecoveryGoesThroughOnce) {
    settings.WriteText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("1.5"));
    settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("2.5"));
    setMachineValue(QStringLiteral("pending time"), QStringLiteral("7"));
    setMachineValue(QStringLiteral("pending cost"), QStringLiteral("lots"));
    core().FormCreate();
    EXPECT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(userValue(QStringLiteral("Connected")), QStringLiteral("7"));
    EXPECT_EQ(userValue(QStringLiteral("Connection Cost")), QStringLiteral("2.5"));
    EXPECT_EQ(machineValue(QStringLiteral("pending time")), QString());
    const QStringList rows = view.rowTexts();
    EXPECT_TRUE(
        rows.contains(QStringLiteral("Unreadable value of the unfinished connection, counted as 0: "
                                     "pending cost = lots")))
        << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(rows.contains(
        QStringLiteral("Unreadable total, started again from this connection: Connected = 1.5")));

    // A pending time too large to add restarts nothing else and is gone too.
    restart();
    view.boxes.clear();
    setMachineValue(QStringLiteral("pending time"), QStringLiteral("9223372036854775807"));
    core().FormCreate();
    EXPECT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(userValue(QStringLiteral("Connected")), QStringLiteral("7"));
    EXPECT_EQ(machineValue(QStringLiteral("pending time")), QString());
    restart();
    view.boxes.clear();
    core().FormCreate();
    EXPECT_TRUE(view.boxes.isEmpty());
}

// A crash between a connection's totals and its log line: the next start
// writes the line, unless it reached the log after all.
TEST_F(StartupTest, LogLinesOfTotalledConnectionsAreWrittenOnceAtTheNextStart) {
    settings.WriteFlag(kSettingsKey, QStringLiteral("Bad termination"), true);
    LogFile::appendLine(m_dir.path() + QStringLiteral("/access.txt"),
                        QStringLiteral("anna;1;first"));
    setMachineValue(QStringLiteral("pending log lines"),
                    QStringLiteral("anna;1;first\r\nanna;2;second"));
    core().FormCreate();
    EXPECT_TRUE(logContent().startsWith(QStringLiteral("anna;1;first\r\nanna;2;second\r\n"
                                                       "Abnormal exit on last run:")))
        << logContent().toStdString();
    EXPECT_EQ(machineValue(QStringLiteral("pending log lines")), QStringLiteral("<missing>"));
    EXPECT_TRUE(view.boxes.isEmpty());
}

TEST_F(StartupTest, StartAfterACrashReportsTheAbnormalEndAfterTheRecovery) {
    settings.WriteFlag(kSettingsKey, QStringLiteral("Bad termination"), true);
    setMachineValue(QStringLiteral("pending time"), QStringLiteral("3"));
    setMachineValue(QStringLiteral("pending cost"), QStringLiteral("0.50"));
    core().FormCreate();
    const int box = view.journal.indexOf(QStringLiteral("box:Tollwatch"));
    const int event = view.journal.indexOf(QStringLiteral("row:Abnormal exit on last run"));
    const int beep = view.journal.indexOf(QStringLiteral("beep"));
    ASSERT_GE(box, 0);
    EXPECT_LT(box, event);
    EXPECT_LT(event, beep);
    EXPECT_EQ(view.rows.last().kind, EventKind::Error);
    EXPECT_EQ(view.beeps, QList<BeepKind>{BeepKind::Warning});
    EXPECT_EQ(logContent(), QStringLiteral("Abnormal exit on last run:3/15/24 9:59:00 PM\r\n"));
    EXPECT_EQ(userValue(QStringLiteral("Bad termination")), QStringLiteral("true"));
}

TEST_F(StartupTest, OrderlyExitDuringAConnectionGivesOnlyTheRecoveryMessage) {
    settings.WriteFlag(kSettingsKey, QStringLiteral("Bad termination"), false);
    setMachineValue(QStringLiteral("pending time"), QStringLiteral("3"));
    core().FormCreate();
    EXPECT_EQ(view.boxes.size(), 1);
    EXPECT_FALSE(view.rowTexts().contains(QStringLiteral("Abnormal exit on last run")));
    EXPECT_TRUE(view.beeps.isEmpty());
}

TEST_F(StartupTest, StoredPositionBeyondTheScreenPutsTheWindowAt5) {
    settings.WriteText(kSettingsKey, QStringLiteral("Left"), QStringLiteral("2000"));
    settings.WriteText(kSettingsKey, QStringLiteral("Top"), QStringLiteral("700"));
    core().FormCreate();
    EXPECT_EQ(view.geometry.topLeft(), QPoint(5, 700));
}

TEST_F(StartupTest, WithoutDetailsTheWindowIsCompactUnlessAHeightIsStored) {
    core().FormCreate();
    EXPECT_FALSE(view.history);
    EXPECT_EQ(view.geometry.height(), 126);
    EXPECT_FALSE(view.checked.contains(QStringLiteral("Details1")));
    restart();
    settings.WriteText(kSettingsKey, QStringLiteral("Height"), QStringLiteral("300"));
    core().FormCreate();
    EXPECT_EQ(view.geometry.height(), 300);
}

TEST_F(StartupTest, HiddenWindowStartsWithOnlyTheTrayIconAndKeepsItsPosition) {
    settings.WriteFlag(kSettingsKey, QStringLiteral("Visible"), false);
    settings.WriteText(kSettingsKey, QStringLiteral("Left"), QStringLiteral("123"));
    core().FormCreate();
    EXPECT_EQ(view.hides, 1);
    EXPECT_EQ(view.windowShows, 0);
    EXPECT_FALSE(core().window().WindowShown());
    core().FormDestroy();
    EXPECT_EQ(userValue(QStringLiteral("Visible")), QStringLiteral("false"));
    EXPECT_EQ(userValue(QStringLiteral("Left")), QStringLiteral("123"));
}

TEST_F(StartupTest, CostModeShowsTheThirdLine) {
    settings.WriteFlag(kSettingsKey, QStringLiteral("Show cost"), true);
    settings.WriteText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("75"));
    core().FormCreate();
    EXPECT_TRUE(view.lineVisible[3]);
    EXPECT_EQ(view.lines[3], QStringLiteral("Total connection time: 1:15"));
    EXPECT_TRUE(view.lines[2].startsWith(QStringLiteral("Total connection cost: ")));
}

TEST_F(StartupTest, DialSwitchDialsAfterThePhoneBookIsRead) {
    commandLine.dialAndExit = true;
    core().FormCreate();
    const int populate = features.calls.indexOf(QStringLiteral("PopulateConnections"));
    EXPECT_GE(populate, 0);
    EXPECT_GT(features.calls.indexOf(QStringLiteral("DialdartMenu")), populate);
    EXPECT_TRUE(core().session().DialStarted);
}

TEST_F(StartupTest, OrderlyEndSavesThePlacementAndClearsTheMarker) {
    core().FormCreate();
    view.geometry = QRect(40, 50, 330, 260);
    view.toolbar = false;
    core().FormDestroy();
    EXPECT_EQ(view.rowTexts().last(), QStringLiteral("Shut down"));
    EXPECT_EQ(userValue(QStringLiteral("Bad termination")), QStringLiteral("false"));
    EXPECT_EQ(userValue(QStringLiteral("Left")), QStringLiteral("40"));
    EXPECT_EQ(userValue(QStringLiteral("Top")), QStringLiteral("50"));
    EXPECT_EQ(userValue(QStringLiteral("Width")), QStringLiteral("330"));
    EXPECT_EQ(userValue(QStringLiteral("Height")), QStringLiteral("260"));
    EXPECT_EQ(userValue(QStringLiteral("MainToolbarVisible")), QStringLiteral("false"));
    EXPECT_EQ(userValue(QStringLiteral("Visible")), QStringLiteral("true"));
}

class MonthlyResetTest : public StartupTest {
protected:
    MonthlyResetTest() {
        clock.set(QDateTime(QDate(2024, 1, 5), QTime(9, 0)));
        settings.WriteFlag(kSettingsKey, QStringLiteral("Reset each month"), true);
        settings.WriteText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("100"));
        settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("9.5"));
    }
};

TEST_F(MonthlyResetTest, FirstMonthOfANewYearAsksAndYesResetsTheTotals) {
    settings.WriteText(kSettingsKey, QStringLiteral("Last Reset"), QStringLiteral("202312"));
    view.answers = {BoxAnswer::Yes};
    core().FormCreate();
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(
        view.boxes[0].text,
        QStringLiteral("As it is the first day of a new month, it is time to reset your "
                       "connection time and cost. \n\rLast month's Total connection time: "
                       "1:40\r\n\r\nWould you like to reset the connection time and cost now?"));
    EXPECT_TRUE(
        view.rowTexts().contains(QStringLiteral("Log reset (Total connection time: 1:40)")));
    EXPECT_EQ(userValue(QStringLiteral("Connected")), QStringLiteral("0"));
    EXPECT_EQ(userValue(QStringLiteral("Connection Cost")), QStringLiteral("0"));
    EXPECT_EQ(userValue(QStringLiteral("Last Reset")), QStringLiteral("20241"));
    EXPECT_EQ(view.lines[2], QStringLiteral("Total connection time: 0:00"));
}

TEST_F(MonthlyResetTest, NoKeepsTheTotalsButRecordsTheMonthSoItIsAskedOnce) {
    settings.WriteText(kSettingsKey, QStringLiteral("Last Reset"), QStringLiteral("202312"));
    view.answers = {BoxAnswer::No};
    core().FormCreate();
    EXPECT_EQ(userValue(QStringLiteral("Connected")), QStringLiteral("100"));
    EXPECT_EQ(userValue(QStringLiteral("Last Reset")), QStringLiteral("20241"));
    restart();
    core().FormCreate();
    EXPECT_EQ(view.boxes.size(), 1);
}

// The question is open while a call of the new month ends: the reset takes
// off what the question showed, and the call stays.
TEST_F(MonthlyResetTest, CallEndingWhileTheQuestionIsOpenStaysAfterTheReset) {
    settings.WriteText(kSettingsKey, QStringLiteral("Last Reset"), QStringLiteral("202312"));
    settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("10.1"));
    settings.WriteText(kSettingsKey, QStringLiteral("Show cost"), QStringLiteral("true"));
    settings.WriteText(kSettingsKey, QStringLiteral("Connection Fee"), QStringLiteral("0.35"));
    settings.WriteText(kSettingsKey, QStringLiteral("Standard Rate"), QStringLiteral("0.25"));
    view.answers = {BoxAnswer::Yes};
    view.onBox = [this](const RecordingView::Box&) {
        list(QStringLiteral("Home"), 8192);
        for (int second = 0; second < 70; ++second) {
            if (second == 60)
                gone(QStringLiteral("Home"));
            clock.advance(1);
            core().MinTimer();
        }
    };
    core().FormCreate();
    // 1:00 counts 2 minutes; one billed minute at 0.25 and the fee.
    EXPECT_EQ(userValue(QStringLiteral("Connected")), QStringLiteral("2"));
    EXPECT_EQ(userValue(QStringLiteral("Connection Cost")), QStringLiteral("0.6"));
    EXPECT_TRUE(
        view.rowTexts().contains(QStringLiteral("Log reset (Total connection cost: $10.10)")));
}

TEST(MonthlyResetDue, StoredMonthWithoutAYearComesBeforeEveryMonth) {
    EXPECT_TRUE(MonthlyReset::isDue(QStringLiteral("1"), 2024, 1));
    EXPECT_TRUE(MonthlyReset::isDue(QStringLiteral("202312"), 2024, 1));
    EXPECT_FALSE(MonthlyReset::isDue(QStringLiteral("20241"), 2024, 1));
    EXPECT_FALSE(MonthlyReset::isDue(QStringLiteral("202410"), 2024, 2)) << "10 is October, not 1";
    EXPECT_TRUE(MonthlyReset::isDue(QStringLiteral("20249"), 2024, 10));
    EXPECT_TRUE(MonthlyReset::isDue(QStringLiteral("abcde"), 2024, 10));
}

} // namespace
