// tollwatch --headless on scenario files: what the user is told, what ends
// up in the store and the log, and how runs on one store meet.

#include "Converters.h"
#include "HeadlessRun.h"
#include "LogFile.h"
#include "Settings.h"
#include "SqliteRegistryStore.h"
#include "TestFormats.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class HeadlessScenarioTest : public ::testing::Test {
protected:
    HeadlessScenarioTest() {
        SqliteRegistryStore store(storeFile());
        Settings(store).WriteText(kSettingsKey, QStringLiteral("Log Filename"), logFile());
        // A user past the first start: no wizard takes the scenario's answers.
        Settings(store).WriteFlag(kSettingsKey, QStringLiteral("Skip intro"), true);
    }
    QString storeFile() const { return m_dir.path() + QStringLiteral("/registry.sqlite"); }
    QString logFile() const { return m_dir.path() + QStringLiteral("/access.txt"); }
    QString user(const QString& name) const {
        SqliteRegistryStore store(storeFile());
        return Settings(store).ReadText(kSettingsKey, name, QStringLiteral("<missing>"));
    }
    QString machine(const QString& name) const {
        SqliteRegistryStore store(storeFile());
        const auto v = store.readValue(RegRoot::LocalMachine, kMachineKey, name);
        return v ? v->text : QStringLiteral("<missing>");
    }
    void setUser(const QString& name, const QString& text) {
        SqliteRegistryStore store(storeFile());
        Settings(store).WriteText(kSettingsKey, name, text);
    }
    HeadlessResult run(const QString& scenario, const QStringList& extra = {},
                       const QString& locale = QStringLiteral("en_US.UTF-8")) {
        return HeadlessRun::run(
            QStringList{QStringLiteral("--registry"), storeFile(), QStringLiteral("--ras"),
                        QStringLiteral("sim:") + HeadlessRun::scenario(scenario)} +
                extra,
            HeadlessRun::environment(locale));
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(HeadlessScenarioTest, ConnectionSeenIsTimedTotalledAndLogged) {
    const HeadlessResult r = run(QStringLiteral("connection.scn"));
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_TRUE(r.lines.first().endsWith(QStringLiteral("\tinfo\tConnection source: sim (") +
                                         HeadlessRun::scenario(QStringLiteral("connection.scn")) +
                                         QLatin1Char(')')));
    EXPECT_TRUE(
        r.lines.contains(QStringLiteral("2024-03-15 21:00:05\tevent\t2\tConnected to Home")));
    EXPECT_TRUE(r.lines.contains(QStringLiteral(
        "2024-03-15 21:03:10\tevent\t1\tDisconnected, this connection: 0:04 (total: 0:04)")));
    EXPECT_EQ(r.lines.last(), QStringLiteral("2024-03-15 21:03:11\tevent\t1\tShut down"));
    EXPECT_EQ(user(QStringLiteral("Connected")), QStringLiteral("4"));
    EXPECT_EQ(user(QStringLiteral("Bad termination")), QStringLiteral("false"));
    const QList<QByteArray> log = LogFile::splitLines(LogFile::readAll(logFile()));
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(";3/15/24;9:00:05 PM;4;0.00;0.00;0.00;Home") ||
                log[0].contains(";9:00:05 PM;4;"))
        << log[0].toStdString();
}

TEST_F(HeadlessScenarioTest, DialSequenceShowsEachStateOnceThenTheConnection) {
    const HeadlessResult r = run(QStringLiteral("dial.scn"));
    ASSERT_EQ(r.exitCode, 0);
    const QStringList events = r.of(QStringLiteral("event"));
    EXPECT_EQ(events.mid(1, 8),
              (QStringList{"3\tOpening port to modem", "3\tPort opened", "3\tConnecting modem",
                           "3\tModem connected", "3\tWaiting for reply",
                           "3\tWaiting for authentication to begin", "3\tAuthentication complete",
                           "2\tConnected to Home"}));
    EXPECT_TRUE(
        r.lines.contains(QStringLiteral("2024-03-15 08:00:08\tevent\t2\tConnected to Home")));
}

TEST_F(HeadlessScenarioTest, TwoConnectionsInDifferentStatesMakeOneSession) {
    const HeadlessResult r = run(QStringLiteral("two-connections.scn"));
    ASSERT_EQ(r.exitCode, 0);
    const QStringList events = r.of(QStringLiteral("event"));
    EXPECT_EQ(events.filter(QStringLiteral("Connected to Home")).size(), 1);
    EXPECT_EQ(events.filter(QStringLiteral("Waiting for authentication")).size(), 1);
    EXPECT_EQ(events.filter(QStringLiteral("Connected to Backup")).size(), 1);
    const QStringList ends = r.lines.filter(QStringLiteral("Disconnected, this connection"));
    ASSERT_EQ(ends.size(), 1);
    EXPECT_TRUE(ends[0].startsWith(QStringLiteral("2024-03-15 12:00:40")));
    // Timed from Home's start at 12:00:01 to 12:00:40: 39 seconds count 1 minute.
    EXPECT_EQ(user(QStringLiteral("Connected")), QStringLiteral("1"));
}

TEST_F(HeadlessScenarioTest, FailingEnumerationIsReportedEverySecond) {
    const HeadlessResult r = run(QStringLiteral("enum-error.scn"));
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(
        r.lines.filter(QStringLiteral("\tevent\t4\tRemote Access software not found")),
        (QStringList{
            QStringLiteral("2024-03-15 12:00:01\tevent\t4\tRemote Access software not found"),
            QStringLiteral("2024-03-15 12:00:02\tevent\t4\tRemote Access software not found"),
            QStringLiteral("2024-03-15 12:00:03\tevent\t4\tRemote Access software not found")}));
}

TEST_F(HeadlessScenarioTest, CrashUnderOneLocaleIsRecoveredOnceUnderAnother) {
    setUser(QStringLiteral("Connection Cost"), QStringLiteral("10"));
    const HeadlessResult crashed =
        run(QStringLiteral("crash.scn"), {}, QStringLiteral("sv_SE.UTF-8"));
    ASSERT_EQ(crashed.exitCode, 99);
    EXPECT_FALSE(crashed.lines.join('\n').contains(QStringLiteral("Shut down")));
    const QString pendingCost = machine(QStringLiteral("pending cost"));
    EXPECT_EQ(machine(QStringLiteral("pending time")), QStringLiteral("2"));
    ASSERT_TRUE(pendingCost.contains(QLatin1Char(','))) << pendingCost.toStdString();
    EXPECT_EQ(user(QStringLiteral("Bad termination")), QStringLiteral("true"));

    const HeadlessResult restarted = run(QStringLiteral("restart.scn"));
    ASSERT_EQ(restarted.exitCode, 0);
    const QStringList boxes = restarted.of(QStringLiteral("box"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Tollwatch\tTollwatch has found")));
    const int box = restarted.lines.indexOf(QRegularExpression(QStringLiteral(".*\tbox\t.*")));
    const int abnormal = restarted.lines.indexOf(
        QStringLiteral("2024-03-15 21:10:00\tevent\t4\tAbnormal exit on last run"));
    EXPECT_GT(abnormal, box);
    EXPECT_EQ(user(QStringLiteral("Connected")), QStringLiteral("2"));
    const double expected = 10 + ParseDecimal(pendingCost, TestFormats::enUS());
    EXPECT_NEAR(ParseDecimal(user(QStringLiteral("Connection Cost")), TestFormats::enUS()),
                expected, 1e-9);
    EXPECT_EQ(machine(QStringLiteral("pending time")), QString());
    EXPECT_TRUE(QString::fromUtf8(LogFile::readAll(logFile()))
                    .contains(QStringLiteral("Abnormal exit on last run:3/15/24 9:10:00 PM\r\n")));

    const HeadlessResult again = run(QStringLiteral("restart.scn"));
    EXPECT_TRUE(again.of(QStringLiteral("box")).isEmpty());
    EXPECT_TRUE(again.lines.filter(QStringLiteral("Abnormal exit")).isEmpty());
    EXPECT_EQ(user(QStringLiteral("Connected")), QStringLiteral("2"));
}

TEST_F(HeadlessScenarioTest, MonthlyResetIsOfferedInTheFirstMonthOfANewYear) {
    setUser(QStringLiteral("Skip intro"), QStringLiteral("true"));
    setUser(QStringLiteral("Reset each month"), QStringLiteral("true"));
    setUser(QStringLiteral("Last Reset"), QStringLiteral("202312"));
    setUser(QStringLiteral("Connected"), QStringLiteral("100"));
    const HeadlessResult r = run(QStringLiteral("new-year.scn"));
    ASSERT_EQ(r.exitCode, 0);
    const QStringList boxes = r.of(QStringLiteral("box"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].endsWith(QStringLiteral("\tYes")));
    EXPECT_TRUE(
        boxes[0].contains(QStringLiteral("\\n\\rLast month's Total connection time: 1:40")));
    EXPECT_TRUE(r.lines.contains(
        QStringLiteral("2024-01-03 09:00:00\tevent\t1\tLog reset (Total connection time: 1:40)")));
    EXPECT_EQ(user(QStringLiteral("Connected")), QStringLiteral("0"));
    EXPECT_EQ(user(QStringLiteral("Last Reset")), QStringLiteral("20241"));
    EXPECT_TRUE(run(QStringLiteral("new-year.scn")).of(QStringLiteral("box")).isEmpty());
}

TEST_F(HeadlessScenarioTest, DialSwitchEndsTheProgramAfterTheConnection) {
    const HeadlessResult r = run(QStringLiteral("dial-and-exit.scn"), {QStringLiteral("/c")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(
        r.lines.last().startsWith(QStringLiteral("2024-03-15 21:01:04\tevent\t1\tShut down")));
    EXPECT_EQ(user(QStringLiteral("Connected")), QStringLiteral("2"));
}

TEST_F(HeadlessScenarioTest, UnusableConnectionSourceOrScenarioStopsBeforeAnything) {
    const HeadlessResult modem =
        HeadlessRun::run({QStringLiteral("--registry"), storeFile(), QStringLiteral("--ras"),
                          QStringLiteral("modem")});
    EXPECT_EQ(modem.exitCode, 2);
    EXPECT_TRUE(modem.errors.contains(QStringLiteral("unknown connection source")));
    EXPECT_TRUE(modem.lines.isEmpty());
    const HeadlessResult missing = run(QStringLiteral("no-such.scn"));
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.lines.isEmpty());
}

// Reads lines from a running monitor until one contains text.
bool waitForLine(QProcess& process, const QString& text, QString& seen) {
    QElapsedTimer timer;
    timer.start();
    while (!seen.contains(text) && timer.elapsed() < 30000) {
        process.waitForReadyRead(1000);
        seen += QString::fromUtf8(process.readAllStandardOutput());
    }
    return seen.contains(text);
}

TEST_F(HeadlessScenarioTest, SecondStartOnTheSameStoreShowsTheFirstAndEnds) {
    QProcess first;
    first.setProcessEnvironment(HeadlessRun::environment());
    first.start(HeadlessRun::program(),
                {QStringLiteral("--headless"), QStringLiteral("--registry"), storeFile()});
    QString seen;
    ASSERT_TRUE(waitForLine(first, QStringLiteral("Tollwatch started"), seen));

    const HeadlessResult second =
        HeadlessRun::run({QStringLiteral("--registry"), storeFile(), QStringLiteral("/U")});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.of(QStringLiteral("box")),
              QStringList{QStringLiteral("Tollwatch\tPlease exit any running copies of Tollwatch "
                                         "and then try again.\tOK")});
    EXPECT_TRUE(second.of(QStringLiteral("event")).isEmpty());
    EXPECT_TRUE(waitForLine(first, QStringLiteral("another start asked for the window"), seen));

    // A run on another store does not meet the first.
    QTemporaryDir other;
    const HeadlessResult elsewhere = HeadlessRun::run(
        {QStringLiteral("--registry"), other.path() + QStringLiteral("/r.sqlite"),
         QStringLiteral("--ras"),
         QStringLiteral("sim:") + HeadlessRun::scenario(QStringLiteral("enum-error.scn"))});
    EXPECT_EQ(elsewhere.exitCode, 0);
    EXPECT_FALSE(elsewhere.of(QStringLiteral("event")).isEmpty());

    ::kill(pid_t(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(30000));
    seen += QString::fromUtf8(first.readAllStandardOutput());
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(seen.contains(QStringLiteral("\tevent\t1\tShut down")));
    EXPECT_EQ(user(QStringLiteral("Bad termination")), QStringLiteral("false"));
}

} // namespace
