#pragma once
// The user's number, date, time and currency formats, taken once from a
// locale and handed to every formatter and parser, so that tests can pin them.

#include <QChar>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

struct FormatSettings {
    QChar decimalSeparator = QLatin1Char('.');
    QChar thousandSeparator = QLatin1Char(',');
    QChar dateSeparator = QLatin1Char('/');
    QChar timeSeparator = QLatin1Char(':');
    QString shortDateFormat = QStringLiteral("M/d/yy");    // Qt date-format syntax
    QString longTimeFormat = QStringLiteral("h:mm:ss AP"); // no time-zone part
    QString amDesignator = QStringLiteral("AM");
    QString pmDesignator = QStringLiteral("PM");
    QString currencyString = QStringLiteral("$");
    // Where the currency string goes: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int currencyFormat = 0;
    int currencyDecimals = 2;

    static FormatSettings fromLocale(const QLocale& locale);
    // The formats of QLocale::system(), i.e. of LC_ALL / LANG.
    static FormatSettings system();

    QString formatDate(const QDate& date) const;
    QString formatTime(const QTime& time) const;
    // Reads a date written in the short date format; a two-digit year falls in
    // the hundred years around pivotYear (26 is 2026 when pivotYear is 2026).
    std::optional<QDate> parseDate(const QString& text, int pivotYear) const;

    // Plain fixed-point: the decimal separator, no grouping.
    QString formatFixed(double value, int decimals) const;
    // Fixed-point with the thousands separator.
    QString formatGrouped(double value, int decimals) const;
    // The locale's currency form with the currency decimals.
    QString formatCurrency(double value) const;
};
