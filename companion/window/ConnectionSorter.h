#pragma once
// The connection list's column-click sorting: one direction flag per column,
// "User" descending on its first click, every other column ascending; text
// columns in the locale's collation, "Length" as an integer, the rates and
// the cost as separator-tolerant numbers. Rows with equal values keep their
// previous relative order; a text that is no number sorts before every number.

#include "FormatSettings.h"
#include "TextCollation.h"

#include <QLocale>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class ConnectionSorter {
public:
    static constexpr int kColumns = 7;
    using TextAt = std::function<QString(int row, int column)>;
    // A cell's text as UTF-8, written into out: how a million rows are read.
    using Utf8At = std::function<void(int row, int column, QByteArray& out)>;

    ConnectionSorter(const FormatSettings& fmt, const QLocale& collationLocale);

    // A click on a column header: sorts order (row numbers in display order)
    // by that column in the direction its flag gives, then inverts the flag.
    void columnClick(int column, std::vector<int>& order, const TextAt& textAt);
    void columnClick(int column, std::vector<int>& order, const Utf8At& utf8At);
    // The direction the next click on column will sort in.
    bool nextClickDescending(int column) const;
    // The column clicked last, -1 before any click.
    int lastColumn() const { return m_lastColumn; }

    // The same sort without touching the flags.
    void sort(int column, bool descending, std::vector<int>& order, const TextAt& textAt) const;
    void sort(int column, bool descending, std::vector<int>& order, const Utf8At& utf8At) const;

private:
    void sortByNumber(int column, bool descending, std::vector<int>& order,
                      const Utf8At& utf8At) const;

    FormatSettings m_fmt;
    TextCollation m_collation;
    std::array<bool, kColumns> m_flags{};
    int m_lastColumn = -1;
};
