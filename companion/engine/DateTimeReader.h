#pragma once
// Reads the dates and times the monitor writes into its log (the locale's
// short date and long time formats) straight from UTF-8 bytes, fast enough for
// a million lines. Two-digit years fall in the hundred years around a pivot.

#include "FormatSettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>

#include <array>
#include <cstdint>
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

    // For a text that is a date and a time apart (the log's fields 2 and 3),
    // monthOf(date + " " + time) is monthOfDateAlone(date), when that has a
    // value, if isTimeAfterDate(time), else nullopt; so a date met on many
    // lines is read once. monthOfDateAlone has no value when the date is
    // not a date alone (or the format cannot tell): read the joined text.
    std::optional<int> monthOfDateAlone(QByteArrayView date) const;
    bool isTimeAfterDate(QByteArrayView time) const;

private:
    enum class Kind { Literal, Day, Month, MonthName, DayName, Year, Hour, Minute, Second, AmPm };
    struct Token {
        Kind kind;
        QByteArray literal;
    };
    using Pattern = std::vector<Token>;
    // A pattern of numbers and literals without blanks, as one step a byte
    // or a number: what a log's numeric dates and times take, without the
    // general matching. Empty when the pattern has anything else.
    struct Step {
        Kind kind;
        char literal;
    };
    // The text when every number has all its digits ("dddd-dd-dd", 8 to 16
    // bytes): checked as two words that overlap, eight bytes at a time.
    struct Shape {
        int size = 0;                     // 0: no shape
        std::uint64_t fixedMask[2] = {};  // the literals' bytes and the digits' high nibbles
        std::uint64_t fixedValue[2] = {}; // what they must be
        std::uint64_t lowMask[2] = {};    // the digits' low nibbles
        std::uint64_t lowAdd[2] = {};     // 6 under each: a carry means above 9
        std::uint64_t carryMask[2] = {};
        struct Number {
            Kind kind;
            int at;
            int digits;
        };
        std::vector<Number> numbers;
    };
    struct Steps {
        std::vector<Step> steps;
        Shape shape;
        bool empty() const { return steps.empty(); }
    };
    static Shape shapeOf(const std::vector<Step>& steps);
    struct Parsed {
        int day = -1, month = -1, year = -1, yearDigits = 0;
        int hour = -1, minute = -1, second = 0, amPm = 0; // amPm: 1 AM, 2 PM
    };

    static Kind kindOf(char letter, int run);
    static Pattern compile(const QString& format);
    static Pattern withoutSeconds(const Pattern& pattern);
    static Steps stepsOf(const Pattern& pattern);
    bool match(const Pattern& pattern, const Steps& steps, const char*& p, const char* end,
               Parsed& out) const;
    static bool matchSteps(const Steps& steps, const char*& p, const char* end, Parsed& out);
    static bool matchShape(const Steps& steps, const char*& p, const char* end, Parsed& out);
    static void store(Kind kind, int value, int digits, Parsed& out);
    // The most digits a number of kind has: four for a year, else two.
    static int digitsOf(Kind kind);
    bool matchToken(const Token& token, const char*& p, const char* end, Parsed& out) const;
    bool matchTime(const Pattern& pattern, const Steps& steps, const char* p,
                   const char* end) const;
    // Year, month and day of a valid date in parsed, else false.
    bool readDate(QByteArrayView text, Parsed& parsed) const;
    // Blanks, then the date format from p, which is left after the date.
    bool matchDate(const char*& p, const char* end, Parsed& parsed) const;

    // True when no token of the date format can reach past a date's end
    // (a designator, a blank at the end), so a date reads the same alone.
    static bool readsAlone(const Pattern& date);

    Pattern m_date;
    bool m_dateReadsAlone;
    Pattern m_time;
    Pattern m_timeShort;
    Steps m_dateSteps;
    Steps m_timeSteps;
    Steps m_timeShortSteps;
    std::array<QByteArray, 24> m_monthNames; // long names first, then short ones
    std::array<QByteArray, 14> m_dayNames;
    std::array<QByteArray, 4> m_designators; // AM, PM, locale AM, locale PM
    int m_pivotYear;
};
