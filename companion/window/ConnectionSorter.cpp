#include "ConnectionSorter.h"

#include "TolerantNumber.h"

#include <algorithm>
#include <optional>

namespace {

enum class ColumnKind { Text, Integer, Number };

ColumnKind kindOf(int column) {
    switch (column) {
    case 2:
        return ColumnKind::Integer;
    case 3:
    case 4:
    case 5:
        return ColumnKind::Number;
    default:
        return ColumnKind::Text;
    }
}

// Texts that are no number come first, then numbers by value.
template <typename T> struct NumberKey {
    bool valid = false;
    T value = 0;
    bool operator<(const NumberKey& o) const {
        if (valid != o.valid)
            return !valid;
        return valid && value < o.value;
    }
};

template <typename T>
void stableSortKeyed(std::vector<std::pair<NumberKey<T>, int>>& keyed, bool descending) {
    if (descending)
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return b.first < a.first; });
    else
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
}

// Reads every row's key once, in the rows' own order (which is their order
// in memory, whatever order they are shown in), then sorts the shown order.
template <typename T, typename Read>
void sortByKey(std::vector<int>& order, bool descending, Read read) {
    if (order.empty())
        return;
    const std::vector<char> present = TextCollation::presentRows(order);
    const int rows = int(present.size());
    std::vector<NumberKey<T>> keyOf(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row)
        if (present[size_t(row)])
            if (const auto v = read(row))
                keyOf[size_t(row)] = {true, *v};
    std::vector<std::pair<NumberKey<T>, int>> keyed(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        keyed[i] = {keyOf[size_t(order[i])], order[i]};
    stableSortKeyed(keyed, descending);
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = keyed[i].second;
}

} // namespace

ConnectionSorter::ConnectionSorter(const FormatSettings& fmt, const QLocale& collationLocale)
    : m_fmt(fmt), m_collation(collationLocale) {}

bool ConnectionSorter::nextClickDescending(int column) const {
    const bool flag = m_flags[size_t(column)];
    return column == 0 ? !flag : flag;
}

void ConnectionSorter::columnClick(int column, std::vector<int>& order, const TextAt& textAt) {
    if (column < 0 || column >= kColumns)
        return;
    m_lastColumn = column;
    sort(column, nextClickDescending(column), order, textAt);
    m_flags[size_t(column)] = !m_flags[size_t(column)];
}

void ConnectionSorter::sort(int column, bool descending, std::vector<int>& order,
                            const TextAt& textAt) const {
    if (kindOf(column) == ColumnKind::Text) {
        m_collation.sort(
            order, [&](int row) { return textAt(row, column); }, descending);
        return;
    }
    sortByNumber(column, descending, order, textAt);
}

void ConnectionSorter::sortByNumber(int column, bool descending, std::vector<int>& order,
                                    const TextAt& textAt) const {
    if (kindOf(column) == ColumnKind::Integer) {
        sortByKey<qint64>(order, descending,
                          [&](int row) { return TolerantNumber::integer(textAt(row, column)); });
        return;
    }
    sortByKey<double>(order, descending,
                      [&](int row) { return TolerantNumber::decimal(textAt(row, column), m_fmt); });
}
