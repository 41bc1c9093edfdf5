// The monitor never loses a connection it saw: hostile stored values, a store
// shared by two starts, odd log files, a store that cannot be written or is
// damaged, a store readable by others, and message boxes left open at
// start-up. Each run is the real program on a scenario.

#include "MonitorRunFixture.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Two calls on a Wednesday evening (cheap hours): 5:00 counts 6 minutes,
// 3:58 counts 4. Dial states come between them, as they do on a real line.
const QString kTwoEveningCalls = QStringLiteral("clock 2026-03-11 21:59:58\n"
                                                "entry \"Hometown Dial\"\n"
                                                "at 22:00:00 \"Hometown Dial\" state 8192\n"
                                                "at 22:05:00 \"Hometown Dial\" gone\n"
                                                "at 22:06:00 \"Hometown Dial\" state 5\n"
                                                "at 22:06:02 \"Hometown Dial\" state 8192\n"
                                                "at 22:10:00 \"Hometown Dial\" gone\n"
                                                "at +2 exit\n");

const QString kOneEveningCall = QStringLiteral("clock 2026-03-11 21:59:58\n"
                                               "entry \"Hometown Dial\"\n"
                                               "at 22:00:00 \"Hometown Dial\" state 8192\n"
                                               "at 22:05:00 \"Hometown Dial\" gone\n"
                                               "at +2 exit\n");

const QString kQuietStart = QStringLiteral("clock 2026-03-12 09:00:00\nat +2 exit\n");

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

QStringList logLines(const QByteArray& log) {
    return QString::fromUtf8(log).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

bool waitForLine(QProcess& process, const QString& text, QString& seen) {
    QElapsedTimer timer;
    timer.start();
    while (!seen.contains(text) && timer.elapsed() < 30000) {
        process.waitForReadyRead(1000);
        seen += QString::fromUtf8(process.readAllStandardOutput());
    }
    return seen.contains(text);
}

bool runAsOtherUserPossible() {
    return ::geteuid() == 0 && QFileInfo::exists(QStringLiteral("/usr/sbin/runuser"));
}

// Hands the test's folder to the user nobody, who runs the monitor there.
QStringList asNobody(const QString& folder) {
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    QProcess::execute(QStringLiteral("chown"),
                      {QStringLiteral("-R"), QStringLiteral("nobody"), folder});
    return {QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--")};
}

class RobustnessTest : public MonitorRunFixture {};

TEST_F(RobustnessTest, RateThatGivesNoFinitePriceCountsAsZeroAndEveryCallIsCounted) {
    SeedUser({{"Cheap Rate", "1e308"}});
    const MonitorRun r = Run(kTwoEveningCalls);
    ASSERT_EQ(r.exitCode, 0) << r.errors;
    // Reported once, naming the value, though every second prices the call.
    EXPECT_EQ(r.eventsStartingWith(QStringLiteral("Unusable amount")),
              QStringList{QStringLiteral("4\tUnusable amount, counted as 0: Cheap Rate = 1e308")})
        << r.all();
    EXPECT_TRUE(r.eventsStartingWith(QStringLiteral("Unable to hook")).isEmpty()) << r.all();
    // The cheap minutes count as 0 and the fee applies.
    const QStringList log = logLines(Log());
    ASSERT_EQ(log.size(), 2) << Log().toStdString();
    EXPECT_TRUE(log[0].contains(QStringLiteral(";6;0.35;"))) << log[0];
    EXPECT_TRUE(log[1].contains(QStringLiteral(";4;0.35;"))) << log[1];
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("110"));
    EXPECT_EQ(User(QStringLiteral("Connection Cost")), QStringLiteral("10.7"));
    EXPECT_EQ(Machine(QStringLiteral("PC Total cost")), QStringLiteral("0.70"));
    EXPECT_FALSE(Log().contains("inf"));
}

TEST_F(RobustnessTest, UnreadableTotalsStartAgainFromTheCallThatIsStillLoggedOnce) {
    // A language that is no number reads as the default instead of failing
    // every text, the session end's included.
    SeedUser({{"Connected", "1.5"}, {"Connection Cost", "abc"}, {"Language", "abc"}});
    const MonitorRun r = Run(kOneEveningCall);
    ASSERT_EQ(r.exitCode, 0) << r.errors;
    EXPECT_EQ(logLines(Log()).size(), 1);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("6"));
    EXPECT_EQ(User(QStringLiteral("Connection Cost")), QStringLiteral("0.85"));
    EXPECT_EQ(Machine(QStringLiteral("pending time")), QStringLiteral("<missing>"));
    const QStringList restarts = r.eventsStartingWith(QStringLiteral("Unreadable total"));
    EXPECT_EQ(restarts, (QStringList{QStringLiteral("4\tUnreadable total, started again from this "
                                                    "connection: Connected = 1.5"),
                                     QStringLiteral("4\tUnreadable total, started again from this "
                                                    "connection: Connection Cost = abc")}))
        << r.all();
    // Nothing is left for a recovery to find.
    EXPECT_TRUE(Run(kQuietStart).of(QStringLiteral("box")).isEmpty());
}

TEST_F(RobustnessTest, TotalsAtTheLimitsNeitherOverflowNorGrowHundredsOfDigits) {
    SeedUser({{"Connected", "9223372036854775807"}, {"Connection Cost", "1e308"}});
    SetMachine(QStringLiteral("PC Total time"), QStringLiteral("9223372036854775807"));
    const MonitorRun r = Run(kOneEveningCall);
    ASSERT_EQ(r.exitCode, 0) << r.errors;
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("6"));
    EXPECT_EQ(User(QStringLiteral("Connection Cost")), QStringLiteral("1e+308"));
    EXPECT_EQ(Machine(QStringLiteral("PC Total time")), QStringLiteral("6"));

    // A pending time that no total can take is reported, and gone after one
    // recovery.
    SetMachine(QStringLiteral("pending time"), QStringLiteral("9223372036854775807"));
    SetMachine(QStringLiteral("pending cost"), QStringLiteral("1.00"));
    const MonitorRun recovered = Run(kQuietStart);
    EXPECT_EQ(recovered.exitCode, 0);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("6"));
    EXPECT_EQ(recovered.eventsStartingWith(QStringLiteral("Unreadable value")).size(), 1)
        << recovered.all();
    EXPECT_TRUE(Run(kQuietStart).of(QStringLiteral("box")).isEmpty());
}

// However a start reaches the store (another name, other runtime and
// temporary folders), it finds the one running monitor; and nothing of the
// lock lives in a folder that others can write to.
TEST_F(RobustnessTest, EveryWayToOneStoreFindsTheOneRunningMonitor) {
    SeedUser();
    const QStringList folders = {"run1", "tmp1", "run2", "tmp2", "elsewhere", "home"};
    for (const QString& f : folders)
        QDir().mkpath(dir() + QLatin1Char('/') + f);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir() + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir() + QStringLiteral("/run1"));
    env.insert(QStringLiteral("TMPDIR"), dir() + QStringLiteral("/tmp1"));
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(TestEnvironment::binDir() + QStringLiteral("/tollwatch"),
                {QStringLiteral("--headless"), QStringLiteral("--registry"), storeFile()});
    QString seen;
    ASSERT_TRUE(waitForLine(first, QStringLiteral("Tollwatch started"), seen));

    const QString linked = dir() + QStringLiteral("/elsewhere/linked.sqlite");
    ASSERT_EQ(
        ::link(QFile::encodeName(storeFile()).constData(), QFile::encodeName(linked).constData()),
        0);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir() + QStringLiteral("/run2"));
    env.insert(QStringLiteral("TMPDIR"), dir() + QStringLiteral("/tmp2"));
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(TestEnvironment::binDir() + QStringLiteral("/tollwatch"),
                 Arguments(kOneEveningCall).replaceInStrings(storeFile(), linked));
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    const QString secondOut = QString::fromUtf8(second.readAllStandardOutput());
    EXPECT_FALSE(secondOut.contains(QStringLiteral("\tevent\t"))) << secondOut;
    EXPECT_TRUE(waitForLine(first, QStringLiteral("another start asked for the window"), seen));

    for (const char* f : {"run1", "tmp1", "run2", "tmp2"})
        EXPECT_TRUE(QDir(dir() + QLatin1Char('/') + f).isEmpty()) << f;
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(dir() + QStringLiteral("/home")));
    const QString address = SingleInstance::channelAddress(storeFile());
    EXPECT_EQ(address, SingleInstance::channelAddress(linked));
    qputenv("HOME", home);
    EXPECT_TRUE(address.startsWith(dir() + QStringLiteral("/home/.cache/tollwatch/"))) << address;
    EXPECT_TRUE(QFileInfo::exists(address)) << address;
    EXPECT_EQ(modeOf(QFileInfo(address).path()), 0700);

    ::kill(pid_t(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("100"));
    EXPECT_TRUE(Log().isEmpty());
}

TEST_F(RobustnessTest, LogPathThatIsNoRegularFileIsRefusedAndTheRunGoesOn) {
    const QString fifo = dir() + QStringLiteral("/access.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    SeedUser();
    SetMachine(QStringLiteral("Log filename"), fifo);
    // Nobody reads the FIFO: opening it for writing the usual way waits for
    // ever, and the run is killed when the bound runs out.
    const MonitorRun r = Run(kOneEveningCall, {}, QProcessEnvironment::systemEnvironment(), 20000);
    ASSERT_EQ(r.exitCode, 0) << r.all();
    EXPECT_TRUE(r.events().contains(
        QStringLiteral("4\tError opening log file %1(%2)").arg(fifo).arg(ENXIO)))
        << r.all();
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("106"));

    SetMachine(QStringLiteral("Log filename"), dir());
    const MonitorRun folder = Run(kOneEveningCall);
    EXPECT_TRUE(folder.events().contains(
        QStringLiteral("4\tError opening log file %1(%2)").arg(dir()).arg(EISDIR)))
        << folder.all();
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("112"));
}

// A store the user may not write (mode 444): the failure is said once as
// what it is, the call is kept and, if the store never takes it, the end
// says what was not stored and the status is not 0.
TEST_F(RobustnessTest, StoreThatCannotBeWrittenKeepsTheCallAndSaysSo) {
    if (!runAsOtherUserPossible())
        GTEST_SKIP() << "needs root and runuser to run as a user the file mode binds";
    SeedUser();
    QDir().mkpath(dir() + QStringLiteral("/home"));
    const QStringList prefix = asNobody(dir());
    ::chmod(QFile::encodeName(storeFile()).constData(), 0444);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir() + QStringLiteral("/home"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("/usr/sbin/runuser"),
            prefix + QStringList{TestEnvironment::binDir() + QStringLiteral("/tollwatch")} +
                Arguments(kOneEveningCall));
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 3) << out.toStdString() << p.readAllStandardError().toStdString();
    EXPECT_EQ(out.count(QStringLiteral("The settings file cannot be written")), 1) << out;
    EXPECT_TRUE(
        out.contains(storeFile() + QStringLiteral(" (attempt to write a readonly database)")))
        << out;
    EXPECT_TRUE(
        out.contains(QStringLiteral("Connection time and cost that could not be stored: 0:06, ")))
        << out;
    EXPECT_FALSE(out.contains(QStringLiteral("Unable to hook"))) << out;
    EXPECT_EQ(logLines(Log()).size(), 1);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("100"));
}

// The store becomes writable again while the run goes on: the kept call goes
// in, and the run ends in order.
TEST_F(RobustnessTest, CallKeptWhileTheStoreWasReadOnlyIsStoredWhenItCanBe) {
    if (!runAsOtherUserPossible())
        GTEST_SKIP() << "needs root and runuser to run as a user the file mode binds";
    SeedUser();
    QDir().mkpath(dir() + QStringLiteral("/home"));
    const QStringList prefix = asNobody(dir());
    ::chmod(QFile::encodeName(storeFile()).constData(), 0444);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir() + QStringLiteral("/home"));
    QProcess p;
    p.setProcessEnvironment(env);
    // On the real clock: connected 1 s after the start, ended 3 s later.
    p.start(QStringLiteral("/usr/sbin/runuser"),
            prefix + QStringList{TestEnvironment::binDir() + QStringLiteral("/tollwatch")} +
                Arguments(QStringLiteral("entry \"Home\"\n"
                                         "at +1 \"Home\" state 8192\n"
                                         "at +3 \"Home\" gone\n"
                                         "at +3 exit\n")));
    QString seen;
    ASSERT_TRUE(waitForLine(p, QStringLiteral("Disconnected, this connection"), seen));
    ::chmod(QFile::encodeName(storeFile()).constData(), 0600);
    ASSERT_TRUE(p.waitForFinished(30000));
    seen += QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << seen;
    EXPECT_TRUE(
        seen.contains(QStringLiteral("The settings file can be written again: ") + storeFile()))
        << seen;
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("101"));
}

TEST_F(RobustnessTest, StoreRemovedWhileRunningIsNotWrittenIntoTheVoid) {
    const QString folder = dir() + QStringLiteral("/store");
    QDir().mkpath(folder);
    const QString store = folder + QStringLiteral("/registry.sqlite");
    {
        SqliteRegistryStore s(store);
        s.writeValue(RegRoot::CurrentUser, kSettingsKey, QStringLiteral("Skip intro"),
                     RegValue::fromString(QStringLiteral("true")));
        s.writeValue(RegRoot::CurrentUser, kSettingsKey, QStringLiteral("Log Filename"),
                     RegValue::fromString(logFile()));
    }
    QProcess p;
    p.start(TestEnvironment::binDir() + QStringLiteral("/tollwatch"),
            Arguments(QStringLiteral("entry \"Home\"\n"
                                     "at +1 \"Home\" state 8192\n"
                                     "at +3 \"Home\" gone\n"
                                     "at +3 exit\n"))
                .replaceInStrings(storeFile(), store));
    QString seen;
    ASSERT_TRUE(waitForLine(p, QStringLiteral("Connected to Home"), seen));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(p.waitForFinished(30000));
    seen += QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 3) << seen;
    EXPECT_TRUE(seen.contains(store + QStringLiteral(" (the file was removed)"))) << seen;
    EXPECT_TRUE(seen.contains(QStringLiteral("Connection time and cost that could not be stored")))
        << seen;
    EXPECT_EQ(logLines(Log()).size(), 1);
}

TEST_F(RobustnessTest, DamagedOrEmptiedStoreIsRefusedUntouchedUntilStartedAfresh) {
    SeedUser();
    ASSERT_EQ(Run(kQuietStart).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(storeFile() + QStringLiteral(".bak")));

    QFile::resize(storeFile(), 0);
    const MonitorRun refused = Run(kOneEveningCall);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.lines.isEmpty());
    EXPECT_TRUE(refused.errors.contains(storeFile() + QStringLiteral(" cannot be used")))
        << refused.errors;
    EXPECT_TRUE(refused.errors.contains(QStringLiteral("--fresh-store"))) << refused.errors;
    EXPECT_TRUE(refused.errors.contains(storeFile() + QStringLiteral(".bak export")))
        << refused.errors;
    EXPECT_EQ(QFileInfo(storeFile()).size(), 0);

    // tollreg refuses it alike, and takes the way back the message offers.
    QProcess tollreg;
    tollreg.start(TestEnvironment::binDir() + QStringLiteral("/tollreg"),
                  {QStringLiteral("--registry"), storeFile(), QStringLiteral("export")});
    ASSERT_TRUE(tollreg.waitForFinished(30000));
    EXPECT_EQ(tollreg.exitCode(), 1);
    EXPECT_TRUE(tollreg.readAllStandardError().contains("--fresh-store"));
    EXPECT_EQ(QFileInfo(storeFile()).size(), 0);

    const MonitorRun fresh = Run(kOneEveningCall, {QStringLiteral("--fresh-store")});
    EXPECT_EQ(fresh.exitCode, 0) << fresh.errors;
    EXPECT_EQ(QFileInfo(storeFile() + QStringLiteral(".damaged")).size(), 0);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("6"));
}

TEST_F(RobustnessTest, StoreAndItsFolderArePrivateToTheUser) {
    const QString config = dir() + QStringLiteral("/config");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.remove(QStringLiteral("TOLLWATCH_REGISTRY"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(TestEnvironment::binDir() + QStringLiteral("/tollwatch"),
            QStringList{QStringLiteral("--headless")} + Arguments(kQuietStart).mid(3));
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString created = config + QStringLiteral("/varnholt/registry.sqlite");
    EXPECT_EQ(modeOf(config + QStringLiteral("/varnholt")), 0700);
    EXPECT_EQ(modeOf(created), 0600);

    // An earlier store readable by everyone is tightened at the next start.
    SeedUser();
    ::chmod(QFile::encodeName(storeFile()).constData(), 0644);
    EXPECT_EQ(Run(kQuietStart).exitCode, 0);
    EXPECT_EQ(modeOf(storeFile()), 0600);
}

// A crash during a call; at the next start the recovery box stays open five
// minutes, and a call comes and goes meanwhile: both are counted, once.
TEST_F(RobustnessTest, CallDuringAnOpenStartupBoxIsTimedAndTheRecoveryCountedOnce) {
    SeedUser({{"Show cost", "false"}});
    const MonitorRun crashed = Run(QStringLiteral("clock 2026-03-11 21:59:58\n"
                                                  "entry \"Hometown Dial\"\n"
                                                  "at 22:00:00 \"Hometown Dial\" state 8192\n"
                                                  "at 22:10:30 crash\n"));
    ASSERT_EQ(crashed.exitCode, 99) << crashed.errors << crashed.all();
    const MonitorRun restarted = Run(QStringLiteral("clock 2026-03-11 23:00:00\n"
                                                    "entry \"Hometown Dial\"\n"
                                                    "answer +5m ok\n"
                                                    "at 23:01:00 \"Hometown Dial\" state 8192\n"
                                                    "at 23:04:00 \"Hometown Dial\" gone\n"
                                                    "at 23:06:00 exit\n"));
    ASSERT_EQ(restarted.exitCode, 0) << restarted.errors;
    EXPECT_TRUE(restarted.lines.contains(
        QStringLiteral("2026-03-11 23:01:00\tevent\t2\tConnected to Hometown Dial")))
        << restarted.all();
    // 100 + 10 recovered + 4 for the call of 3:00 inside the box.
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("114"));
    const QStringList log = logLines(Log());
    ASSERT_EQ(log.size(), 2) << Log().toStdString();
    // The call's line, then the marker of the abnormal end, which start-up
    // writes after its boxes.
    EXPECT_TRUE(log[0].contains(QStringLiteral(";4;"))) << log[0];
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("Abnormal exit on last run:"))) << log[1];
}

// With the monthly question left open, a call of the new month ends: the
// reset takes off last month's totals and keeps the call.
TEST_F(RobustnessTest, CallEndingWhileTheMonthlyQuestionIsOpenSurvivesTheReset) {
    SeedUser({{"Show cost", "false"}, {"Reset each month", "true"}, {"Last Reset", "20262"}});
    const MonitorRun r = Run(QStringLiteral("clock 2026-03-11 22:00:00\n"
                                            "entry \"Hometown Dial\"\n"
                                            "answer +3m yes\n"
                                            "at 22:00:30 \"Hometown Dial\" state 8192\n"
                                            "at 22:02:30 \"Hometown Dial\" gone\n"
                                            "at 22:04:00 exit\n"));
    ASSERT_EQ(r.exitCode, 0) << r.errors;
    EXPECT_EQ(r.of(QStringLiteral("box")).size(), 1);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("3"));
    EXPECT_EQ(User(QStringLiteral("Last Reset")), QStringLiteral("20263"));
}

} // namespace
