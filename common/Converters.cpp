#include "Converters.h"

#include <QRegularExpression>
#include <QStringList>

#include <charconv>
#include <cmath>

namespace {

const QString kSeparatorOrder = QStringLiteral(",;-/:.");

[[noreturn]] void notA(const QString& what, const QString& text) {
    throw ConversionError(QStringLiteral("'%1' is not a valid %2").arg(text, what).toStdString());
}

QChar firstPresentSeparator(const QString& text) {
    for (QChar c : kSeparatorOrder)
        if (text.contains(c))
            return c;
    return QChar();
}

// Strips an AM/PM designator (ours or the English one) from either end.
// Returns 0 when none, 1 for AM, 2 for PM.
int takeDesignator(QString& text, const FormatSettings& fmt) {
    const QString candidates[] = {fmt.amDesignator, fmt.pmDesignator, QStringLiteral("AM"),
                                  QStringLiteral("PM")};
    for (int i = 0; i < 4; ++i) {
        const QString& d = candidates[i];
        if (d.isEmpty())
            continue;
        const int kind = (i % 2 == 0) ? 1 : 2;
        if (text.endsWith(d, Qt::CaseInsensitive)) {
            text.chop(d.size());
            return kind;
        }
        if (text.startsWith(d, Qt::CaseInsensitive)) {
            text.remove(0, d.size());
            return kind;
        }
    }
    return 0;
}

} // namespace

bool FlagFromText(const QString& text) {
    const QString t = text.toLower();
    return t == QLatin1String("true") || t == QLatin1String("yes");
}

namespace {

// [+-]digits[.digits][(e|E)[+-]digits], with digits on at least one side of
// the point: the plain decimal form a user or the program writes.
bool plainNumber(const QByteArray& t) {
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto digits = [&] {
        const qsizetype from = i;
        while (i < n && t[i] >= '0' && t[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < n && (t[i] == '+' || t[i] == '-'))
        ++i;
    qsizetype mantissa = digits();
    if (i < n && t[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

} // namespace

double StrToFloat(const QString& text, const FormatSettings& fmt) {
    QString t = text.trimmed();
    if (fmt.decimalSeparator != QLatin1Char('.')) {
        if (t.contains(QLatin1Char('.')))
            notA(QStringLiteral("floating point value"), text);
        t.replace(fmt.decimalSeparator, QLatin1Char('.'));
    }
    const QByteArray latin = t.toLatin1();
    if (!plainNumber(latin))
        notA(QStringLiteral("floating point value"), text);
    // from_chars reads the same under every locale, and takes no plus sign.
    const char* first = latin.constData() + (latin.startsWith('+') ? 1 : 0);
    const char* last = latin.constData() + latin.size();
    double v = 0;
    const auto [end, error] = std::from_chars(first, last, v);
    if (error != std::errc() || end != last || !std::isfinite(v))
        notA(QStringLiteral("floating point value"), text);
    return v;
}

double ParseDecimal(const QString& text, const FormatSettings& fmt) {
    QString t = text;
    if (!t.contains(fmt.decimalSeparator)) {
        const QChar sep = firstPresentSeparator(t);
        if (!sep.isNull())
            t.replace(t.indexOf(sep), 1, fmt.decimalSeparator);
    }
    try {
        return StrToFloat(t, fmt);
    } catch (const ConversionError&) {
        notA(QStringLiteral("floating point value"), text);
    }
}

double ParseTimeOfDay(const QString& text, const FormatSettings& fmt) {
    QString t = text;
    if (!t.contains(fmt.timeSeparator)) {
        const QChar sep = firstPresentSeparator(t);
        if (!sep.isNull())
            t.replace(sep, fmt.timeSeparator);
    }
    t = t.trimmed();
    const int designator = takeDesignator(t, fmt);
    const QStringList parts = t.trimmed().split(fmt.timeSeparator);
    if (parts.size() < 2 || parts.size() > 3)
        notA(QStringLiteral("time"), text);
    int values[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const QString p = parts.at(i).trimmed();
        bool ok = false;
        values[i] = p.toInt(&ok);
        if (!ok || p.isEmpty() || p.startsWith('+') || p.startsWith('-'))
            notA(QStringLiteral("time"), text);
    }
    int hour = values[0];
    if (designator != 0) {
        if (hour < 1 || hour > 12)
            notA(QStringLiteral("time"), text);
        hour = hour % 12 + (designator == 2 ? 12 : 0);
    }
    if (hour > 23 || values[1] > 59 || values[2] > 59)
        notA(QStringLiteral("time"), text);
    return (hour * 3600 + values[1] * 60 + values[2]) / 86400.0;
}

qint64 StrToInt(const QString& text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        notA(QStringLiteral("integer value"), text);
    return v;
}
