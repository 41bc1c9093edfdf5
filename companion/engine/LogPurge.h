#pragma once
// The purge of old log lines: the cut-off date worked out from "Purge after",
// and a file's content without the lines dated before it.

#include "DateTimeReader.h"

#include <QByteArray>
#include <QDate>

namespace LogPurge {

// The 12th of the month monthsBack months before today's month; 1 January 1970
// (which keeps everything) when that date cannot be formed.
QDate cutOffDate(const QDate& today, qint64 monthsBack);

// Field 2 of a line: between the first and the second ";", everything after a
// single ";", the whole line when it has none.
QByteArrayView secondField(QByteArrayView line);

// The content without the lines whose field 2 is a date before cutOff; every
// remaining line ends with CR LF (a byte-order mark at the start stays).
QByteArray purged(const QByteArray& content, const QDate& cutOff, const DateTimeReader& reader);

} // namespace LogPurge
