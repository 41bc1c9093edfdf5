// One poll tick of the monitor on the NetworkManager source (the enumeration,
// a status per link, the byte counters three times), against the fake daemon
// of the tests with four links up: how many D-Bus round trips a tick makes,
// how long it takes, and how long the longest tick is while the daemon is
// stopped (SIGSTOP: it keeps its name and answers nothing).

#include "NetworkManagerRasApi.h"
#include "NmMock.h"

#include "Settings.h"
#include "SqliteRegistryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

namespace {

struct Daemon {
    Daemon() : store(dir.filePath(QStringLiteral("registry.sqlite"))), settings(store) {
        for (int i = 0; i < 4; ++i) {
            const QString device =
                mock.addModem(QStringLiteral("wwan%1").arg(i), QStringLiteral("wwan%1").arg(i), 30);
            const QString profile = mock.addConnection(NmMock::gsmSettings(
                QStringLiteral("Line %1").arg(i), QStringLiteral("uuid-line-%1").arg(i)));
            mock.addActive({device}, profile, QString::number(i + 1), 2);
            devices.append(device);
        }
        api = std::make_unique<NetworkManagerRasApi>(mock.connection(), settings);
        mock.settle(*api);
        tick();
        mock.settle(*api); // the refresh rates asked for once
    }

    int tick() {
        QCoreApplication::processEvents(); // what the daemon said since
        QList<RasConnection> links;
        api->enumConnections(links);
        for (const RasConnection& link : links) {
            RasConnStatus status;
            api->connectStatus(link.handle, status);
        }
        for (int i = 0; i < 3; ++i)
            benchmark::DoNotOptimize(api->byteCounters());
        return int(links.size());
    }

    NmMock mock;
    QTemporaryDir dir;
    SqliteRegistryStore store;
    Settings settings;
    QStringList devices;
    std::unique_ptr<NetworkManagerRasApi> api;
};

qint64 threadCpuNs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

Daemon& daemon() {
    static Daemon d;
    return d;
}

void OnlineTick(benchmark::State& state) {
    Daemon& d = daemon();
    const quint64 before = d.api->callsSent();
    int links = 0;
    for (auto _ : state)
        links = d.tick();
    state.counters["links"] = links;
    state.counters["round_trips_per_tick"] =
        double(d.api->callsSent() - before) / double(state.iterations());
}
BENCHMARK(OnlineTick);

void TickWhileDaemonStopped(benchmark::State& state) {
    Daemon& d = daemon();
    d.mock.freeze(true);
    std::vector<qint64> ticks;
    qint64 longestCpu = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        const qint64 cpu = threadCpuNs();
        timer.start();
        d.tick();
        ticks.push_back(timer.nsecsElapsed());
        longestCpu = std::max(longestCpu, threadCpuNs() - cpu);
    }
    d.mock.freeze(false);
    // The longest tick on a shared machine is mostly the scheduler's; the
    // 99th percentile shows what the tick itself costs.
    std::sort(ticks.begin(), ticks.end());
    state.counters["median_tick_ms"] = double(ticks[ticks.size() / 2]) / 1e6;
    state.counters["p99_tick_ms"] = double(ticks[ticks.size() * 99 / 100]) / 1e6;
    state.counters["longest_tick_ms"] = double(ticks.back()) / 1e6;
    // What the longest tick cost this thread, waits for the CPU left out.
    state.counters["longest_tick_cpu_ms"] = double(longestCpu) / 1e6;
}
BENCHMARK(TickWhileDaemonStopped)->Iterations(2000);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!daemon().mock.ready())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
