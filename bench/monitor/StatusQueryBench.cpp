// The status query of a running monitor: the round trip of one request to a
// real `tollwatch --headless` that is timing a connection on the real clock
// (the answer is due within 100 ms), a follower's line per change, and what
// taking the state adds to each tick (three reads of a SQLite store).

#include "ConnectionPoller.h"
#include "MonitorStatus.h"
#include "SessionState.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "SqliteRegistryStore.h"
#include "StatusBoard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

// A headless monitor with a connection up from its second second on, for an
// hour; started once for all benchmarks.
class RunningMonitor {
public:
    RunningMonitor() {
        const QString store = m_dir.filePath(QStringLiteral("registry.sqlite"));
        {
            SqliteRegistryStore s(store);
            Settings settings(s);
            settings.WriteText(kSettingsKey, QStringLiteral("Skip intro"), QStringLiteral("true"));
            settings.WriteText(kSettingsKey, QStringLiteral("Show cost"), QStringLiteral("true"));
            settings.WriteText(kSettingsKey, QStringLiteral("Log Filename"),
                               m_dir.filePath(QStringLiteral("access.txt")));
        }
        QFile scenario(m_dir.filePath(QStringLiteral("bench.scn")));
        if (!scenario.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write the scenario");
        scenario.write("entry \"Bench\"\nat 00:00:01 \"Bench\" state 8192\nat 01:00:00 exit\n");
        scenario.close();
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tollwatch"),
                        {QStringLiteral("--headless"), QStringLiteral("--registry"), store,
                         QStringLiteral("--ras"), QStringLiteral("sim:") + scenario.fileName()});
        // Ready once it says which source it runs on, and timing once connected.
        while (m_process.waitForReadyRead(10000))
            if (m_process.readAll().contains("Connected to Bench"))
                break;
        m_serverName = SingleInstance::channelAddress(store);
    }
    ~RunningMonitor() {
        m_process.terminate();
        m_process.waitForFinished();
    }
    const QString& serverName() const { return m_serverName; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_serverName;
};

RunningMonitor& monitor() {
    static RunningMonitor running;
    return running;
}

void BM_StatusRoundTrip(benchmark::State& state) {
    const QString name = monitor().serverName();
    for (auto _ : state) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(5000)) {
            state.SkipWithError("no monitor answered");
            return;
        }
        socket.write("status\n");
        while (!socket.canReadLine() && socket.waitForReadyRead(5000)) {
        }
        benchmark::DoNotOptimize(MonitorStatus::fromJson(socket.readLine()));
    }
}

// The lines a follower gets once a second; the time is that of the reading
// side and shows that they come on time, whatever else the monitor does.
void BM_FollowerLineEverySecond(benchmark::State& state) {
    QLocalSocket socket;
    socket.connectToServer(monitor().serverName());
    socket.waitForConnected(5000);
    socket.write("status follow\n");
    while (!socket.canReadLine() && socket.waitForReadyRead(5000)) {
    }
    socket.readLine();
    for (auto _ : state) {
        while (!socket.canReadLine() && socket.waitForReadyRead(5000)) {
        }
        benchmark::DoNotOptimize(socket.readLine());
    }
}

void BM_BoardRefreshPerTick(benchmark::State& state) {
    QTemporaryDir dir;
    SqliteRegistryStore store(dir.filePath(QStringLiteral("registry.sqlite")));
    Settings settings(store);
    settings.WriteText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("1234"));
    settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("99.95"));
    settings.WriteText(kSettingsKey, QStringLiteral("Show cost"), QStringLiteral("true"));
    const FormatSettings fmt = FormatSettings::fromLocale(QLocale(QStringLiteral("en_US")));
    SessionState session;
    session.Online = true;
    session.ConnectionName = QStringLiteral("Bench");
    StatusBoard board(session, settings, fmt);
    for (auto _ : state) {
        ++session.Elapsed.seconds;
        session.Cost += 0.01;
        board.refresh({});
        benchmark::DoNotOptimize(board.current());
    }
}

} // namespace

BENCHMARK(BM_StatusRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FollowerLineEverySecond)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_BoardRefreshPerTick)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
