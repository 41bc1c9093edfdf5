#pragma once
// The usage report: its text line for line and its outline, written from the
// usage tables in the companion's language and the user's number formats. A
// failure ends the report where it is and tells which message applies.

#include "CompanionStrings.h"
#include "FormatSettings.h"
#include "UsageTables.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>

// The report as a tree: the root "Companion" and one section per table, each
// holding the entry lines of that table.
struct ReportOutline {
    struct Section {
        QString title;
        QStringList entries;
    };
    QString root;
    QList<Section> sections;
};

struct ReportText {
    QStringList lines;
    ReportOutline outline;
};

enum class ReportOutcome {
    Complete,
    EmptyList,     // no rows: message 1000
    InvalidEntries // anything else: message 1010
};

class ReportBuilder {
public:
    ReportBuilder(const CompanionStrings& strings, const FormatSettings& fmt);

    // The heading, written before the usage tables are built.
    void begin(const QDateTime& now);
    // Everything after the heading.
    ReportOutcome finish(int rowCount, const UsageTables& tables, const RunCounters& counters);

    const ReportText& report() const { return m_report; }

private:
    const QString& text(int id);
    // Adds a piece of text; a CR LF in it starts a new line.
    void add(const QString& piece);
    void separator();
    void writeTotals(int rowCount, const UsageTotals& totals);
    void writeTable(int listId, int nodeId, const QList<UsageEntry>& entries,
                    const UsageTotals& totals);
    void writeMonths(const QList<UsageEntry>& months, const UsageTotals& totals);
    void writeCounters(const RunCounters& counters);
    QString hoursAndMinutes(qint64 minutes, int minutesId);
    QString entryFigures(const UsageEntry& entry, const UsageTotals& totals);
    QString monthText(const QString& key);

    const CompanionStrings& m_strings;
    FormatSettings m_fmt;
    QHash<int, QString> m_texts; // one language for the whole report
    ReportText m_report;
};
