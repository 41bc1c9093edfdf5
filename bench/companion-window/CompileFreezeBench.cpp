// How long the companion's window stops answering during a compile run of
// 1,000,000 log lines in 40 files: a zero timer notes each turn of the event
// loop, and the longest gap between two turns is how long the window froze.
// Prints, for each of five runs, the longest gap, the turns, the distinct
// progress values the loop saw and the run's time; then the median of the
// longest gaps (the target is 100 ms). Runs offscreen unless a platform is set.

#include "CompanionStatusBar.h"
#include "GeneratedLogs.h"
#include "SqliteRegistryStore.h"
#include "TfrmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLines = 1000000;
constexpr int kFiles = 40;
constexpr int kRuns = 5;

// Answers every message box at once, as nobody is there to read it.
class SilentDialogs : public DialogPresenter {
public:
    MessageAnswer showMessage(QWidget*, const MessageBoxRequest& request) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return MessageAnswer::No;
    }
    std::optional<QString> askReportFileName(QWidget*, const SaveDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseLogFile(QWidget*, const QString&) override { return std::nullopt; }
    int exec(QDialog&) override { return 0; }
};

class NoHelp : public HelpService {
public:
    void showContents(int) override {}
    void showContext(int, int) override {}
};

class NoPrinter : public ReportPrinter {
public:
    bool print(const QString&) override { return false; }
};

struct Run {
    double longestGapMs = 0;
    int turns = 0;
    int progressValues = 0;
    double totalMs = 0;
};

Run timeOneRun(TfrmMain& window) {
    Run run;
    QElapsedTimer clock;
    qint64 last = 0;
    std::vector<int> seen;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        run.longestGapMs = std::max(run.longestGapMs, (now - last) / 1e6);
        last = now;
        ++run.turns;
        const QProgressBar* bar = window.StatusBar()->progress();
        if (bar->isVisible() && std::find(seen.begin(), seen.end(), bar->value()) == seen.end())
            seen.push_back(bar->value());
    });
    turn.start(0);
    clock.start();
    window.UpdateListWindow();
    const qint64 end = clock.nsecsElapsed();
    turn.stop();
    // The stretch after the last turn (the report and the views) counts too.
    run.longestGapMs = std::max(run.longestGapMs, (end - last) / 1e6);
    run.totalMs = end / 1e6;
    run.progressValues = int(seen.size());
    return run;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const FormatSettings fmt = FormatSettings::fromLocale(QLocale(QStringLiteral("sv_SE")));
    SqliteRegistryStore store(dir.filePath(QStringLiteral("registry.sqlite")));
    Settings settings(store);
    const QStringList paths =
        GeneratedLogs::write(dir.filePath(QStringLiteral("logs")), kLines, kFiles, fmt);
    for (int slot = 1; slot <= kFiles; ++slot)
        settings.WriteText(kLogFilesKey, QStringLiteral("Log file %1").arg(slot),
                           paths.at(slot - 1));
    SystemClock clock;
    SilentDialogs dialogs;
    NoHelp help;
    NoPrinter printer;
    const CompanionServices services{store,   clock, fmt,     QLocale(QStringLiteral("sv_SE")),
                                     dialogs, help,  printer, QStringLiteral("/opt/companion")};
    TfrmMain window(services);
    window.show();
    std::vector<double> gaps;
    std::printf("%d lines in %d files\n", kLines, kFiles);
    for (int i = 0; i < kRuns; ++i) {
        const Run run = timeOneRun(window);
        gaps.push_back(run.longestGapMs);
        std::printf("  run %d: longest gap %6.1f ms, %4d loop turns, %d progress values, "
                    "%7.1f ms in all\n",
                    i + 1, run.longestGapMs, run.turns, run.progressValues, run.totalMs);
    }
    std::sort(gaps.begin(), gaps.end());
    std::printf("median of the longest gaps: %.1f ms (target 100 ms)\n", gaps[gaps.size() / 2]);
    return 0;
}
