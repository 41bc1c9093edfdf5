// Separator-tolerant decimals and times of day under point and comma locales.

#include "Converters.h"
#include "TestFormats.h"

#include <gtest/gtest.h>

namespace {

constexpr double kMinute = 1.0 / 1440.0;

FormatSettings pointLocale() {
    return TestFormats::enUS();
}
FormatSettings commaLocale() {
    return TestFormats::svSE();
}

// A time separator other than the colon ("8.30" is written that way).
FormatSettings dotTimeLocale() {
    FormatSettings f = TestFormats::forLocale("de_DE");
    f.timeSeparator = QLatin1Char('.');
    return f;
}

TEST(ParseDecimal, PointAndCommaReadTheSameUnderEitherLocale) {
    ASSERT_EQ(pointLocale().decimalSeparator, QLatin1Char('.'));
    ASSERT_EQ(commaLocale().decimalSeparator, QLatin1Char(','));
    for (const FormatSettings& fmt :
         {pointLocale(), commaLocale(), TestFormats::forLocale("de_DE")}) {
        EXPECT_DOUBLE_EQ(ParseDecimal("0,35", fmt), 0.35);
        EXPECT_DOUBLE_EQ(ParseDecimal("0.35", fmt), 0.35);
        EXPECT_DOUBLE_EQ(ParseDecimal("1;5", fmt), 1.5);
        EXPECT_DOUBLE_EQ(ParseDecimal("1/5", fmt), 1.5);
        EXPECT_DOUBLE_EQ(ParseDecimal("2:25", fmt), 2.25);
        EXPECT_DOUBLE_EQ(ParseDecimal("12", fmt), 12.0);
        EXPECT_DOUBLE_EQ(ParseDecimal(" 7.5 ", fmt), 7.5);
        EXPECT_THROW(ParseDecimal("abc", fmt), ConversionError);
        EXPECT_THROW(ParseDecimal("", fmt), ConversionError);
    }
}

TEST(ParseDecimal, OnlyTheFirstOccurrenceOfTheFirstSeparatorIsReplaced) {
    // Text that already holds the locale's separator is used as it stands.
    EXPECT_THROW(ParseDecimal("1.5,2", pointLocale()), ConversionError);
    EXPECT_THROW(ParseDecimal("1,2,3", pointLocale()), ConversionError);
    EXPECT_THROW(ParseDecimal("1;2;3", commaLocale()), ConversionError);
    // ';' precedes '.', so "1.2;3" has its ';' replaced and then fails on the point.
    EXPECT_THROW(ParseDecimal("1.2;3", commaLocale()), ConversionError);
    EXPECT_THROW(ParseDecimal("1.000,50", commaLocale()), ConversionError);
}

TEST(ParseDecimal, LeadingMinusIsTakenForTheSeparator) {
    // The documented behaviour: a negative number typed without a decimal
    // separator has its minus sign turned into one.
    EXPECT_DOUBLE_EQ(ParseDecimal("-1", commaLocale()), 0.1);
    EXPECT_DOUBLE_EQ(ParseDecimal("-1,5", commaLocale()), -1.5);
    EXPECT_DOUBLE_EQ(ParseDecimal("-1.5", pointLocale()), -1.5);
}

TEST(ParseDecimal, PlainDecimalFormsOnly) {
    for (const auto& [text, value] : {std::pair<const char*, double>{"5.", 5.0},
                                      {".5", 0.5},
                                      {"+2", 2.0},
                                      {"1e3", 1000.0},
                                      {"2.5E-2", 0.025},
                                      {" 7 ", 7.0},
                                      {"1e308", 1e308}})
        EXPECT_DOUBLE_EQ(StrToFloat(text, pointLocale()), value) << text;
    for (const char* text : {"", ".", "+", "e5", "1e", "1e+", "0x10", "inf", "nan", "1 000", "--1",
                             "1.5.2", "1e400", "\u0661"})
        EXPECT_THROW(StrToFloat(QString::fromUtf8(text), pointLocale()), ConversionError) << text;
    EXPECT_DOUBLE_EQ(StrToFloat("0,25", commaLocale()), 0.25);
    EXPECT_THROW(StrToFloat("0.25", commaLocale()), ConversionError);
}

TEST(ParseDecimal, ErrorMessageNamesTheText) {
    try {
        ParseDecimal("zero point three", commaLocale());
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("zero point three"), std::string::npos) << e.what();
    }
}

TEST(ParseTimeOfDay, AnySingleSeparatorReadsAsTheTimeSeparator) {
    for (const FormatSettings& fmt : {pointLocale(), commaLocale(), dotTimeLocale()}) {
        for (const char* text : {"08-30", "08:30", "08.30", "08,30", "08;30", "8/30", "08:30:00"})
            EXPECT_DOUBLE_EQ(ParseTimeOfDay(text, fmt), 510 * kMinute) << text;
        EXPECT_DOUBLE_EQ(ParseTimeOfDay("18.00", fmt), 1080 * kMinute);
        EXPECT_DOUBLE_EQ(ParseTimeOfDay("23-59-59", fmt), 86399.0 / 86400.0);
        EXPECT_DOUBLE_EQ(ParseTimeOfDay("0.00", fmt), 0.0);
    }
}

TEST(ParseTimeOfDay, AmPmDesignatorsOfTheLongTimeFormat) {
    const FormatSettings us = pointLocale();
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("1:30:00 PM", us), 810 * kMinute);
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("1.30 pm", us), 810 * kMinute);
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("12:05:00 AM", us), 5 * kMinute);
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("12:05 PM", us), 725 * kMinute);
    FormatSettings own = commaLocale();
    own.amDesignator = "fm";
    own.pmDesignator = "em";
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("3:15 em", own), 915 * kMinute);
    EXPECT_THROW(ParseTimeOfDay("13:00 PM", us), ConversionError);
    EXPECT_THROW(ParseTimeOfDay("0:30 AM", us), ConversionError);
}

TEST(ParseTimeOfDay, RejectsWhatIsNoTimeOfDay) {
    const FormatSettings fmt = commaLocale();
    for (const char* text :
         {"", "8", "24:00", "12:60", "12:30:60", "ab:cd", "1:2:3:4", "-1:30", "12:+5", "8:30 XM"})
        EXPECT_THROW(ParseTimeOfDay(text, fmt), ConversionError) << text;
}

TEST(StrToInt, AcceptsSurroundingBlanksOnly) {
    EXPECT_EQ(StrToInt(" 42 "), 42);
    EXPECT_EQ(StrToInt("-3"), -3);
    for (const char* text : {"", "4.2", "2a", "abc"})
        EXPECT_THROW(StrToInt(text), ConversionError) << text;
}

} // namespace
