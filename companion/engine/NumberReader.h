#pragma once
// Reads the numbers of log fields straight from their UTF-8 bytes, by the
// rules of StrToInt and StrToFloat (locale decimal separator, no tolerance),
// without building a string for each; other text goes through those two.

#include "FormatSettings.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

class NumberReader {
public:
    explicit NumberReader(const FormatSettings& fmt);

    // A decimal integer that fits 32 bits, blanks around allowed.
    std::optional<int> toInt(QByteArrayView text) const;
    // A decimal number written with the locale's decimal separator.
    std::optional<double> toFloat(QByteArrayView text) const {
        if (m_separator != 0)
            if (const auto quick = plainDecimal(text.data(), text.data() + text.size()))
                return quick;
        return generalFloat(text);
    }

private:
    // [+-] digits [separator digits], fewer than 2^53 as its digits and at
    // most 22 after the separator: both parts are exact doubles, so the one
    // division rounds exactly as a full decimal conversion would. Anything
    // else (blanks, exponents, long numbers) is left to generalFloat.
    std::optional<double> plainDecimal(const char* p, const char* end) const {
        static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        std::uint64_t mantissa = 0;
        int digits = 0;
        int fraction = 0;
        bool inFraction = false;
        for (; p < end; ++p) {
            const unsigned digit = unsigned(static_cast<unsigned char>(*p)) - '0';
            if (digit <= 9) {
                if (mantissa >= (std::uint64_t(1) << 53) / 10)
                    return std::nullopt;
                mantissa = mantissa * 10 + digit;
                ++digits;
                fraction += inFraction;
            } else if (*p == m_separator && !inFraction) {
                inFraction = true;
            } else {
                return std::nullopt;
            }
        }
        if (digits == 0 || fraction > 22)
            return std::nullopt;
        const double value = double(mantissa) / kPowersOfTen[fraction];
        return negative ? -value : value;
    }
    std::optional<double> generalFloat(QByteArrayView text) const;
    std::optional<int> slowInt(QByteArrayView text) const;
    std::optional<double> slowFloat(QByteArrayView text) const;

    FormatSettings m_fmt;
    char m_separator; // 0 when the locale's separator is not ASCII
};
