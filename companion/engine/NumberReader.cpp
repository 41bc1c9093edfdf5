#include "NumberReader.h"

#include "Converters.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

QByteArrayView trimmed(QByteArrayView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.sliced(from, to - from);
}

bool isAscii(QByteArrayView text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number grammar of StrToFloat once the separator is a point:
// [+-] (digits [.] digits* | . digits) ([eE] [+-] digits)?
bool matchesGrammar(const char* p, const char* end) {
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    const char* mantissa = p;
    int digits = 0;
    while (p < end && isDigit(*p))
        ++p, ++digits;
    if (p < end && *p == '.') {
        ++p;
        while (p < end && isDigit(*p))
            ++p, ++digits;
    }
    if (digits == 0 || p == mantissa)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        const char* exponent = p;
        while (p < end && isDigit(*p))
            ++p;
        if (p == exponent)
            return false;
    }
    return p == end;
}

} // namespace

NumberReader::NumberReader(const FormatSettings& fmt)
    : m_fmt(fmt),
      m_separator(fmt.decimalSeparator.unicode() < 0x80 ? char(fmt.decimalSeparator.unicode())
                                                        : char(0)) {}

std::optional<int> NumberReader::toInt(QByteArrayView text) const {
    if (!isAscii(text))
        return slowInt(text);
    const QByteArrayView t = trimmed(text);
    const char* p = t.data();
    const char* end = p + t.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    if (p == end)
        return std::nullopt;
    qint64 value = 0;
    for (; p < end; ++p) {
        if (!isDigit(*p))
            return std::nullopt;
        value = value * 10 + (*p - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

std::optional<double> NumberReader::generalFloat(QByteArrayView text) const {
    const QByteArrayView t = trimmed(text);
    char buffer[64];
    if (m_separator == 0 || t.size() >= qsizetype(sizeof buffer) || !isAscii(t))
        return slowFloat(text);
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '.' && m_separator != '.')
            return std::nullopt;
        buffer[i] = c == m_separator ? '.' : c;
    }
    const char* end = buffer + t.size();
    if (!matchesGrammar(buffer, end))
        return std::nullopt;
    const char* digits = buffer + (buffer[0] == '+' || buffer[0] == '-' ? 1 : 0);
    double value = 0;
    const auto result = std::from_chars(digits, end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return slowFloat(text);
    if (!std::isfinite(value))
        return std::nullopt;
    return buffer[0] == '-' ? -value : value;
}

std::optional<int> NumberReader::slowInt(QByteArrayView text) const {
    try {
        const qint64 value = StrToInt(QString::fromUtf8(text));
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
            return std::nullopt;
        return int(value);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

std::optional<double> NumberReader::slowFloat(QByteArrayView text) const {
    try {
        return StrToFloat(QString::fromUtf8(text), m_fmt);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}
