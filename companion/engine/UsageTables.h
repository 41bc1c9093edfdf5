#pragma once
// The usage tables of a compile run (per user, per connection name, per month)
// and the overall totals, built from the connection rows in list order: file
// by file, each read into its FileUsage, added up in slot order.

#include "ConnectionTable.h"
#include "DateTimeReader.h"
#include "FileUsage.h"
#include "NumberReader.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <vector>

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

    // The same in steps: the files' usage added one by one in list order,
    // then the months put in order.
    void add(const FileUsage& file, RunCounters& counters);
    void finish();

    const UsageTotals& totals() const { return m_totals; }
    // In order of first appearance.
    const QList<UsageEntry>& users() const { return m_users; }
    const QList<UsageEntry>& providers() const { return m_providers; }
    // Ascending by month key ("199903"); "err" entries come last.
    const QList<UsageEntry>& months() const { return m_months; }

private:
    // The entries' positions by stored key; new keys are appended to entries,
    // so that they keep the order of first appearance.
    static std::vector<int> ids(const std::vector<QByteArray>& keys, QHash<QByteArray, int>& index,
                                QList<UsageEntry>& entries);
    std::vector<int> monthIds(const std::vector<int>& keys);
    struct Entries {
        UsageEntry* users;
        UsageEntry* providers;
        UsageEntry* months;
    };
    void addRow(const RowValues& v, UsageEntry& user, UsageEntry& provider, UsageEntry& month,
                RunCounters& counters);

    UsageTotals m_totals;
    QList<UsageEntry> m_users;
    QList<UsageEntry> m_providers;
    QList<UsageEntry> m_months;
    QHash<QByteArray, int> m_userIndex;
    QHash<QByteArray, int> m_providerIndex;
    QHash<int, int> m_monthIndex;
    std::vector<int> m_monthKeys; // of m_months, before the ordering
};
