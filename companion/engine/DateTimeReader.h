#pragma once
// Reads the dates and times the monitor writes into its log (the locale's
// short date and long time formats) straight from UTF-8 bytes, fast enough for
// a million lines. Two-digit years fall in the hundred years around a pivot.

#include "FormatSettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>

#include <array>
#include <optional>
#include <vector>

class DateTimeReader {
public:
    DateTimeReader(const FormatSettings& fmt, int pivotYear);

    // The date of a text in the short date format, optionally followed by
    // blanks and a time of day in the long time format (its seconds may be
    // left out); blanks around are allowed. nullopt when it does not convert.
    std::optional<QDate> dateOf(QByteArrayView text) const;
    // The same as year * 100 + month (199903), without forming a QDate.
    std::optional<int> monthOf(QByteArrayView text) const;

private:
    enum class Kind { Literal, Day, Month, MonthName, DayName, Year, Hour, Minute, Second, AmPm };
    struct Token {
        Kind kind;
        QByteArray literal;
    };
    using Pattern = std::vector<Token>;
    struct Parsed {
        int day = -1, month = -1, year = -1, yearDigits = 0;
        int hour = -1, minute = -1, second = 0, amPm = 0; // amPm: 1 AM, 2 PM
    };

    static Kind kindOf(char letter, int run);
    static Pattern compile(const QString& format);
    static Pattern withoutSeconds(const Pattern& pattern);
    bool match(const Pattern& pattern, const char*& p, const char* end, Parsed& out) const;
    bool matchToken(const Token& token, const char*& p, const char* end, Parsed& out) const;
    bool matchTime(const Pattern& pattern, const char* p, const char* end) const;
    // Year, month and day of a valid date in parsed, else false.
    bool readDate(QByteArrayView text, Parsed& parsed) const;

    Pattern m_date;
    Pattern m_time;
    Pattern m_timeShort;
    std::array<QByteArray, 24> m_monthNames; // long names first, then short ones
    std::array<QByteArray, 14> m_dayNames;
    std::array<QByteArray, 4> m_designators; // AM, PM, locale AM, locale PM
    int m_pivotYear;
};
