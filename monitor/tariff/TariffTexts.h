#pragma once
// The text forms of an amount and of a minute count shared by the status
// window, the tray, the messages and the pending values.

#include "FormatSettings.h"

#include <QString>

// Whole units, the decimal separator and two digits of hundredths, truncated:
// 2.999 gives "2.99", 2.05 gives "2.05". The form of the pending cost.
QString MoneyText(double amount, const FormatSettings& fmt);

// Hours without padding, the time separator, two-digit minutes: 75 gives "1:15".
QString MinutesText(qint64 minutes, const FormatSettings& fmt);

// An amount in the locale's currency form with its currency decimals.
QString CurrencyText(double amount, const FormatSettings& fmt);

// The shortest decimal text of a stored total (up to 15 significant digits)
// with the locale's decimal separator, so that the separator-tolerant reader
// takes it back: fixed point, but for amounts of 1e15 and more, which keep
// their exponent ("1e+308").
QString DecimalText(double value, const FormatSettings& fmt);
