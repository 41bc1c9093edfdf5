#include "DateTimeReader.h"

#include <QLocale>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

void skipBlanks(const char*& p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
}

// Reads 1 to maxDigits digits; -1 when there is none.
int readNumber(const char*& p, const char* end, int maxDigits, int* digits = nullptr) {
    int value = 0;
    int n = 0;
    while (p < end && n < maxDigits && isDigit(*p)) {
        value = value * 10 + (*p++ - '0');
        ++n;
    }
    if (digits)
        *digits = n;
    return n == 0 ? -1 : value;
}

char foldAscii(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool startsWithFolded(const char* p, const char* end, const QByteArray& word) {
    if (word.isEmpty() || end - p < word.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i)
        if (foldAscii(p[i]) != foldAscii(word[i]))
            return false;
    return true;
}

// Index of the first word that the text starts with, -1 when none.
template <size_t N>
int matchWord(const char*& p, const char* end, const std::array<QByteArray, N>& words) {
    for (size_t i = 0; i < N; ++i) {
        if (startsWithFolded(p, end, words[i])) {
            p += words[i].size();
            return int(i);
        }
    }
    return -1;
}

} // namespace

DateTimeReader::DateTimeReader(const FormatSettings& fmt, int pivotYear)
    : m_date(compile(fmt.shortDateFormat)), m_time(compile(fmt.longTimeFormat)),
      m_timeShort(withoutSeconds(m_time)), m_pivotYear(pivotYear) {
    // The log's dates are written with the C locale's month and day names.
    const QLocale c = QLocale::c();
    for (int m = 1; m <= 12; ++m) {
        m_monthNames[size_t(m - 1)] = c.monthName(m, QLocale::LongFormat).toUtf8();
        m_monthNames[size_t(m + 11)] = c.monthName(m, QLocale::ShortFormat).toUtf8();
    }
    for (int d = 1; d <= 7; ++d) {
        m_dayNames[size_t(d - 1)] = c.dayName(d, QLocale::LongFormat).toUtf8();
        m_dayNames[size_t(d + 6)] = c.dayName(d, QLocale::ShortFormat).toUtf8();
    }
    m_designators = {QByteArrayLiteral("AM"), QByteArrayLiteral("PM"), fmt.amDesignator.toUtf8(),
                     fmt.pmDesignator.toUtf8()};
}

// The token of a run of one format letter; Literal for a letter that is none.
DateTimeReader::Kind DateTimeReader::kindOf(char letter, int run) {
    switch (letter) {
    case 'd':
        return run <= 2 ? Kind::Day : Kind::DayName;
    case 'M':
        return run <= 2 ? Kind::Month : Kind::MonthName;
    case 'y':
        return Kind::Year;
    case 'h':
    case 'H':
        return Kind::Hour;
    case 'm':
        return Kind::Minute;
    case 's':
        return Kind::Second;
    case 'a':
    case 'A':
    case 'p':
    case 'P':
        return Kind::AmPm;
    default:
        return Kind::Literal;
    }
}

DateTimeReader::Pattern DateTimeReader::compile(const QString& format) {
    Pattern pattern;
    auto literal = [&pattern](const QString& text) {
        if (pattern.empty() || pattern.back().kind != Kind::Literal)
            pattern.push_back({Kind::Literal, {}});
        pattern.back().literal += text.toUtf8();
    };
    for (int i = 0; i < format.size();) {
        const QChar c = format.at(i);
        int run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if (c == QLatin1Char('\'')) {
            const int close = format.indexOf(QLatin1Char('\''), i + 1);
            const int stop = close < 0 ? format.size() : close;
            literal(i + 1 == stop ? QStringLiteral("'") : format.mid(i + 1, stop - i - 1));
            i = stop + 1;
            continue;
        }
        const Kind kind = kindOf(c.unicode() < 0x80 ? char(c.unicode()) : 0, run);
        if (kind == Kind::Literal) {
            if (c != QLatin1Char('t')) // no time zone is ever written
                literal(QString(run, c));
        } else if (kind != Kind::AmPm || pattern.empty() || pattern.back().kind != Kind::AmPm) {
            pattern.push_back({kind, {}}); // "AP" is one designator
        }
        i += run;
    }
    return pattern;
}

// The same pattern with the seconds (and the separator before them) left out.
DateTimeReader::Pattern DateTimeReader::withoutSeconds(const Pattern& pattern) {
    Pattern out;
    for (const Token& token : pattern) {
        if (token.kind != Kind::Second)
            out.push_back(token);
        else if (!out.empty() && out.back().kind == Kind::Literal)
            out.pop_back();
    }
    return out;
}

bool DateTimeReader::matchToken(const Token& token, const char*& p, const char* end,
                                Parsed& out) const {
    switch (token.kind) {
    case Kind::Literal:
        for (char c : token.literal) {
            if (p == end || *p != c)
                return false;
            ++p;
            if (c == ' ')
                skipBlanks(p, end);
        }
        return true;
    case Kind::Day:
        return (out.day = readNumber(p, end, 2)) >= 0;
    case Kind::Month:
        return (out.month = readNumber(p, end, 2)) >= 0;
    case Kind::Year:
        return (out.year = readNumber(p, end, 4, &out.yearDigits)) >= 0;
    case Kind::Hour:
        return (out.hour = readNumber(p, end, 2)) >= 0;
    case Kind::Minute:
        return (out.minute = readNumber(p, end, 2)) >= 0;
    case Kind::Second:
        return (out.second = readNumber(p, end, 2)) >= 0;
    case Kind::MonthName: {
        const int i = matchWord(p, end, m_monthNames);
        out.month = i % 12 + 1;
        return i >= 0;
    }
    case Kind::DayName:
        return matchWord(p, end, m_dayNames) >= 0;
    case Kind::AmPm: {
        const int i = matchWord(p, end, m_designators);
        out.amPm = i % 2 + 1;
        return i >= 0;
    }
    }
    return false;
}

bool DateTimeReader::match(const Pattern& pattern, const char*& p, const char* end,
                           Parsed& out) const {
    for (const Token& token : pattern)
        if (!matchToken(token, p, end, out))
            return false;
    return true;
}

bool DateTimeReader::matchTime(const Pattern& pattern, const char* p, const char* end) const {
    Parsed t;
    if (!match(pattern, p, end, t))
        return false;
    skipBlanks(p, end);
    if (p != end || t.hour < 0 || t.minute < 0 || t.minute > 59 || t.second > 59)
        return false;
    if (t.amPm != 0)
        return t.hour <= 12;
    return t.hour <= 23;
}

bool DateTimeReader::readDate(QByteArrayView text, Parsed& parsed) const {
    const char* p = text.data();
    const char* end = p + text.size();
    skipBlanks(p, end);
    if (!match(m_date, p, end, parsed) || parsed.day < 0 || parsed.month < 0 || parsed.year < 0)
        return false;
    if (parsed.yearDigits <= 2) {
        // The same window as FormatSettings::parseDate.
        parsed.year += (m_pivotYear / 100) * 100;
        if (parsed.year > m_pivotYear + 50)
            parsed.year -= 100;
        else if (parsed.year <= m_pivotYear - 50)
            parsed.year += 100;
    }
    if (!QDate::isValid(parsed.year, parsed.month, parsed.day))
        return false;
    const char* afterDate = p;
    skipBlanks(p, end);
    if (p == end)
        return true;
    // A time of day must be set off from the date by a blank.
    return p != afterDate && (matchTime(m_time, p, end) || matchTime(m_timeShort, p, end));
}

std::optional<QDate> DateTimeReader::dateOf(QByteArrayView text) const {
    Parsed parsed;
    if (!readDate(text, parsed))
        return std::nullopt;
    return QDate(parsed.year, parsed.month, parsed.day);
}

std::optional<int> DateTimeReader::monthOf(QByteArrayView text) const {
    Parsed parsed;
    if (!readDate(text, parsed))
        return std::nullopt;
    return parsed.year * 100 + parsed.month;
}
