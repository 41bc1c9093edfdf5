// The text forms of money, minutes and totals, and the day-fraction helpers
// that the accounting relies on.

#include "TariffTexts.h"
#include "AccountingFixture.h"
#include "Converters.h"
#include "DayTime.h"
#include "TotalTexts.h"

namespace {

using TextsTest = AccountingTest;

TEST_F(TextsTest, MoneyTextTruncatesToHundredths) {
    EXPECT_EQ(MoneyText(2.999, fmt), QStringLiteral("2.99"));
    EXPECT_EQ(MoneyText(2.05, fmt), QStringLiteral("2.05"));
    EXPECT_EQ(MoneyText(2.5, fmt), QStringLiteral("2.50"));
    EXPECT_EQ(MoneyText(0.0, fmt), QStringLiteral("0.00"));
    EXPECT_EQ(MoneyText(0.35 + 3 * 0.1, fmt), QStringLiteral("0.65"));
    EXPECT_EQ(MoneyText(1234.5, fmt), QStringLiteral("1234.50"));
    EXPECT_EQ(MoneyText(2.05, TestFormats::svSE()), QStringLiteral("2,05"));
}

TEST_F(TextsTest, MinutesTextIsHoursAndTwoDigitMinutes) {
    EXPECT_EQ(MinutesText(75, fmt), QStringLiteral("1:15"));
    EXPECT_EQ(MinutesText(5, fmt), QStringLiteral("0:05"));
    EXPECT_EQ(MinutesText(0, fmt), QStringLiteral("0:00"));
    EXPECT_EQ(MinutesText(600, fmt), QStringLiteral("10:00"));
    fmt.timeSeparator = QLatin1Char('.');
    EXPECT_EQ(MinutesText(1501, fmt), QStringLiteral("25.01"));
}

TEST_F(TextsTest, DecimalTextReadsBackUnderItsOwnLocale) {
    for (const FormatSettings& f : {TestFormats::enUS(), TestFormats::svSE()}) {
        for (double v : {0.0, 0.1 + 0.2, 12.35, 1234567.891, 0.00001, -0.25}) {
            const QString text = DecimalText(v, f);
            EXPECT_FALSE(text.contains(QLatin1Char('e'))) << text.toStdString();
            EXPECT_NEAR(ParseDecimal(text, f), v, 1e-12) << text.toStdString();
        }
    }
    EXPECT_EQ(DecimalText(0.1 + 0.2, fmt), QStringLiteral("0.3"));
    EXPECT_EQ(DecimalText(12.5, TestFormats::svSE()), QStringLiteral("12,5"));
    // Huge totals keep their exponent, in 15 significant digits at most.
    for (const FormatSettings& f : {TestFormats::enUS(), TestFormats::svSE()}) {
        for (double v : {1e308, -2.5e200, 123456789012345678.0}) {
            const QString text = DecimalText(v, f);
            EXPECT_LE(text.size(), 21) << text.toStdString();
            EXPECT_NEAR(ParseDecimal(text, f) / v, 1.0, 1e-14) << text.toStdString();
        }
    }
    EXPECT_EQ(DecimalText(1e308, fmt), QStringLiteral("1e+308"));
    EXPECT_EQ(DecimalText(2.5e20, TestFormats::svSE()), QStringLiteral("2,5e+20"));
}

TEST_F(TextsTest, TotalTextsFollowTheDisplayMode) {
    TotalTexts texts(settings, intl, fmt);
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("12,5"));
    EXPECT_EQ(texts.TotalText(75), QStringLiteral("Total connection time: 1:15"));
    EXPECT_EQ(texts.TrayTotalText(75), QStringLiteral("1:15"));
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    EXPECT_EQ(texts.TotalText(75), QStringLiteral("Total connection cost: $12.50"));
    EXPECT_EQ(texts.TrayTotalText(75), QStringLiteral("$12.50 (1:15)"));
    SetUser(QStringLiteral("Language"), QStringLiteral("5"));
    EXPECT_EQ(texts.TotalText(75), QStringLiteral("Total anslutningskostnad: $12.50"));
}

TEST_F(TextsTest, SpansAreSplitWithinOneDay) {
    const DayTime::Hms h = DayTime::Split(At(25, 4, 59) + 0.6 * DayTime::kSecond);
    EXPECT_EQ(h.hours, 1);
    EXPECT_EQ(h.minutes, 4);
    EXPECT_EQ(h.seconds, 59);
    EXPECT_EQ(DayTime::TotalSeconds(h), 3899);
    // Past midnight the end carries 23:59:59: one second short.
    const double end = DayTime::AcrossMidnight(At(23, 59, 40), At(0, 0, 11));
    EXPECT_EQ(DayTime::TotalSeconds(DayTime::Split(end - At(23, 59, 40))), 30);
    EXPECT_DOUBLE_EQ(DayTime::AcrossMidnight(At(1, 0), At(2, 0)), At(2, 0));
    EXPECT_DOUBLE_EQ(DayTime::CutToSeconds(At(10, 0, 5) + 0.9 * DayTime::kSecond), At(10, 0, 5));
}

} // namespace
