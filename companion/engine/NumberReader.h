#pragma once
// Reads the numbers of log fields straight from their UTF-8 bytes, by the
// rules of StrToInt and StrToFloat (locale decimal separator, no tolerance),
// without building a string for each; other text goes through those two.

#include "FormatSettings.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

class NumberReader {
public:
    explicit NumberReader(const FormatSettings& fmt);

    // A decimal integer that fits 32 bits, blanks around allowed.
    std::optional<int> toInt(QByteArrayView text) const;
    // A decimal number written with the locale's decimal separator.
    std::optional<double> toFloat(QByteArrayView text) const;

private:
    std::optional<int> slowInt(QByteArrayView text) const;
    std::optional<double> slowFloat(QByteArrayView text) const;

    FormatSettings m_fmt;
    char m_separator; // 0 when the locale's separator is not ASCII
};
