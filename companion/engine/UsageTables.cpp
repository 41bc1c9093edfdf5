#include "UsageTables.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

QString monthKeyText(int key) {
    return key < 0 ? QStringLiteral("err") : QString::asprintf("%06d", key);
}

} // namespace

std::vector<int> UsageTables::ids(const std::vector<QByteArray>& keys,
                                  QHash<QByteArray, int>& index, QList<UsageEntry>& entries) {
    std::vector<int> out;
    out.reserve(keys.size());
    for (const QByteArray& key : keys) {
        auto it = index.constFind(key);
        if (it == index.constEnd()) {
            it = index.insert(key, int(entries.size()));
            entries.append({QString::fromUtf8(key), 0, 0});
        }
        out.push_back(*it);
    }
    return out;
}

std::vector<int> UsageTables::monthIds(const std::vector<int>& keys) {
    std::vector<int> out;
    out.reserve(keys.size());
    for (int key : keys) {
        auto it = m_monthIndex.constFind(key);
        if (it == m_monthIndex.constEnd()) {
            it = m_monthIndex.insert(key, int(m_months.size()));
            m_months.append({monthKeyText(key), 0, 0});
            m_monthKeys.push_back(key);
        }
        out.push_back(*it);
    }
    return out;
}

void UsageTables::build(const ConnectionTable& rows, const NumberReader& numbers,
                        const DateTimeReader& dates, RunCounters& counters) {
    *this = UsageTables();
    for (const ConnectionTable::Chunk& chunk : rows.chunks())
        add(FileUsageReader::read(chunk, numbers, dates), counters);
    finish();
}

void UsageTables::add(const FileUsage& file, RunCounters& counters) {
    const std::vector<int> users = ids(file.users, m_userIndex, m_users);
    const std::vector<int> providers = ids(file.providers, m_providerIndex, m_providers);
    const std::vector<int> months = monthIds(file.months);
    Entries entries{m_users.data(), m_providers.data(), m_months.data()};
    for (const RowValues& v : file.values)
        addRow(v, entries.users[users[size_t(v.user)]],
               entries.providers[providers[size_t(v.provider)]],
               entries.months[months[size_t(v.month)]], counters);
}

// The totals, then each table, for one row; a field that does not convert
// ends what it feeds, and what was added stays.
void UsageTables::addRow(const RowValues& v, UsageEntry& u, UsageEntry& p, UsageEntry& m,
                         RunCounters& counters) {
    const bool lengthInt = v.has & RowValues::LengthInt;
    const bool lengthDecimal = v.has & RowValues::LengthDecimal;
    const bool cost = v.has & RowValues::Cost;
    if (lengthInt) {
        m_totals.minutes += v.lengthInt;
        if (cost) {
            m_totals.cost += v.cost;
            if (v.has & RowValues::Send) {
                m_totals.sendSum += v.send;
                if (v.has & RowValues::Receive) {
                    m_totals.receiveSum += v.receive;
                    m_totals.highestReceive = std::max(m_totals.highestReceive, v.receive);
                    m_totals.lowestReceive = std::min(m_totals.lowestReceive, v.receive);
                }
            }
        }
    }
    // Only the users' table counts a row that does not convert.
    if (lengthDecimal)
        u.minutes += v.lengthDecimal;
    if (!lengthDecimal || !cost)
        ++counters.invalidEntries;
    else
        u.cost += v.cost;
    if (lengthDecimal) {
        p.minutes += v.lengthDecimal;
        if (cost)
            p.cost += v.cost;
    }
    if (lengthInt) {
        m.minutes += double(v.lengthInt);
        if (cost)
            m.cost += v.cost;
    }
}

void UsageTables::finish() {
    std::vector<int> order(m_monthKeys.size());
    std::iota(order.begin(), order.end(), 0);
    const auto rank = [this](int i) {
        const int key = m_monthKeys[size_t(i)];
        return key < 0 ? std::numeric_limits<int>::max() : key;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&rank](int a, int b) { return rank(a) < rank(b); });
    QList<UsageEntry> sorted;
    sorted.reserve(m_months.size());
    for (int i : order)
        sorted.append(m_months[i]);
    m_months = sorted;
}
