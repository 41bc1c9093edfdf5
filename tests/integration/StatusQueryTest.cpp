// `tollwatch --status` against a headless monitor playing a scenario: the
// line and the JSON while offline, dialling, connected and after the end,
// the exit status when no monitor runs, and --follow through a whole
// connection and past the monitor's end.

#include "HeadlessRun.h"
#include "Settings.h"
#include "SqliteRegistryStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kAwkward = QStringLiteral("Hem; \"Kontor\"");
constexpr int kPatienceMs = 60000;

struct Answer {
    int status = -1;
    QString out;
    QString err;
};

// Reads a running program's output line by line.
class LineReader {
public:
    explicit LineReader(QProcess& process) : m_process(process) {}

    // The next line, or a null string when the program ended or took too long.
    QString next() {
        while (!m_process.canReadLine()) {
            if (m_process.state() == QProcess::NotRunning ||
                !m_process.waitForReadyRead(kPatienceMs))
                return m_process.canReadLine() ? next() : QString();
        }
        return QString::fromUtf8(m_process.readLine()).chopped(1);
    }
    // Reads up to and including a line that ends with text; false if none came.
    bool skipTo(const QString& text) {
        for (QString line = next(); !line.isNull(); line = next())
            if (line.endsWith(text))
                return true;
        return false;
    }

private:
    QProcess& m_process;
};

class StatusQueryTest : public ::testing::Test {
protected:
    StatusQueryTest() {
        setUser("Log Filename", dir.filePath("access.txt"));
        setUser("Skip intro", "true");
        setUser("Show cost", "true");
        setUser("Dialdart Using name", kAwkward);
    }
    ~StatusQueryTest() override {
        for (QProcess* p : {&monitor, &follower}) {
            p->kill();
            p->waitForFinished();
        }
    }
    void setUser(const QString& name, const QString& text) {
        SqliteRegistryStore store(dir.filePath("registry.sqlite"));
        Settings(store).WriteText(kSettingsKey, name, text);
    }
    QStringList store() const { return {"--registry", dir.filePath("registry.sqlite")}; }
    void startMonitor(const QString& scenario) {
        monitor.setProcessEnvironment(HeadlessRun::environment());
        monitor.start(HeadlessRun::program(),
                      QStringList{"--headless", "--ras", "sim:" + HeadlessRun::scenario(scenario)} +
                          store());
    }
    Answer ask(const QStringList& extra) {
        QProcess query;
        query.setProcessEnvironment(HeadlessRun::environment());
        query.start(HeadlessRun::program(), QStringList{"--status"} + extra + store());
        EXPECT_TRUE(query.waitForFinished(kPatienceMs));
        return {query.exitCode(), QString::fromUtf8(query.readAllStandardOutput()),
                QString::fromUtf8(query.readAllStandardError())};
    }
    // The line, then the JSON, at the monitor's next hold.
    std::pair<QString, QJsonObject> askBothAtNextHold(LineReader& lines) {
        EXPECT_TRUE(lines.skipTo("waiting for a status request"));
        const Answer line = ask({});
        EXPECT_EQ(line.status, 0) << line.err.toStdString();
        EXPECT_TRUE(lines.skipTo("waiting for a status request"));
        const Answer json = ask({"--json"});
        EXPECT_EQ(json.status, 0) << json.err.toStdString();
        EXPECT_TRUE(line.out.endsWith('\n') && json.out.endsWith('\n'));
        return {line.out.chopped(1), QJsonDocument::fromJson(json.out.toUtf8()).object()};
    }

    QTemporaryDir dir;
    QProcess monitor;
    QProcess follower;
};

} // namespace

TEST_F(StatusQueryTest, TellsTheStateOfTheRunningMonitorAsALineAndAsJson) {
    startMonitor("status.scn");
    LineReader lines(monitor);

    const auto [offline, offlineJson] = askBothAtNextHold(lines);
    EXPECT_EQ(offline, "offline; total 0 minutes, $0.00");
    EXPECT_EQ(offlineJson["state"].toString(), "offline");
    EXPECT_TRUE(offlineJson["connection"].isNull());
    EXPECT_EQ(offlineJson["text"].toString(), offline);

    const auto [dialling, diallingJson] = askBothAtNextHold(lines);
    EXPECT_EQ(dialling, "dialling " + kAwkward + "; total 0 minutes, $0.00");
    EXPECT_EQ(diallingJson["class"].toString(), "dialling");
    EXPECT_EQ(diallingJson["connection"].toString(), kAwkward);
    EXPECT_EQ(diallingJson["step"].toString(), "Connecting modem");

    const auto [connected, connectedJson] = askBothAtNextHold(lines);
    EXPECT_EQ(connectedJson["state"].toString(), "connected");
    EXPECT_EQ(connectedJson["seconds"].toInt(), 65);
    EXPECT_EQ(connectedJson["duration"].toString(), "1:05");
    const double cost = connectedJson["cost"].toDouble();
    EXPECT_GT(cost, 0);
    EXPECT_EQ(connectedJson["total_minutes"].toInt(), 1);
    EXPECT_DOUBLE_EQ(connectedJson["total_cost"].toDouble(), cost);
    EXPECT_EQ(connected, QStringLiteral("connected to %1 for 1:05, $%2; total 1 minute, $%2")
                             .arg(kAwkward, QString::number(cost, 'f', 2)));

    const auto [ended, endedJson] = askBothAtNextHold(lines);
    EXPECT_TRUE(ended.startsWith("offline; total 3 minutes, $")) << ended.toStdString();
    EXPECT_EQ(endedJson["total_minutes"].toInt(), 3); // 2:49 closed out as 3 minutes
    EXPECT_GE(endedJson["total_cost"].toDouble(), cost);

    ASSERT_TRUE(monitor.waitForFinished(kPatienceMs));
    EXPECT_EQ(monitor.exitCode(), 0);
    const Answer none = ask({});
    EXPECT_EQ(none.status, 3);
    EXPECT_EQ(none.out, "not running\n");
    const Answer noneJson = ask({"--json"});
    EXPECT_EQ(noneJson.status, 3);
    EXPECT_EQ(QJsonDocument::fromJson(noneJson.out.toUtf8())["state"].toString(), "stopped");
}

TEST_F(StatusQueryTest, FollowsEveryChangeAndOutlivesTheMonitor) {
    setUser("Dialdart Using name", "Hometown Dial");
    startMonitor("status-follow.scn");
    LineReader monitorLines(monitor);
    ASSERT_TRUE(monitorLines.skipTo("waiting for a status request"));
    follower.setProcessEnvironment(HeadlessRun::environment());
    follower.start(HeadlessRun::program(), QStringList{"--status", "--json", "--follow"} + store());
    LineReader lines(follower);
    QStringList states;
    QList<int> connectedSeconds;
    for (QString line = lines.next(); !line.isNull(); line = lines.next()) {
        const QJsonObject json = QJsonDocument::fromJson(line.toUtf8()).object();
        const QString state = json["state"].toString();
        if (states.isEmpty() || states.last() != state)
            states << state;
        if (state == "connected")
            connectedSeconds << json["seconds"].toInt();
        if (state == "stopped")
            break;
    }
    EXPECT_EQ(states, (QStringList{"offline", "dialling", "connected", "offline", "stopped"}));
    ASSERT_FALSE(connectedSeconds.isEmpty());
    EXPECT_EQ(connectedSeconds.first(), 0);
    for (int i = 1; i < connectedSeconds.size(); ++i)
        EXPECT_EQ(connectedSeconds[i], connectedSeconds[i - 1] + 1) << i;
    EXPECT_GE(connectedSeconds.last(), 19);
    // It waits for the next monitor rather than ending.
    EXPECT_EQ(follower.state(), QProcess::Running);
}
