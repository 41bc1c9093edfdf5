// Whatever a locale's formats write must read back to the same value: times
// (with AM/PM designators), short dates (with two-digit years) and decimals.

#include "Converters.h"
#include "TestFormats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class FormatRoundTrip : public ::testing::TestWithParam<const char*> {
protected:
    FormatSettings fmt = TestFormats::forLocale(GetParam());
};

TEST_P(FormatRoundTrip, TimesReadBackAsWritten) {
    for (const QTime t : {QTime(0, 0, 5), QTime(0, 30), QTime(9, 5), QTime(12, 0), QTime(12, 30),
                          QTime(13, 30), QTime(23, 59, 59)}) {
        const QString text = fmt.formatTime(t);
        const double expected = t.msecsSinceStartOfDay() / 86400000.0;
        EXPECT_NEAR(ParseTimeOfDay(text, fmt), expected, 1e-9)
            << text.toStdString() << " for " << t.toString().toStdString();
    }
}

TEST_P(FormatRoundTrip, DatesReadBackAsWritten) {
    const int thisYear = 2026;
    for (const QDate d : {QDate(2026, 8, 30), QDate(2026, 1, 5), QDate(1999, 12, 31),
                          QDate(2000, 2, 29), QDate(2024, 2, 29), QDate(2050, 6, 1)}) {
        const QString text = fmt.formatDate(d);
        const auto back = fmt.parseDate(text, thisYear);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(*back, d) << text.toStdString();
    }
}

TEST_P(FormatRoundTrip, DecimalsReadBackAsWritten) {
    for (const double v : {0.35, 1234.5, -2.75, 0.0}) {
        const QString fixed = fmt.formatFixed(v, 2);
        EXPECT_DOUBLE_EQ(ParseDecimal(fixed, fmt), v) << fixed.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, FormatRoundTrip,
                         ::testing::Values("en_US", "en_GB", "de_DE", "sv_SE", "fr_FR"));

TEST(FormatSettings, TakesSeparatorsAndFormatsFromTheLocale) {
    const FormatSettings us = TestFormats::enUS();
    EXPECT_EQ(us.formatTime(QTime(13, 30)), "1:30:00 PM");
    EXPECT_EQ(us.formatDate(QDate(2026, 8, 30)), "8/30/26");
    EXPECT_EQ(us.formatCurrency(-1234.5), "-$1,234.50");

    const FormatSettings de = TestFormats::forLocale("de_DE");
    EXPECT_EQ(de.decimalSeparator, QLatin1Char(','));
    EXPECT_EQ(de.thousandSeparator, QLatin1Char('.'));
    EXPECT_EQ(de.dateSeparator, QLatin1Char('.'));
    EXPECT_EQ(de.timeSeparator, QLatin1Char(':'));
    EXPECT_EQ(de.formatDate(QDate(2026, 8, 30)), "30.08.26");
    EXPECT_EQ(de.formatTime(QTime(13, 30)), "13:30:00");
    EXPECT_EQ(de.formatGrouped(1234567.891, 2), "1.234.567,89");
    EXPECT_EQ(de.currencyDecimals, 2);

    const FormatSettings sv = TestFormats::svSE();
    EXPECT_EQ(sv.formatDate(QDate(2026, 8, 30)), "2026-08-30");
    EXPECT_EQ(sv.formatFixed(-0.5, 2), "-0,50");
}

TEST(FormatSettings, TwoDigitYearsFallInTheHundredYearsAroundThePivot) {
    const FormatSettings us = TestFormats::enUS();
    EXPECT_EQ(us.parseDate("8/30/26", 2026), QDate(2026, 8, 30));
    EXPECT_EQ(us.parseDate("1/1/76", 2026), QDate(2076, 1, 1));
    EXPECT_EQ(us.parseDate("1/1/77", 2026), QDate(1977, 1, 1));
    EXPECT_EQ(us.parseDate("12/31/99", 2026), QDate(1999, 12, 31));
    EXPECT_EQ(us.parseDate("1/1/99", 2080), QDate(2099, 1, 1));
    // A four-digit year is taken as written.
    EXPECT_EQ(us.parseDate("8/30/1926", 2026), QDate(1926, 8, 30));
    EXPECT_FALSE(us.parseDate("13/45/26", 2026).has_value());
    EXPECT_FALSE(us.parseDate("yesterday", 2026).has_value());
}

} // namespace
