#include "ConnectionSorter.h"

#include "KeyedOrder.h"
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

// Reads every row's key once, in the rows' own order (which is their order
// in memory, whatever order they are shown in), then sorts the shown order;
// texts that are no number come first, then numbers by value.
template <typename Read> void sortByKey(std::vector<int>& order, bool descending, Read read) {
    if (order.empty())
        return;
    const std::vector<char> present = TextCollation::presentRows(order);
    std::vector<std::uint64_t> keyOf(present.size(), 0);
    QByteArray scratch;
    for (size_t row = 0; row < present.size(); ++row)
        if (present[row])
            keyOf[row] = read(int(row), scratch);
    std::vector<std::uint64_t> keys(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        keys[i] = keyOf[size_t(order[i])];
    KeyedOrder::sort(order, keys, descending);
}

} // namespace

ConnectionSorter::ConnectionSorter(const FormatSettings& fmt, const QLocale& collationLocale)
    : m_fmt(fmt), m_collation(collationLocale) {}

bool ConnectionSorter::nextClickDescending(int column) const {
    const bool flag = m_flags[size_t(column)];
    return column == 0 ? !flag : flag;
}

void ConnectionSorter::columnClick(int column, std::vector<int>& order, const TextAt& textAt) {
    columnClick(column, order,
                [&textAt](int row, int c, QByteArray& out) { out = textAt(row, c).toUtf8(); });
}

void ConnectionSorter::columnClick(int column, std::vector<int>& order, const Utf8At& utf8At) {
    if (column < 0 || column >= kColumns)
        return;
    m_lastColumn = column;
    sort(column, nextClickDescending(column), order, utf8At);
    m_flags[size_t(column)] = !m_flags[size_t(column)];
}

void ConnectionSorter::sort(int column, bool descending, std::vector<int>& order,
                            const TextAt& textAt) const {
    sort(column, descending, order,
         [&textAt](int row, int c, QByteArray& out) { out = textAt(row, c).toUtf8(); });
}

void ConnectionSorter::sort(int column, bool descending, std::vector<int>& order,
                            const Utf8At& utf8At) const {
    if (kindOf(column) == ColumnKind::Text) {
        m_collation.sort(
            order, [&](int row, QByteArray& out) { utf8At(row, column, out); }, descending);
        return;
    }
    sortByNumber(column, descending, order, utf8At);
}

void ConnectionSorter::sortByNumber(int column, bool descending, std::vector<int>& order,
                                    const Utf8At& utf8At) const {
    if (kindOf(column) == ColumnKind::Integer) {
        sortByKey(order, descending, [&](int row, QByteArray& scratch) {
            utf8At(row, column, scratch);
            const auto v = TolerantNumber::integer(QByteArrayView(scratch));
            return KeyedOrder::ofInteger(v.has_value(), v.value_or(0));
        });
        return;
    }
    sortByKey(order, descending, [&](int row, QByteArray& scratch) {
        utf8At(row, column, scratch);
        const auto v = TolerantNumber::decimal(QByteArrayView(scratch), m_fmt);
        return KeyedOrder::ofDouble(v.has_value(), v.value_or(0));
    });
}
