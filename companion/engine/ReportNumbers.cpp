#include "ReportNumbers.h"

#include <cmath>

namespace ReportNumbers {

namespace {

// The decimal exponent of |value| once rounded to precision digits.
int exponentAt(double value, int precision) {
    const QString e = QString::number(std::fabs(value), 'e', precision - 1);
    return e.mid(e.indexOf(QLatin1Char('e')) + 1).toInt();
}

QString scientific(double value, int precision, const FormatSettings& fmt) {
    const QString e = QString::number(value, 'e', precision - 1);
    const int at = e.indexOf(QLatin1Char('e'));
    QString mantissa = e.left(at);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    mantissa.replace(QLatin1Char('.'), fmt.decimalSeparator);
    const int exponent = e.mid(at + 1).toInt();
    return mantissa + QLatin1Char('E') + QString::number(exponent);
}

} // namespace

double rounded(double value, int precision, int decimals) {
    if (value == 0 || !std::isfinite(value))
        return value;
    const int places = std::min(decimals, precision - 1 - exponentAt(value, precision));
    if (places >= 0)
        return QString::number(value, 'f', places).toDouble();
    return QString::number(value, 'e', precision - 1).toDouble();
}

QString money(double value, int precision, int decimals, const FormatSettings& fmt) {
    FormatSettings form = fmt;
    form.currencyDecimals = decimals;
    return form.formatCurrency(rounded(value, precision, decimals));
}

QString fixed(double value, int precision, int decimals, const FormatSettings& fmt) {
    if (std::isfinite(value) && value != 0 && exponentAt(value, precision) >= precision)
        return scientific(value, precision, fmt);
    return fmt.formatFixed(rounded(value, precision, decimals), decimals);
}

qint64 share(double part, double total) {
    if (total == 0)
        throw Undefined("share of a zero total");
    const double percent = part / total * 100;
    if (!std::isfinite(percent) || std::fabs(percent) > 1e18)
        throw Undefined("share out of range");
    return std::llround(percent);
}

qint64 truncated(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18)
        throw Undefined("value out of the integer range");
    return qint64(std::trunc(value));
}

} // namespace ReportNumbers
