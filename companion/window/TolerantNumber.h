#pragma once
// The connection list's number readings: the separator-tolerant decimal and
// the plain integer, without allocations so that a million rows read fast.

#include "FormatSettings.h"

#include <QByteArrayView>
#include <QStringView>

#include <optional>

namespace TolerantNumber {

// Same result as ParseDecimal: when the text lacks the locale's decimal
// separator, the first of ",;-/:." it contains stands for it. nullopt when
// the text is no number.
std::optional<double> decimal(QStringView text, const FormatSettings& fmt);

// A decimal integer, surrounding blanks allowed (as StrToInt).
std::optional<qint64> integer(QStringView text);

// The same two from UTF-8 bytes, for a million rows without decoding them.
std::optional<double> decimal(QByteArrayView utf8, const FormatSettings& fmt);
std::optional<qint64> integer(QByteArrayView utf8);

} // namespace TolerantNumber
