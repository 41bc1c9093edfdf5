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

#include <optional>

class DateTimeReader;

class CompanionEngine {
public:
    // The companion's compiled string table unless another is given.
    // Waits for a locked log file go through the clock.
    CompanionEngine(RegistryStore& store, Clock& clock, const FormatSettings& fmt,
                    CompanionObserver& observer, const StringTable* table = nullptr);

    // Reads these files, as if they filled slots 1, 2, ..., instead of the
    // stored slots (at most 40 are read); nullopt goes back to the slots.
    void setLogFiles(const std::optional<QStringList>& files) { m_files = files; }

    // The compile run: rows, counters, tables, report and chart afresh.
    void UpdateListWindow();
    // Rebuilds the chart lines of the current kind; on failure the previous
    // chart stays and false is returned.
    bool LoadChartData();
    void setChartKind(ChartKind kind) { m_chartKind = kind; }
    ChartKind chartKind() const { return m_chartKind; }

    // The results of the last run.
    const ConnectionTable& rows() const { return m_rows; }
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
    void startRun();
    std::optional<QDate> purgeCutOff();
    void readLogFiles(const QDate& cutOff);
    void readLogFile(const QString& stored, const QString& native, bool purge, const QDate& cutOff,
                     const DateTimeReader& dates, const QByteArray& abnormal);
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
    RunCounters m_counters;
    UsageTables m_tables;
    ReportText m_report;
    ReportOutcome m_outcome = ReportOutcome::Complete;
    ChartData m_chart;
    ChartKind m_chartKind = ChartKind::CostMonthly;
    int m_progress = 0;
};
