#include "FormatSettings.h"

#include <QCalendar>
#include <QRegularExpression>

#include <cmath>

namespace {

QChar firstSeparator(const QString& format, QChar fallback) {
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return fallback;
}

// Qt's long time formats carry a time-zone token ("t", "tttt"); log lines and
// status texts never show one.
QString withoutTimeZone(QString format) {
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?"));
    return format.remove(zone).trimmed();
}

QString quotedLiteral(QString text) {
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

bool isDesignatorToken(QChar c) {
    return c == QLatin1Char('A') || c == QLatin1Char('a');
}

bool hasDesignatorToken(const QString& format) {
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && isDesignatorToken(c))
            return true;
    }
    return false;
}

// Replaces the AM/PM tokens outside quotes by the designator as a quoted
// literal. Qt writes "h" on the twelve-hour clock only while the format holds
// such a token, so with the token gone the hour becomes a literal as well.
QString substituteDesignator(const QString& format, const QTime& time, const QString& designator) {
    if (!hasDesignatorToken(format))
        return format;
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    QString out;
    bool quoted = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
        } else if (!quoted && isDesignatorToken(c)) {
            if (i + 1 < format.size() &&
                (format.at(i + 1) == QLatin1Char('P') || format.at(i + 1) == QLatin1Char('p')))
                ++i;
            out += quotedLiteral(designator);
        } else if (!quoted && c == QLatin1Char('h')) {
            const bool padded = i + 1 < format.size() && format.at(i + 1) == QLatin1Char('h');
            if (padded)
                ++i;
            out += quotedLiteral(
                QStringLiteral("%1").arg(hour12, padded ? 2 : 1, 10, QLatin1Char('0')));
        } else {
            out += c;
        }
    }
    return out;
}

int currencyPosition(const QLocale& locale, const QString& symbol) {
    const QString sample = locale.toCurrencyString(1.0, symbol);
    const bool before = sample.startsWith(symbol);
    const bool spaced = before ? sample.mid(symbol.size(), 1).trimmed().isEmpty()
                               : sample.left(sample.size() - symbol.size()).endsWith(QChar(0xa0)) ||
                                     sample.left(sample.size() - symbol.size()).endsWith(' ');
    if (before)
        return spaced ? 2 : 0;
    return spaced ? 3 : 1;
}

} // namespace

FormatSettings FormatSettings::fromLocale(const QLocale& locale) {
    FormatSettings f;
    f.decimalSeparator = locale.decimalPoint().at(0);
    const QString group = locale.groupSeparator();
    f.thousandSeparator = group.isEmpty() ? QChar(' ') : group.at(0);
    f.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    f.longTimeFormat = withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
    f.dateSeparator = firstSeparator(f.shortDateFormat, QLatin1Char('/'));
    f.timeSeparator = firstSeparator(f.longTimeFormat, QLatin1Char(':'));
    f.amDesignator = locale.amText();
    f.pmDesignator = locale.pmText();
    f.currencyString = locale.currencySymbol(QLocale::CurrencySymbol);
    f.currencyFormat = currencyPosition(locale, f.currencyString);
    const QString sample = locale.toCurrencyString(1.5, QStringLiteral("X"));
    const int at = sample.indexOf(locale.decimalPoint());
    f.currencyDecimals = 0;
    for (int i = at + 1; at >= 0 && i < sample.size() && sample.at(i).isDigit(); ++i)
        ++f.currencyDecimals;
    return f;
}

FormatSettings FormatSettings::system() {
    return fromLocale(QLocale::system());
}

QString FormatSettings::formatDate(const QDate& date) const {
    return QLocale::c().toString(date, shortDateFormat);
}

QString FormatSettings::formatTime(const QTime& time) const {
    const QString fmt =
        substituteDesignator(longTimeFormat, time, time.hour() < 12 ? amDesignator : pmDesignator);
    return QLocale::c().toString(time, fmt);
}

std::optional<QDate> FormatSettings::parseDate(const QString& text, int pivotYear) const {
    const QString t = text.trimmed();
    if (shortDateFormat.contains(QLatin1String("yyyy"))) {
        const QDate d = QLocale::c().toDate(t, shortDateFormat);
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    // Qt reads "yy" as 19yy, and 29 February 1900 does not exist (so "2/29/00"
    // would fail); the Julian calendar has that day, so the fields are read
    // there and the year is then moved into the window around the pivot.
    const QCalendar julian(QCalendar::System::Julian);
    const QDate read = QLocale::c().toDate(t, shortDateFormat, julian);
    if (!read.isValid()) {
        QString four = shortDateFormat;
        four.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        const QDate d = QLocale::c().toDate(t, four);
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    const QCalendar::YearMonthDay parts = julian.partsFromDate(read);
    int year = (pivotYear / 100) * 100 + parts.year % 100;
    if (year > pivotYear + 50)
        year -= 100;
    else if (year <= pivotYear - 50)
        year += 100;
    const QDate d(year, parts.month, parts.day);
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

QString FormatSettings::formatFixed(double value, int decimals) const {
    QString s = QLocale::c().toString(value, 'f', decimals);
    s.replace(QLatin1Char('.'), decimalSeparator);
    return s;
}

QString FormatSettings::formatGrouped(double value, int decimals) const {
    QString s = QLocale::c().toString(std::fabs(value), 'f', decimals);
    const int dot = s.indexOf(QLatin1Char('.'));
    QString whole = dot < 0 ? s : s.left(dot);
    const QString frac = dot < 0 ? QString() : s.mid(dot + 1);
    for (int i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, thousandSeparator);
    QString out = whole;
    if (!frac.isEmpty())
        out += decimalSeparator + frac;
    const bool negative = value < 0 && s.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return negative ? QLatin1Char('-') + out : out;
}

QString FormatSettings::formatCurrency(double value) const {
    const QString number = formatGrouped(std::fabs(value), currencyDecimals);
    QString out;
    switch (currencyFormat) {
    case 1:
        out = number + currencyString;
        break;
    case 2:
        out = currencyString + QLatin1Char(' ') + number;
        break;
    case 3:
        out = number + QLatin1Char(' ') + currencyString;
        break;
    default:
        out = currencyString + number;
        break;
    }
    const bool negative = value < 0 && formatGrouped(value, currencyDecimals).startsWith('-');
    return negative ? QLatin1Char('-') + out : out;
}
