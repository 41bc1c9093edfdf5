#include "TolerantNumber.h"

#include "Converters.h"

#include <charconv>

namespace TolerantNumber {

namespace {

const QString kSeparatorOrder = QStringLiteral(",;-/:.");

// The slow, general reading; used for anything the fast path does not know.
std::optional<double> viaConverters(QStringView text, const FormatSettings& fmt) {
    try {
        return ParseDecimal(text.toString(), fmt);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

int separatorAt(QStringView text, QChar decimal) {
    if (text.contains(decimal))
        return -1;
    for (QChar c : kSeparatorOrder) {
        const qsizetype at = text.indexOf(c);
        if (at >= 0)
            return int(at);
    }
    return -1;
}

// Accepts [+-]digits[.digits] | [+-].digits, the shape StrToFloat allows
// apart from exponents, which go the slow way.
bool plainNumber(const char* s, int n) {
    int i = (n > 0 && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    int before = 0;
    int after = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
        ++i;
        ++before;
    }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            ++i;
            ++after;
        }
    }
    return i == n && (before > 0 || after > 0);
}

} // namespace

std::optional<double> decimal(QStringView text, const FormatSettings& fmt) {
    const QStringView t = text.trimmed();
    constexpr int kMax = 48;
    if (t.isEmpty() || t.size() > kMax || fmt.decimalSeparator.unicode() > 127)
        return viaConverters(text, fmt);
    const int replaced = separatorAt(text, fmt.decimalSeparator) - int(t.data() - text.data());
    char buf[kMax + 1];
    int n = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        QChar c = (i == replaced) ? fmt.decimalSeparator : t.at(i);
        if (c.unicode() > 127)
            return viaConverters(text, fmt);
        if (c == QLatin1Char('.') && fmt.decimalSeparator != QLatin1Char('.'))
            return std::nullopt;
        if (c == fmt.decimalSeparator)
            c = QLatin1Char('.');
        buf[n++] = char(c.unicode());
    }
    if (!plainNumber(buf, n))
        return viaConverters(text, fmt);
    const char* first = buf[0] == '+' ? buf + 1 : buf;
    double value = 0;
    const auto res = std::from_chars(first, buf + n, value);
    if (res.ec != std::errc() || res.ptr != buf + n)
        return viaConverters(text, fmt);
    return value;
}

std::optional<qint64> integer(QStringView text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace TolerantNumber

namespace TolerantNumber {

namespace {

bool isAsciiBytes(QByteArrayView text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

// ASCII is read as the same characters; anything else is decoded first.
std::optional<double> decimal(QByteArrayView utf8, const FormatSettings& fmt) {
    constexpr qsizetype kMax = 48;
    if (utf8.size() > kMax || !isAsciiBytes(utf8))
        return decimal(QStringView(QString::fromUtf8(utf8)), fmt);
    char16_t wide[kMax];
    for (qsizetype i = 0; i < utf8.size(); ++i)
        wide[i] = char16_t(static_cast<unsigned char>(utf8[i]));
    return decimal(QStringView(wide, utf8.size()), fmt);
}

std::optional<qint64> integer(QByteArrayView utf8) {
    QByteArrayView t = utf8;
    const auto blank = [](char c) {
        return c == ' ' || (c >= '\t' && c <= '\r');
    };
    while (!t.isEmpty() && blank(t.front()))
        t = t.sliced(1);
    while (!t.isEmpty() && blank(t.back()))
        t.chop(1);
    if (t.isEmpty() || t.size() > 18 || !isAsciiBytes(t))
        return integer(QStringView(QString::fromUtf8(utf8)));
    qsizetype i = t.front() == '+' || t.front() == '-' ? 1 : 0;
    if (i == t.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        value = value * 10 + (t[i] - '0');
    }
    return t.front() == '-' ? -value : value;
}

} // namespace TolerantNumber
