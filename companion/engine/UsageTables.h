#pragma once
// The usage tables of a compile run (per user, per connection name, per month)
// and the overall totals, built from the connection rows in list order. Keys
// are matched through hash maps, so the work grows linearly with the rows.

#include "ConnectionTable.h"
#include "DateTimeReader.h"
#include "NumberReader.h"

#include <QList>
#include <QString>

struct UsageEntry {
    QString key; // at most 70 characters
    double minutes = 0;
    double cost = 0;
};

struct UsageTotals {
    qint64 minutes = 0; // the sum of the integer lengths
    double cost = 0;
    double sendSum = 0;
    double receiveSum = 0;
    double highestReceive = 0;
    double lowestReceive = 600;
};

class UsageTables {
public:
    // Keys are stored, and matched, cut to this many characters.
    static constexpr int kKeyLength = 70;

    // Rebuilds everything from the rows; rows whose Length or Cost do not
    // convert in the per-user sums add to counters.invalidEntries.
    void build(const ConnectionTable& rows, const NumberReader& numbers,
               const DateTimeReader& dates, RunCounters& counters);

    const UsageTotals& totals() const { return m_totals; }
    // In order of first appearance.
    const QList<UsageEntry>& users() const { return m_users; }
    const QList<UsageEntry>& providers() const { return m_providers; }
    // Ascending by month key ("199903"); "err" entries come last.
    const QList<UsageEntry>& months() const { return m_months; }

private:
    struct RowValues;
    RowValues readRow(const ConnectionTable& rows, int row, const NumberReader& numbers) const;
    void addToTotals(const ConnectionTable& rows, int row, const RowValues& values,
                     const NumberReader& numbers);
    void sortMonths(const std::vector<int>& keys);

    UsageTotals m_totals;
    QList<UsageEntry> m_users;
    QList<UsageEntry> m_providers;
    QList<UsageEntry> m_months;
};
