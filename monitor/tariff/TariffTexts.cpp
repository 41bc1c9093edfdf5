#include "TariffTexts.h"

#include <cmath>

QString MoneyText(double amount, const FormatSettings& fmt) {
    // Counting in millionths first keeps 2.05 (stored as 2.04999...) at 05
    // hundredths; the tariff's amounts carry no more precision than that.
    const qint64 millionths = std::llround(std::fabs(amount) * 1e6);
    const qint64 whole = millionths / 1000000;
    const qint64 hundredths = millionths % 1000000 / 10000;
    QString out = QString::number(whole) + fmt.decimalSeparator;
    if (hundredths < 10)
        out += QLatin1Char('0');
    out += QString::number(hundredths);
    return amount < 0 && millionths >= 10000 ? QLatin1Char('-') + out : out;
}

QString MinutesText(qint64 minutes, const FormatSettings& fmt) {
    const qint64 rest = minutes % 60;
    QString out = QString::number(minutes / 60) + fmt.timeSeparator;
    if (rest < 10 && rest >= 0)
        out += QLatin1Char('0');
    return out + QString::number(rest);
}

QString CurrencyText(double amount, const FormatSettings& fmt) {
    return fmt.formatCurrency(amount);
}

QString DecimalText(double value, const FormatSettings& fmt) {
    QString text = QString::number(value, 'g', 15);
    // A huge amount keeps its exponent ("1e+308" reads back; its digits in
    // full would run to hundreds). A tiny one is written in fixed point:
    // the minus of "1e-05" would be taken for a separator.
    if (text.contains(QLatin1String("e-"))) {
        text = QString::number(value, 'f', 12);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text.replace(QLatin1Char('.'), fmt.decimalSeparator);
}
