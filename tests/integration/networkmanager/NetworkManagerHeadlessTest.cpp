// The headless monitor on the real clock against a fake NetworkManager on a
// private system bus: a modem connection from the moment it comes up to its
// log line and totals, two sessions in a row on counters the daemon never
// resets, a daemon restart in the middle of a session, and a bus on which
// NetworkManager is missing.

#include "HeadlessRun.h"
#include "NmMock.h"
#include "Settings.h"
#include "SqliteRegistryStore.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTime>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/prctl.h>

namespace {

// Generous: only keeps a broken run from hanging the suite.
constexpr int kDeadlineMs = 30000;

// NetworkManager's device and active connection states used here.
constexpr uint kDeviceDisconnected = 30;
constexpr uint kDeviceActivated = 100;
constexpr uint kActiveActivating = 1;
constexpr uint kActiveActivated = 2;

const QString kConnectionId = QStringLiteral("Mobile Broadband");

// A running `tollwatch --headless` whose output is read line by line. It is
// killed and reaped when it goes out of scope, whatever the test did.
class RunningMonitor {
public:
    RunningMonitor(const QStringList& arguments, const QProcessEnvironment& env) {
        m_process.setProcessEnvironment(env);
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.start(HeadlessRun::program(),
                        QStringList{QStringLiteral("--headless")} + arguments);
        m_process.waitForStarted(kDeadlineMs);
    }
    ~RunningMonitor() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(kDeadlineMs);
        }
    }
    RunningMonitor(const RunningMonitor&) = delete;
    RunningMonitor& operator=(const RunningMonitor&) = delete;

    // The fields after the time stamp and type of every line of type so far.
    QStringList of(const QString& type) const {
        QStringList out;
        for (const QString& line : m_lines) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.size() > 2 && fields.at(1) == type)
                out << fields.mid(2).join(QLatin1Char('\t'));
        }
        return out;
    }

    // Reads output until done() holds; false when the program ended or the
    // deadline passed first.
    bool waitUntil(const std::function<bool()>& done) {
        const QDeadlineTimer deadline(kDeadlineMs);
        while (!done()) {
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning) {
                readLines();
                return done();
            }
            m_process.waitForReadyRead(500);
            readLines();
        }
        return true;
    }
    // Waits for count lines of type whose fields start with text.
    bool waitFor(const QString& type, const QString& text, int count = 1) {
        return waitUntil([&] { return of(type).filter(startingWith(text)).size() >= count; });
    }

    // SIGTERM, then the exit status of an orderly end; -1 for anything else.
    int terminate() {
        // A process that is gone has no id; kill(0) would reach this test.
        if (m_process.state() != QProcess::Running)
            return -1;
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(kDeadlineMs))
            return -1;
        readLines();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    // Everything the program said so far, for failure messages.
    std::string report() {
        m_errors += QString::fromUtf8(m_process.readAllStandardError());
        QString text = m_lines.join(QLatin1Char('\n'));
        if (!m_errors.isEmpty())
            text += QStringLiteral("\nstderr: ") + m_errors;
        if (m_process.error() == QProcess::FailedToStart)
            text += QStringLiteral("\nnot started: ") + m_process.errorString();
        return text.toStdString();
    }

private:
    static QRegularExpression startingWith(const QString& text) {
        return QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(text));
    }

    void readLines() {
        m_partial += m_process.readAllStandardOutput();
        qsizetype end = 0;
        while ((end = m_partial.indexOf('\n')) >= 0) {
            m_lines << QString::fromUtf8(m_partial.left(end));
            m_partial.remove(0, end + 1);
        }
    }

    QProcess m_process;
    QByteArray m_partial;
    QStringList m_lines;
    QString m_errors;
};

class NetworkManagerHeadlessTest : public ::testing::Test {
protected:
    QString storeFile() const { return m_dir.filePath(QStringLiteral("registry.sqlite")); }
    QString logFile() const { return m_dir.filePath(QStringLiteral("access.txt")); }

    void seedStore() {
        SqliteRegistryStore store(storeFile());
        store.writeValue(RegRoot::LocalMachine, kMachineKey, QStringLiteral("Log filename"),
                         RegValue::fromString(logFile()));
        Settings settings(store);
        settings.WriteText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("10"));
        settings.WriteText(kSettingsKey, QStringLiteral("Show cost"), QStringLiteral("false"));
    }
    QString user(const QString& name) const {
        SqliteRegistryStore store(storeFile());
        return Settings(store).ReadText(kSettingsKey, name, QStringLiteral("<missing>"));
    }
    QList<QByteArray> logLines() const {
        QFile file(logFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> lines = file.readAll().split('\n');
        lines.removeAll(QByteArray());
        for (QByteArray& line : lines)
            line = line.trimmed();
        return lines;
    }

    static QProcessEnvironment onBus(const NmMock& bus) {
        QProcessEnvironment env = HeadlessRun::environment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus.address());
        return env;
    }
    QStringList arguments(const QString& source) const {
        return {QStringLiteral("--trace"), QStringLiteral("--registry"), storeFile(),
                QStringLiteral("--ras"), source};
    }

private:
    QTemporaryDir m_dir;
};

// "This connection: HH:MM:SS" at seconds or more.
bool runningFor(const QStringList& views, int seconds) {
    const QString prefix = QStringLiteral("Label1\tThis connection: ");
    for (const QString& view : views) {
        if (!view.startsWith(prefix))
            continue;
        const QTime shown = QTime::fromString(view.mid(prefix.size()), QStringLiteral("hh:mm:ss"));
        if (shown.isValid() && shown.msecsSinceStartOfDay() >= seconds * 1000)
            return true;
    }
    return false;
}

TEST_F(NetworkManagerHeadlessTest, ModemConnectionIsTimedLoggedAndTotalled) {
    NmMock nm;
    ASSERT_TRUE(nm.ready()) << nm.error().toStdString();
    const QString modem =
        nm.addModem(QStringLiteral("ttyUSB0"), QStringLiteral("ppp0"), kDeviceDisconnected);
    const QString profile = nm.addConnection(
        NmMock::gsmSettings(kConnectionId, QStringLiteral("6f1c1e55-0d39-4c3e-9a55-2b8f4e1d7a10")));
    seedStore();

    RunningMonitor monitor(arguments(QStringLiteral("networkmanager")), onBus(nm));
    ASSERT_TRUE(monitor.waitFor(QStringLiteral("info"),
                                QStringLiteral("Connection source: networkmanager")))
        << monitor.report();

    const QString active =
        nm.addActive({modem}, profile, QStringLiteral("mobile1"), kActiveActivated);
    ASSERT_TRUE(monitor.waitFor(QStringLiteral("event"),
                                QStringLiteral("2\tConnected to ") + kConnectionId))
        << monitor.report();
    // Bytes moved during the connection, for the rates in its log line (below
    // 1000 kB/s, so without a thousands separator).
    nm.setStatistics(modem, 256 * 1024, 512 * 1024);
    ASSERT_TRUE(monitor.waitUntil([&] {
        return runningFor(monitor.of(QStringLiteral("view")), 2);
    })) << monitor.report();

    nm.removeActive(modem, active);
    ASSERT_TRUE(monitor.waitFor(QStringLiteral("event"),
                                QStringLiteral("1\tDisconnected, this connection")))
        << monitor.report();
    // A few seconds count one minute, on top of the ten stored before.
    EXPECT_TRUE(
        monitor.of(QStringLiteral("event"))
            .contains(QStringLiteral("1\tDisconnected, this connection: 0:01 (total: 0:11)")))
        << monitor.report();

    EXPECT_EQ(monitor.terminate(), 0) << monitor.report();
    const QStringList events = monitor.of(QStringLiteral("event"));
    EXPECT_EQ(events.last(), QStringLiteral("1\tShut down"));
    EXPECT_EQ(events.filter(QStringLiteral("\tConnected to ")).size(), 1);
    EXPECT_EQ(events.filter(QStringLiteral("\tDisconnected, ")).size(), 1);
    EXPECT_TRUE(events.filter(QRegularExpression(QStringLiteral("^4\t"))).isEmpty())
        << monitor.report();
    EXPECT_EQ(user(QStringLiteral("Connected")), QStringLiteral("11"));
    EXPECT_EQ(user(QStringLiteral("Bad termination")), QStringLiteral("false"));

    // The log line follows the event; the whole run is on file once it ended.
    const QList<QByteArray> log = logLines();
    ASSERT_EQ(log.size(), 1);
    const QList<QByteArray> fields = log[0].split(';');
    ASSERT_EQ(fields.size(), 8) << log[0].toStdString();
    EXPECT_EQ(fields[3], "1");
    EXPECT_GT(fields[5].toDouble(), 0.0) << log[0].toStdString();
    EXPECT_GT(fields[6].toDouble(), 0.0) << log[0].toStdString();
    EXPECT_EQ(QString::fromUtf8(fields.last()), kConnectionId);
}

// The send rate (kB/s) of a log line, thousands separators and all.
double sendRate(const QByteArray& line) {
    return QString::fromUtf8(line.split(';').value(5)).remove(QLatin1Char(',')).toDouble();
}

TEST_F(NetworkManagerHeadlessTest, TwoSessionsInARowEachLogTheirOwnBytes) {
    NmMock nm;
    ASSERT_TRUE(nm.ready()) << nm.error().toStdString();
    const QString modem =
        nm.addModem(QStringLiteral("wdm0"), QStringLiteral("wwan0"), kDeviceDisconnected);
    const QString profile = nm.addConnection(
        NmMock::gsmSettings(kConnectionId, QStringLiteral("0d3c1a52-8a1f-4c2e-b7a4-5f1e2d3c4b5a")));
    seedStore();
    RunningMonitor monitor(arguments(QStringLiteral("networkmanager")), onBus(nm));
    const quint64 megabyte = 1024 * 1024;
    // wwan0 lives on between sessions, and NetworkManager's counters with it.
    nm.setStatistics(modem, 400 * megabyte, 400 * megabyte);
    const auto session = [&](const QString& name, quint64 sentAtEnd, int number) {
        // Dialled: the activation is seen on its way up before it is up.
        const QString active = nm.addActive({}, profile, name, kActiveActivating);
        EXPECT_TRUE(monitor.waitFor(QStringLiteral("event"),
                                    QStringLiteral("3\tOpening port to modem"), number))
            << monitor.report();
        nm.setActiveDevices(active, {modem});
        nm.setDeviceState(modem, kDeviceActivated, 0);
        nm.setActiveState(active, kActiveActivated, 0);
        EXPECT_TRUE(monitor.waitFor(QStringLiteral("event"),
                                    QStringLiteral("2\tConnected to ") + kConnectionId, number))
            << monitor.report();
        nm.setStatistics(modem, sentAtEnd, 400 * megabyte);
        const qsizetype shown = monitor.of(QStringLiteral("view")).size();
        EXPECT_TRUE(monitor.waitUntil([&] {
            return runningFor(monitor.of(QStringLiteral("view")).mid(shown), 2);
        })) << monitor.report();
        nm.removeActive(modem, active);
        EXPECT_TRUE(monitor.waitFor(QStringLiteral("event"),
                                    QStringLiteral("1\tDisconnected, this connection"), number))
            << monitor.report();
    };
    session(QStringLiteral("1"), 700 * megabyte, 1);
    session(QStringLiteral("2"), 700 * megabyte + 20 * 1024, 2);
    EXPECT_EQ(monitor.terminate(), 0) << monitor.report();

    const QList<QByteArray> log = logLines();
    ASSERT_EQ(log.size(), 2);
    EXPECT_GT(sendRate(log[0]), 10000.0) << log[0].toStdString();
    EXPECT_GT(sendRate(log[1]), 0.0) << log[1].toStdString();
    EXPECT_LT(sendRate(log[1]), 20.0)
        << "20 kB in the second session, not the first's again: " << log[1].toStdString();
}

TEST_F(NetworkManagerHeadlessTest, DaemonRestartNeitherEndsNorMisattributesTheSession) {
    NmMock nm;
    ASSERT_TRUE(nm.ready()) << nm.error().toStdString();
    NmSettingsMap lanSettings;
    lanSettings[QStringLiteral("connection")] = {
        {QStringLiteral("id"), QStringLiteral("Office LAN")},
        {QStringLiteral("uuid"), QStringLiteral("5b2e9c1d-3f4a-4e6b-8c7d-9e0f1a2b3c4d")},
        {QStringLiteral("type"), QStringLiteral("802-3-ethernet")}};
    const NmSettingsMap gsmSettings =
        NmMock::gsmSettings(kConnectionId, QStringLiteral("6f1c1e55-0d39-4c3e-9a55-2b8f4e1d7a10"));
    const auto daemonState = [&](bool gsmFirst) {
        const QString modem =
            nm.addModem(QStringLiteral("ttyUSB0"), QStringLiteral("ppp0"), kDeviceDisconnected);
        const QString wired =
            nm.addModem(QStringLiteral("eth0"), QStringLiteral("eth0"), kDeviceDisconnected);
        const QString gsm = nm.addConnection(gsmSettings);
        const QString lan = nm.addConnection(lanSettings);
        // Paths are numbered in the order the daemon takes the links over.
        const QString first = gsmFirst ? gsm : lan;
        nm.addActive({gsmFirst ? modem : wired}, first, QStringLiteral("1"), kActiveActivated);
        nm.addActive({gsmFirst ? wired : modem}, gsmFirst ? lan : gsm, QStringLiteral("2"),
                     kActiveActivated);
        return modem;
    };
    seedStore();
    RunningMonitor monitor(arguments(QStringLiteral("networkmanager")), onBus(nm));
    ASSERT_TRUE(monitor.waitFor(QStringLiteral("info"),
                                QStringLiteral("Connection source: networkmanager")))
        << monitor.report();
    daemonState(false);
    ASSERT_TRUE(monitor.waitFor(QStringLiteral("event"),
                                QStringLiteral("2\tConnected to ") + kConnectionId))
        << monitor.report();

    ASSERT_TRUE(nm.restartDaemon()) << nm.error().toStdString();
    const QString modem = daemonState(true);
    nm.finishStartup();
    ASSERT_TRUE(monitor.waitUntil([&] {
        return runningFor(monitor.of(QStringLiteral("view")), 4);
    })) << monitor.report();
    nm.removeActive(modem, QStringLiteral("/org/freedesktop/NetworkManager/ActiveConnection/1"));
    ASSERT_TRUE(monitor.waitFor(QStringLiteral("event"),
                                QStringLiteral("1\tDisconnected, this connection")))
        << monitor.report();
    EXPECT_EQ(monitor.terminate(), 0) << monitor.report();

    const QStringList events = monitor.of(QStringLiteral("event"));
    EXPECT_EQ(events.filter(QStringLiteral("\tConnected to ")).size(), 1) << monitor.report();
    EXPECT_EQ(events.filter(QStringLiteral("\tDisconnected, ")).size(), 1) << monitor.report();
    const QList<QByteArray> log = logLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(kConnectionId.toUtf8())) << log[0].toStdString();
}

TEST_F(NetworkManagerHeadlessTest, MissingNetworkManagerIsReportedAtEveryTick) {
    const NmMock bus(false);
    ASSERT_TRUE(bus.ready()) << bus.error().toStdString();
    seedStore();

    RunningMonitor monitor(arguments(QStringLiteral("networkmanager")), onBus(bus));
    ASSERT_TRUE(monitor.waitFor(QStringLiteral("event"),
                                QStringLiteral("4\tRemote Access software not found"), 2))
        << monitor.report();
    EXPECT_TRUE(monitor.of(QStringLiteral("info"))
                    .contains(QStringLiteral("Connection source: networkmanager")));
    EXPECT_EQ(monitor.terminate(), 0) << monitor.report();
    EXPECT_EQ(monitor.of(QStringLiteral("event")).last(), QStringLiteral("1\tShut down"));
}

TEST_F(NetworkManagerHeadlessTest, AutoTakesPppWhenNetworkManagerIsMissing) {
    const NmMock bus(false);
    ASSERT_TRUE(bus.ready()) << bus.error().toStdString();
    seedStore();

    RunningMonitor monitor(arguments(QStringLiteral("auto")), onBus(bus));
    // Running: the start is reported once the monitor can be ended in order.
    ASSERT_TRUE(monitor.waitFor(QStringLiteral("event"), QStringLiteral("1\tTollwatch started")))
        << monitor.report();
    EXPECT_EQ(monitor.of(QStringLiteral("info")).first(),
              QStringLiteral("Connection source: ppp (chosen automatically)"));
    EXPECT_EQ(monitor.terminate(), 0) << monitor.report();
}

} // namespace
