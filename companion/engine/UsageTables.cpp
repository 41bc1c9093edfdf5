#include "UsageTables.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace {

std::string_view view(QByteArrayView bytes) {
    return std::string_view(bytes.data(), size_t(bytes.size()));
}

// Entries in order of first appearance, found by their UTF-8 key in constant
// time. Keys usually point into the rows' bytes; only cut keys and keys
// converted from Windows-1252 (transient) are copied.
class KeyIndex {
public:
    explicit KeyIndex(QList<UsageEntry>& entries) : m_entries(entries) {}

    int indexOf(QByteArrayView raw, bool transient) {
        if (raw.size() <= UsageTables::kKeyLength) // no more characters than bytes
            return find(raw, transient);
        const QString text = QString::fromUtf8(raw);
        if (text.size() <= UsageTables::kKeyLength)
            return find(raw, transient);
        int length = UsageTables::kKeyLength;
        if (text.at(length - 1).isHighSurrogate())
            --length; // never keep half a character
        return find(text.left(length).toUtf8(), true);
    }

private:
    int find(QByteArrayView key, bool copy) {
        const auto it = m_index.find(view(key));
        if (it != m_index.end())
            return it->second;
        if (copy) {
            m_owned.push_back(key.toByteArray());
            key = m_owned.back();
        }
        const int index = int(m_entries.size());
        m_index.emplace(view(key), index);
        m_entries.append({QString::fromUtf8(key), 0, 0});
        return index;
    }

    QList<UsageEntry>& m_entries;
    std::unordered_map<std::string_view, int> m_index;
    std::deque<QByteArray> m_owned;
};

// The month key of a row's Connection text as a number (199903), -1 for "err".
int monthKey(const ConnectionTable& rows, int row, const DateTimeReader& dates) {
    QByteArray dateScratch;
    QByteArray timeScratch;
    const QByteArrayView date = rows.utf8Field(row, ConnectionTable::FDate, dateScratch);
    const QByteArrayView time = rows.utf8Field(row, ConnectionTable::FTime, timeScratch);
    char small[128];
    QByteArray large;
    const qsizetype size = date.size() + 1 + time.size();
    char* text = small;
    if (size > qsizetype(sizeof small)) {
        large.resize(size);
        text = large.data();
    }
    std::memcpy(text, date.data(), size_t(date.size()));
    text[date.size()] = ' ';
    std::memcpy(text + date.size() + 1, time.data(), size_t(time.size()));
    return dates.monthOf(QByteArrayView(text, size)).value_or(-1);
}

QString monthKeyText(int key) {
    return key < 0 ? QStringLiteral("err") : QString::asprintf("%06d", key);
}

// Adds a row to an entry; false when its Length or Cost did not convert.
template <typename Length>
bool addTo(UsageEntry& entry, const std::optional<Length>& length,
           const std::optional<double>& cost) {
    if (!length)
        return false;
    entry.minutes += double(*length);
    if (!cost)
        return false;
    entry.cost += *cost;
    return true;
}

} // namespace

struct UsageTables::RowValues {
    std::optional<int> lengthInt;
    std::optional<double> lengthDecimal;
    std::optional<double> cost;
};

UsageTables::RowValues UsageTables::readRow(const ConnectionTable& rows, int row,
                                            const NumberReader& numbers) const {
    QByteArray scratch;
    QByteArray costScratch;
    const QByteArrayView length = rows.utf8Field(row, ConnectionTable::FLength, scratch);
    return {numbers.toInt(length), numbers.toFloat(length),
            numbers.toFloat(rows.utf8Field(row, ConnectionTable::FCost, costScratch))};
}

void UsageTables::addToTotals(const ConnectionTable& rows, int row, const RowValues& values,
                              const NumberReader& numbers) {
    // A field that does not convert ends the row here; what was added stays.
    if (!values.lengthInt)
        return;
    m_totals.minutes += *values.lengthInt;
    if (!values.cost)
        return;
    m_totals.cost += *values.cost;
    QByteArray scratch;
    const auto send = numbers.toFloat(rows.utf8Field(row, ConnectionTable::FSend, scratch));
    if (!send)
        return;
    m_totals.sendSum += *send;
    const auto receive = numbers.toFloat(rows.utf8Field(row, ConnectionTable::FRecvd, scratch));
    if (!receive)
        return;
    m_totals.receiveSum += *receive;
    m_totals.highestReceive = std::max(m_totals.highestReceive, *receive);
    m_totals.lowestReceive = std::min(m_totals.lowestReceive, *receive);
}

void UsageTables::build(const ConnectionTable& rows, const NumberReader& numbers,
                        const DateTimeReader& dates, RunCounters& counters) {
    *this = UsageTables();
    KeyIndex users(m_users);
    KeyIndex providers(m_providers);
    std::unordered_map<int, int> monthIndex;
    std::vector<int> monthKeys;
    for (int row = 0; row < rows.rowCount(); ++row) {
        const RowValues values = readRow(rows, row, numbers);
        addToTotals(rows, row, values, numbers);
        QByteArray scratch;
        const int user =
            users.indexOf(rows.utf8Field(row, ConnectionTable::FUser, scratch), !scratch.isNull());
        if (!addTo(m_users[user], values.lengthDecimal, values.cost))
            ++counters.invalidEntries;
        scratch.clear();
        const int provider = providers.indexOf(rows.utf8Field(row, ConnectionTable::FName, scratch),
                                               !scratch.isNull());
        addTo(m_providers[provider], values.lengthDecimal, values.cost);
        const int key = monthKey(rows, row, dates);
        const auto [it, added] = monthIndex.try_emplace(key, int(m_months.size()));
        if (added) {
            m_months.append({monthKeyText(key), 0, 0});
            monthKeys.push_back(key);
        }
        addTo(m_months[it->second], values.lengthInt, values.cost);
    }
    sortMonths(monthKeys);
}

void UsageTables::sortMonths(const std::vector<int>& keys) {
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    const auto rank = [&keys](int i) {
        return keys[size_t(i)] < 0 ? std::numeric_limits<int>::max() : keys[size_t(i)];
    };
    std::stable_sort(order.begin(), order.end(),
                     [&rank](int a, int b) { return rank(a) < rank(b); });
    QList<UsageEntry> sorted;
    sorted.reserve(m_months.size());
    for (int i : order)
        sorted.append(m_months[i]);
    m_months = sorted;
}
