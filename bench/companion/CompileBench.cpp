// Times the companion's compile run (reading 40 log files, usage tables,
// report, chart) on deterministic generated logs of 250,000, 500,000 and
// 1,000,000 lines: 300 users, 60 connection names, ten years of months and
// 1% lines that are not connections. Prints medians and the peak memory.

#include "CompanionEngine.h"
#include "GeneratedLogs.h"
#include "SqliteRegistryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kFiles = 40;
constexpr int kRuns = 5;

class QuietObserver : public CompanionObserver {
public:
    MessageAnswer showMessage(const MessageBoxRequest& request) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return MessageAnswer::No;
    }
    std::optional<QString> askReportFileName(const SaveDialogRequest&) override {
        return std::nullopt;
    }
};

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The median time of kRuns compile runs over the slots in store.
double timeCompile(SqliteRegistryStore& store, const FormatSettings& fmt, int expectedRows) {
    SystemClock clock;
    QuietObserver observer;
    CompanionEngine engine(store, clock, fmt, observer);
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        engine.UpdateListWindow();
        times.push_back(seconds(std::chrono::steady_clock::now() - start));
        if (engine.rows().rowCount() < expectedRows * 98 / 100 ||
            engine.report().lines.size() < 400)
            qFatal("unexpected result: %d rows", engine.rows().rowCount());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const FormatSettings fmt = FormatSettings::fromLocale(QLocale(QStringLiteral("sv_SE")));
    SqliteRegistryStore store(dir.filePath(QStringLiteral("registry.sqlite")));
    Settings settings(store);
    std::printf("%10s %10s %8s %10s\n", "lines", "median s", "ratio", "peak MB");
    double previous = 0;
    bool ok = true;
    for (int lines : {250000, 500000, 1000000}) {
        const QStringList paths = GeneratedLogs::write(
            dir.filePath(QStringLiteral("logs%1").arg(lines)), lines, kFiles, fmt);
        for (int slot = 1; slot <= kFiles; ++slot)
            settings.WriteText(kLogFilesKey, QStringLiteral("Log file %1").arg(slot),
                               paths.at(slot - 1));
        const double median = timeCompile(store, fmt, lines);
        const double ratio = previous > 0 ? median / previous : 0;
        const long peakMb = peakRssKb() / 1024;
        std::printf("%10d %10.3f %8.2f %10ld\n", lines, median, ratio, peakMb);
        ok = ok && (previous == 0 || ratio <= 2.2) && peakMb < 400;
        ok = ok && (lines < 1000000 || median < 2.0);
        previous = median;
    }
    std::printf("targets (1M lines < 2 s, doubling <= x2.2, peak < 400 MB): %s\n",
                ok ? "met" : "MISSED");
    return ok ? 0 : 1;
}
