#pragma once
// The figures of the usage report as numbers rather than text, for the data
// export: the report's own rounding (an entry's money to 4 significant digits
// and the currency decimals, totals, averages and rates to 7 digits and 2
// decimals, whole-percent shares), months as ISO "1999-03", and what the
// report cannot form (a share of a zero total, an average of no rows) left
// empty instead of ending the export.

#include "ConnectionTable.h"
#include "DateTimeReader.h"
#include "FormatSettings.h"
#include "NumberReader.h"
#include "UsageTables.h"

#include <QList>
#include <QString>

#include <optional>

// One line of a usage table. name is null for the month of rows whose date
// could not be read.
struct EntryFigures {
    QString name;
    std::optional<qint64> minutes;
    std::optional<qint64> timeShare;
    double cost = 0;
    std::optional<qint64> costShare;
};

struct UsageFigures {
    int connections = 0;
    RunCounters counters;
    qint64 totalMinutes = 0;
    double totalCost = 0;
    std::optional<qint64> averageMinutes;
    std::optional<double> averageCost;
    // kB/s, as the report's transfer line.
    std::optional<double> averageSend;
    std::optional<double> averageReceive;
    std::optional<double> highestReceive;
    std::optional<double> lowestReceive;
    QList<EntryFigures> users;
    QList<EntryFigures> providers;
    QList<EntryFigures> months;
    // Decimals of an entry's money (the currency's); totals have 2.
    int entryDecimals = 2;

    static UsageFigures of(const UsageTables& tables, const RunCounters& counters, int rowCount,
                           const FormatSettings& fmt);
};

// One connection row as numbers; a field that does not convert is empty.
struct RowFigures {
    QString user;
    // Local date and time as "1999-02-12T21:03:44"; null when unreadable.
    QString start;
    std::optional<double> minutes;
    std::optional<double> cost;
    std::optional<double> send;
    std::optional<double> receive;
    QString connection;
};

// Reads the rows of a compile run one at a time, so that a million rows are
// never all held as figures at once.
class RowFigureReader {
public:
    // pivotYear: where two-digit years fall, as in the compile run.
    RowFigureReader(const ConnectionTable& rows, const FormatSettings& fmt, int pivotYear);

    int rowCount() const { return m_rows.rowCount(); }
    RowFigures row(int index) const;

private:
    QString startOf(int index) const;

    const ConnectionTable& m_rows;
    FormatSettings m_fmt;
    NumberReader m_numbers;
    DateTimeReader m_dates;
};
