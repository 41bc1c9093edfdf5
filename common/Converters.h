#pragma once
// Separator-tolerant conversions of stored numbers and times of day, and the
// flag rule. Settings are typed by users under any locale, so a number written
// with a point reads the same as one written with a comma.

#include "FormatSettings.h"

#include <QString>

#include <stdexcept>

// A text that does not convert; the message names the text.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "true" or "yes" in any case is true; other non-empty text is false.
bool FlagFromText(const QString& text);

// Normalises the separator, then converts with fmt's decimal separator.
// Throws ConversionError when the text is no number.
double ParseDecimal(const QString& text, const FormatSettings& fmt);

// Normalises the time separator, then converts hours, minutes and optional
// seconds (with optional AM/PM designator) to a fraction of a day.
// Throws ConversionError when the text is no time of day.
double ParseTimeOfDay(const QString& text, const FormatSettings& fmt);

// Converts a text that is already in fmt's decimal form (no normalisation).
double StrToFloat(const QString& text, const FormatSettings& fmt);

// A decimal integer, surrounding blanks allowed; throws ConversionError.
qint64 StrToInt(const QString& text);
