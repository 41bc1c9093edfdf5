#include "LogPurge.h"

#include "LegacyText.h"
#include "LogLines.h"

#include <algorithm>

namespace LogPurge {

QDate cutOffDate(const QDate& today, qint64 monthsBack) {
    // Beyond a hundred months either way no date can be formed; clamping keeps
    // the arithmetic from overflowing.
    monthsBack = std::clamp<qint64>(monthsBack, -100, 100);
    const qint64 m = today.month();
    qint64 year = today.year();
    qint64 month = m - monthsBack;
    if (month < 1) {
        year -= 1;
        month = 12 - (monthsBack - m);
        if (month == 0)
            month = 12;
    }
    const QDate cutOff = month >= 1 && month <= 12 ? QDate(int(year), int(month), 12) : QDate();
    return cutOff.isValid() ? cutOff : QDate(1970, 1, 1);
}

QByteArrayView secondField(QByteArrayView line) {
    const qsizetype first = line.indexOf(';');
    if (first < 0)
        return line;
    const QByteArrayView rest = line.sliced(first + 1);
    const qsizetype second = rest.indexOf(';');
    return second < 0 ? rest : rest.first(second);
}

QByteArray purged(const QByteArray& content, const QDate& cutOff, const DateTimeReader& reader) {
    QByteArray out;
    out.reserve(content.size() + content.size() / 32);
    if (LogLines::hasByteOrderMark(content))
        out += LogLines::kByteOrderMark;
    // Lines are kept byte for byte; only their line ends become CR LF.
    LogLines::forEach(content, [&](QByteArrayView line) {
        const QByteArrayView field = secondField(line);
        // A line in Windows-1252 may spell a month name with letters beyond ASCII.
        const auto date = LegacyText::isAscii(field) || LegacyText::isUtf8(line)
                              ? reader.dateOf(field)
                              : reader.dateOf(LegacyText::toUtf8(field));
        if (date && *date < cutOff)
            return;
        out += line;
        out += "\r\n";
    });
    return out;
}

} // namespace LogPurge
