#pragma once
// The companion's compile run (UpdateListWindow): reads, and optionally
// purges, the log files of slots 1 to 40 into connection rows, builds the
// usage tables, the report and the chart data, and keeps them until the next
// run. Everything the user sees goes through the CompanionObserver.

#include "ChartData.h"
#include "Clock.h"
#include "CompanionObserver.h"
#include "CompanionSettings.h"
#include "CompanionStrings.h"
#include "ConnectionTable.h"
#include "FormatSettings.h"
#include "ReportBuilder.h"
#include "ReportFiles.h"
#include "UsageTables.h"

#include <QDate>

#include <memory>
#include <mutex>
#include <optional>

class CompanionEngine {
public:
    // The companion's compiled string table unless another is given.
    // Waits for a locked log file go through the clock.
    CompanionEngine(RegistryStore& store, Clock& clock, const FormatSettings& fmt,
                    CompanionObserver& observer, const StringTable* table = nullptr);

    // Reads these files, as if they filled slots 1, 2, ..., instead of the
    // stored slots (at most 40 are read); nullopt goes back to the slots.
    void setLogFiles(const std::optional<QStringList>& files) { m_files = files; }

    ~CompanionEngine();

    // The compile run: rows, counters, tables, report and chart afresh.
    void UpdateListWindow();
    // The same run in steps, for a window that goes on repainting meanwhile:
    // startCompile, then compileStep until it returns true. The files are
    // read on worker threads; a step takes in at most one of them, in slot
    // order, waiting for it at most waitMs (for ever when negative), and
    // everything the observer hears comes from the steps' thread.
    void startCompile();
    bool compileStep(int waitMs);
    bool compiling() const { return m_run != nullptr; }
    // Rebuilds the chart lines of the current kind; on failure the previous
    // chart stays and false is returned.
    bool LoadChartData();
    void setChartKind(ChartKind kind) { m_chartKind = kind; }
    ChartKind chartKind() const { return m_chartKind; }

    // Whether a run keeps its rows (and the files' bytes they point into) for
    // a connection list; a report alone needs only their number, and the
    // memory of each file then serves the next one.
    void setKeepRows(bool keep) { m_keepRows = keep; }

    // The results of the last run; rows() is empty when rows are not kept.
    const ConnectionTable& rows() const { return m_rows; }
    int rowCount() const { return m_rowCount; }
    const RunCounters& counters() const { return m_counters; }
    const UsageTables& tables() const { return m_tables; }
    const ReportText& report() const { return m_report; }
    ReportOutcome reportOutcome() const { return m_outcome; }
    const ChartData& chart() const { return m_chart; }

    // The report commands, for the report text as it stands (the user may
    // have typed comments under it).
    bool SaveReport(const QStringList& lines);
    bool PrintReport(const QStringList& lines, ReportPrinter& printer);
    ReportFiles reportFiles();

    const CompanionStrings& strings() const { return m_strings; }
    const FormatSettings& formats() const { return m_fmt; }

private:
    struct Run;

    void startRun();
    std::optional<QDate> purgeCutOff();
    std::unique_ptr<Run> prepareRun(const QDate& cutOff);
    bool takeNextFile(int waitMs);
    void finishRun();
    QString slotPath(int slot) const;
    void advanceProgress(int step);
    void compileReport();
    void warn(const QString& text);

    RegistryStore& m_store;
    Settings m_settings;
    CompanionSettings m_companionSettings;
    CompanionStrings m_strings;
    Clock& m_clock;
    FormatSettings m_fmt;
    CompanionObserver& m_observer;
    std::optional<QStringList> m_files;

    ConnectionTable m_rows;
    int m_rowCount = 0;
    bool m_keepRows = true;
    RunCounters m_counters;
    UsageTables m_tables;
    ReportText m_report;
    ReportOutcome m_outcome = ReportOutcome::Complete;
    ChartData m_chart;
    ChartKind m_chartKind = ChartKind::CostMonthly;
    int m_progress = 0;
    std::mutex m_clockMutex; // the clock is no thread's own
    std::unique_ptr<Run> m_run;
};
