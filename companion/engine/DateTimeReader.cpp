#include "DateTimeReader.h"

#include <QLocale>
#include <QSysInfo>

#include <cstring>

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
    : m_date(compile(fmt.shortDateFormat)), m_dateReadsAlone(readsAlone(m_date)),
      m_time(compile(fmt.longTimeFormat)), m_timeShort(withoutSeconds(m_time)),
      m_dateSteps(stepsOf(m_date)), m_timeSteps(stepsOf(m_time)),
      m_timeShortSteps(stepsOf(m_timeShort)), m_pivotYear(pivotYear) {
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

bool DateTimeReader::readsAlone(const Pattern& date) {
    for (const Token& token : date)
        if (token.kind == Kind::AmPm)
            return false;
    return date.empty() || date.back().kind != Kind::Literal || !date.back().literal.endsWith(' ');
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

int DateTimeReader::digitsOf(Kind kind) {
    return kind == Kind::Year ? 4 : 2;
}

DateTimeReader::Steps DateTimeReader::stepsOf(const Pattern& pattern) {
    Steps out;
    for (const Token& token : pattern) {
        switch (token.kind) {
        case Kind::Literal:
            for (char c : token.literal) {
                if (c == ' ' || isDigit(c) || c == 0)
                    return Steps();
                out.steps.push_back({Kind::Literal, c});
            }
            break;
        case Kind::Day:
        case Kind::Month:
        case Kind::Year:
        case Kind::Hour:
        case Kind::Minute:
        case Kind::Second:
            out.steps.push_back({token.kind, 0});
            break;
        default:
            return Steps();
        }
    }
    out.shape = shapeOf(out.steps);
    return out;
}

DateTimeReader::Shape DateTimeReader::shapeOf(const std::vector<Step>& steps) {
    Shape shape;
    QByteArray bytes; // 0 for a digit
    for (const Step& step : steps) {
        if (step.kind == Kind::Literal) {
            bytes += step.literal;
            continue;
        }
        shape.numbers.push_back({step.kind, int(bytes.size()), digitsOf(step.kind)});
        bytes += QByteArray(digitsOf(step.kind), '\0');
    }
    if (bytes.size() < 8 || bytes.size() > 16)
        return Shape();
    shape.size = int(bytes.size());
    for (int word = 0; word < 2; ++word) {
        const int from = word == 0 ? 0 : shape.size - 8;
        for (int i = 0; i < 8; ++i) {
            const int shift = 8 * i; // the words are read little-endian
            const auto byte = std::uint8_t(bytes[from + i]);
            if (byte != 0) {
                shape.fixedMask[word] |= std::uint64_t(0xFF) << shift;
                shape.fixedValue[word] |= std::uint64_t(byte) << shift;
            } else {
                shape.fixedMask[word] |= std::uint64_t(0xF0) << shift;
                shape.fixedValue[word] |= std::uint64_t(0x30) << shift;
                shape.lowMask[word] |= std::uint64_t(0x0F) << shift;
                shape.lowAdd[word] |= std::uint64_t(0x06) << shift;
                shape.carryMask[word] |= std::uint64_t(0x10) << shift;
            }
        }
    }
    return shape;
}

void DateTimeReader::store(Kind kind, int value, int digits, Parsed& out) {
    switch (kind) {
    case Kind::Day:
        out.day = value;
        break;
    case Kind::Month:
        out.month = value;
        break;
    case Kind::Year:
        out.year = value;
        out.yearDigits = digits;
        break;
    case Kind::Hour:
        out.hour = value;
        break;
    case Kind::Minute:
        out.minute = value;
        break;
    default:
        out.second = value;
        break;
    }
}

// A text of the full shape reads as the steps read it: each number takes
// exactly its most digits, as the steps take at most that many.
bool DateTimeReader::matchShape(const Steps& steps, const char*& p, const char* end, Parsed& out) {
    const Shape& shape = steps.shape;
    if (shape.size == 0 || end - p < shape.size || QSysInfo::ByteOrder != QSysInfo::LittleEndian)
        return false;
    for (int word = 0; word < 2; ++word) {
        std::uint64_t w;
        std::memcpy(&w, p + (word == 0 ? 0 : shape.size - 8), 8);
        if ((w & shape.fixedMask[word]) != shape.fixedValue[word] ||
            (((w & shape.lowMask[word]) + shape.lowAdd[word]) & shape.carryMask[word]) != 0)
            return false;
    }
    for (const Shape::Number& n : shape.numbers) {
        int value = 0;
        for (int i = 0; i < n.digits; ++i)
            value = value * 10 + (p[n.at + i] - '0');
        store(n.kind, value, n.digits, out);
    }
    p += shape.size;
    return true;
}

// The same as matching the tokens one by one, for a pattern of steps.
bool DateTimeReader::matchSteps(const Steps& steps, const char*& p, const char* end, Parsed& out) {
    if (matchShape(steps, p, end, out))
        return true;
    for (const Step& step : steps.steps) {
        if (step.kind == Kind::Literal) {
            if (p == end || *p != step.literal)
                return false;
            ++p;
            continue;
        }
        if (p == end || !isDigit(*p))
            return false;
        int value = *p++ - '0';
        int digits = 1;
        const int most = digitsOf(step.kind);
        for (; digits < most && p != end && isDigit(*p); ++digits)
            value = value * 10 + (*p++ - '0');
        store(step.kind, value, digits, out);
    }
    return true;
}

bool DateTimeReader::match(const Pattern& pattern, const Steps& steps, const char*& p,
                           const char* end, Parsed& out) const {
    if (!steps.empty())
        return matchSteps(steps, p, end, out);
    for (const Token& token : pattern)
        if (!matchToken(token, p, end, out))
            return false;
    return true;
}

bool DateTimeReader::matchTime(const Pattern& pattern, const Steps& steps, const char* p,
                               const char* end) const {
    Parsed t;
    if (!match(pattern, steps, p, end, t))
        return false;
    skipBlanks(p, end);
    if (p != end || t.hour < 0 || t.minute < 0 || t.minute > 59 || t.second > 59)
        return false;
    if (t.amPm != 0)
        return t.hour <= 12;
    return t.hour <= 23;
}

bool DateTimeReader::matchDate(const char*& p, const char* end, Parsed& parsed) const {
    skipBlanks(p, end);
    if (!match(m_date, m_dateSteps, p, end, parsed) || parsed.day < 0 || parsed.month < 0 ||
        parsed.year < 0)
        return false;
    if (parsed.yearDigits <= 2) {
        // The same window as FormatSettings::parseDate.
        parsed.year += (m_pivotYear / 100) * 100;
        if (parsed.year > m_pivotYear + 50)
            parsed.year -= 100;
        else if (parsed.year <= m_pivotYear - 50)
            parsed.year += 100;
    }
    return QDate::isValid(parsed.year, parsed.month, parsed.day);
}

bool DateTimeReader::readDate(QByteArrayView text, Parsed& parsed) const {
    const char* p = text.data();
    const char* end = p + text.size();
    if (!matchDate(p, end, parsed))
        return false;
    const char* afterDate = p;
    skipBlanks(p, end);
    if (p == end)
        return true;
    // A time of day must be set off from the date by a blank.
    return p != afterDate && (matchTime(m_time, m_timeSteps, p, end) ||
                              matchTime(m_timeShort, m_timeShortSteps, p, end));
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

std::optional<int> DateTimeReader::monthOfDateAlone(QByteArrayView date) const {
    if (!m_dateReadsAlone)
        return std::nullopt;
    const char* p = date.data();
    const char* end = p + date.size();
    Parsed parsed;
    if (!matchDate(p, end, parsed))
        return std::nullopt;
    skipBlanks(p, end);
    if (p != end) // a time follows within the field itself
        return std::nullopt;
    return parsed.year * 100 + parsed.month;
}

bool DateTimeReader::isTimeAfterDate(QByteArrayView time) const {
    const char* p = time.data();
    const char* end = p + time.size();
    skipBlanks(p, end);
    return p == end || matchTime(m_time, m_timeSteps, p, end) ||
           matchTime(m_timeShort, m_timeShortSteps, p, end);
}
