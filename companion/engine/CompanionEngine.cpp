#include "CompanionEngine.h"

#include "Converters.h"
#include "DosPath.h"
#include "LogFileLoader.h"
#include "LogPurge.h"

namespace {
const QString kCaption = QStringLiteral("Tollwatch Companion");
constexpr int kProgressPerFile = 15;
} // namespace

CompanionEngine::CompanionEngine(RegistryStore& store, Clock& clock, const FormatSettings& fmt,
                                 CompanionObserver& observer, const StringTable* table)
    : m_store(store), m_settings(store), m_companionSettings(m_settings),
      m_strings(m_settings, table), m_clock(clock), m_fmt(fmt), m_observer(observer) {}

void CompanionEngine::warn(const QString& text) {
    m_observer.showMessage({kCaption, text, MessageIcon::Warning, MessageButtons::Ok, false});
}

// What a run needs between its steps: the files of the set slots, the
// loader the worker threads share, and how far the steps have come.
struct CompanionEngine::Run {
    struct File {
        QString stored; // as the slot names it, for the messages
        QString native;
    };
    std::vector<File> files;
    std::unique_ptr<LogFileLoader> loader;
    std::unique_ptr<LogFileJobs> jobs;
    int next = 0;
    bool announced = false; // "Opening" shown for files[next]
};

CompanionEngine::~CompanionEngine() {
    m_run.reset(); // its threads may still pause on the clock
}

void CompanionEngine::UpdateListWindow() {
    startCompile();
    while (!compileStep(-1)) {
    }
}

void CompanionEngine::startCompile() {
    m_run.reset(); // a run still going ends here: its threads finish their file
    m_observer.setBusy(true);
    startRun();
    const auto cutOff = purgeCutOff();
    if (!cutOff) {
        m_observer.setBusy(false);
        return;
    }
    m_run = prepareRun(*cutOff);
    m_observer.setProgressVisible(true);
}

std::unique_ptr<CompanionEngine::Run> CompanionEngine::prepareRun(const QDate& cutOff) {
    auto run = std::make_unique<Run>();
    const DosPathMapper paths = DosPathMapper::fromStore(m_store);
    for (int slot = 1; slot <= CompanionSettings::kCompiledSlots; ++slot) {
        const QString stored = slotPath(slot);
        if (!stored.isEmpty()) // gaps between slots are allowed
            run->files.push_back({stored, paths.toNative(stored)});
    }
    LogFileLoader::Options options;
    options.purge = m_companionSettings.purge();
    options.cutOff = cutOff;
    options.abnormalExit = m_strings.IntlStr(StringId::AbnormalExit).toUtf8();
    // A file another program holds locked is given a moment, then reported.
    options.wait.pause = [this](int milliseconds) {
        std::lock_guard<std::mutex> lock(m_clockMutex);
        m_clock.sleep(milliseconds);
    };
    run->loader = std::make_unique<LogFileLoader>(m_fmt, m_clock.now().date().year(), options);
    const int count = int(run->files.size());
    Run* r = run.get();
    run->jobs = std::make_unique<LogFileJobs>(
        count, [r](int i) { return r->loader->load(r->files[size_t(i)].native); },
        LogFileJobs::threadsFor(count));
    return run;
}

bool CompanionEngine::compileStep(int waitMs) {
    if (!m_run)
        return true;
    if (m_run->next < int(m_run->files.size())) {
        takeNextFile(waitMs);
        return false;
    }
    finishRun();
    return true;
}

// Slot order, whichever file the threads finish first: the rows, the keys'
// order of first appearance and every sum come out as from one reader.
bool CompanionEngine::takeNextFile(int waitMs) {
    Run& run = *m_run;
    const Run::File& file = run.files[size_t(run.next)];
    if (!run.announced) {
        m_observer.setStatusText(0, m_strings.IntlStr(StringId::Opening) + file.stored);
        advanceProgress(kProgressPerFile);
        run.announced = true;
    }
    std::optional<LogFileResult> result = run.jobs->take(run.next, waitMs);
    if (!result)
        return false;
    ++run.next;
    run.announced = false;
    if (!result->ok) {
        warn(file.stored + m_strings.IntlStr(StringId::UnableToProcess) + QLatin1Char('\n') +
             m_strings.IntlStr(StringId::PathUnavailable));
        return true;
    }
    m_counters.abnormalTerminations += result->counters.abnormalTerminations;
    m_counters.invalidEntries += result->counters.invalidEntries;
    m_tables.add(result->usage, m_counters);
    m_rowCount += int(result->chunk.rows.size());
    if (m_keepRows)
        m_rows.append(std::move(result->chunk));
    return true;
}

void CompanionEngine::finishRun() {
    m_run.reset();
    m_observer.setStatusText(1, QStringLiteral(" %1").arg(m_rowCount) +
                                    m_strings.IntlStr(StringId::Entries));
    m_progress = 80;
    m_observer.setProgress(m_progress);
    m_observer.setStatusText(0, m_strings.IntlStr(StringId::CompilingReport));
    compileReport();
    LoadChartData();
    m_observer.setProgressVisible(false);
    m_observer.setStatusText(0, m_strings.IntlStr(StringId::CompileComplete));
    m_observer.setBusy(false);
}

void CompanionEngine::startRun() {
    m_counters = RunCounters();
    m_progress = 0;
    m_observer.setProgress(0);
    m_rows.clear();
    m_rowCount = 0;
    m_tables = UsageTables();
    m_report = ReportText();
    m_outcome = ReportOutcome::Complete;
    m_observer.compileStarted();
}

std::optional<QDate> CompanionEngine::purgeCutOff() {
    const QString monthsBack = m_companionSettings.purgeAfter();
    try {
        return LogPurge::cutOffDate(m_clock.now().date(), StrToInt(monthsBack));
    } catch (const ConversionError&) {
        warn(QStringLiteral("\"Purge after\" is not a whole number of months: \"%1\". "
                            "No log file was read.")
                 .arg(monthsBack));
        return std::nullopt;
    }
}

QString CompanionEngine::slotPath(int slot) const {
    if (m_files)
        return m_files->value(slot - 1);
    return m_companionSettings.logFile(slot);
}

void CompanionEngine::advanceProgress(int step) {
    m_progress = std::min(100, m_progress + step);
    m_observer.setProgress(m_progress);
}

void CompanionEngine::compileReport() {
    ReportBuilder builder(m_strings, m_fmt);
    builder.begin(m_clock.now());
    m_tables.finish();
    m_progress = 90;
    m_observer.setProgress(m_progress);
    m_outcome = builder.finish(m_rowCount, m_tables, m_counters);
    m_report = builder.report();
    if (m_outcome == ReportOutcome::EmptyList) {
        const MessageAnswer answer =
            m_observer.showMessage({kCaption, m_strings.IntlStr(StringId::NoValidEntries),
                                    MessageIcon::Warning, MessageButtons::YesNo, true});
        if (answer == MessageAnswer::Yes)
            m_observer.openHelp(1);
    } else if (m_outcome == ReportOutcome::InvalidEntries) {
        warn(m_strings.IntlStr(StringId::InvalidLogEntries));
    }
}

bool CompanionEngine::LoadChartData() {
    auto chart = ChartLines::build(m_chartKind, m_tables, m_strings);
    if (!chart)
        return false; // the chart keeps what it showed
    m_chart = std::move(*chart);
    return true;
}

ReportFiles CompanionEngine::reportFiles() {
    return ReportFiles(m_settings, m_strings, m_fmt, m_clock, m_observer);
}

bool CompanionEngine::SaveReport(const QStringList& lines) {
    return reportFiles().SaveReport(lines);
}

bool CompanionEngine::PrintReport(const QStringList& lines, ReportPrinter& printer) {
    return reportFiles().PrintReport(lines, printer);
}
