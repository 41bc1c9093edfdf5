// Reading the log: line ends, classification and cutting of lines into rows,
// and the fast number and date readers measured against the common converters.

#include "CompanionTestSupport.h"
#include "Converters.h"
#include "DateTimeReader.h"
#include "NumberReader.h"
#include "TestFormats.h"

#include <gtest/gtest.h>

using CT = ConnectionTable;

namespace {
const QByteArray kAbnormal = "Abnormal exit on last run";

QStringList rowTexts(const ConnectionTable& table, int row) {
    QStringList texts;
    for (int column = 0; column < CT::kColumnCount; ++column)
        texts.append(table.text(row, column));
    return texts;
}
} // namespace

TEST(ConnectionTable, CutsSevenFieldsAndKeepsTheRestAsTheConnectionName) {
    ConnectionTable table;
    RunCounters counters;
    table.appendFile("anna;1998-07-12;21:03:44;7;1,25;0,53;2,71;My provider;second;\r\n"
                     ";;;;;;;\r\n",
                     kAbnormal, counters);
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(rowTexts(table, 0), QStringList({"anna", "1998-07-12 21:03:44", "7", "1,25", "0,53",
                                               "2,71", "My provider;second;"}));
    EXPECT_EQ(rowTexts(table, 1), QStringList({"", " ", "", "", "", "", ""}));
    EXPECT_EQ(counters.abnormalTerminations, 0);
    EXPECT_EQ(counters.invalidEntries, 0);
}

TEST(ConnectionTable, CountsShortLinesAsAbnormalExitsOrInvalidEntries) {
    ConnectionTable table;
    RunCounters counters;
    table.appendFile(CompanionTest::crlf({"Abnormal exit on last run:2001-03-20 10:00:00",
                                          "Abnormal exit on last run", "", "Abnormal exit on",
                                          "abnormal exit on last run", "a;b;c;d;e;f;g",
                                          "Abnormal exit on last run;1;2;3;4;5;6;x"}),
                     kAbnormal, counters);
    EXPECT_EQ(counters.abnormalTerminations, 2);
    EXPECT_EQ(counters.invalidEntries, 4);
    ASSERT_EQ(table.rowCount(), 1); // seven ";" make a row whatever the text
    EXPECT_EQ(table.text(0, CT::User), "Abnormal exit on last run");
}

TEST(ConnectionTable, AcceptsEveryLineEndAndKeepsFilesInOrder) {
    ConnectionTable table;
    RunCounters counters;
    table.appendFile("\xEF\xBB\xBF"
                     "a;1;2;3;4;5;6;x\r\nb;1;2;3;4;5;6;y\nc;1;2;3;4;5;6;z\r\r\n"
                     "d;1;2;3;4;5;6;w",
                     kAbnormal, counters);
    table.appendFile("\xC3\x85sa;1;2;3;4;5;6;Telia\n", kAbnormal, counters);
    ASSERT_EQ(table.rowCount(), 5);
    QStringList users;
    for (int row = 0; row < table.rowCount(); ++row)
        users.append(table.text(row, CT::User) + '/' + table.text(row, CT::ConnectedTo));
    EXPECT_EQ(users, QStringList({"a/x", "b/y", "c/z", "d/w", u8"Åsa/Telia"}));
    EXPECT_EQ(counters.invalidEntries, 1); // the empty line between CR and CR LF
}

TEST(NumberReader, ReadsFloatsExactlyAsStrToFloat) {
    const QStringList inputs = {"1,25",  "1.25",         " 7 ",    "+3",     "-2,5", "5,",
                                ",5",    "1e3",          "1,5e-2", "1,5E+2", "",     " ",
                                "abc",   "1,2,3",        "1 234",  "0x10",   "inf",  "nan",
                                "1e400", "\t12,00\r",    "e5",     "1e",     "--1",  "+",
                                ",",     u8"\u00a012,5", u8"١٢",   "12kr",   "007"};
    for (const char* locale : {"sv_SE", "en_US"}) {
        const FormatSettings fmt = TestFormats::forLocale(locale);
        const NumberReader reader(fmt);
        for (const QString& input : inputs) {
            std::optional<double> expected;
            try {
                expected = StrToFloat(input, fmt);
            } catch (const ConversionError&) {
            }
            EXPECT_EQ(reader.toFloat(input.toUtf8()), expected)
                << locale << " '" << input.toStdString() << "'";
        }
    }
}

TEST(NumberReader, ReadsIntegersOfThirtyTwoBitsAsStrToInt) {
    const NumberReader reader(TestFormats::svSE());
    const QList<std::pair<QString, std::optional<int>>> cases = {
        {"7", 7},
        {" 12 ", 12},
        {"+3", 3},
        {"-4", -4},
        {"0012", 12},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"1,5", std::nullopt},
        {"1 2", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {u8"\u00a05", 5}};
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(reader.toInt(input.toUtf8()), expected) << input.toStdString();
}

TEST(DateTimeReader, ReadsDatesWithOptionalTimesInSwedishFormats) {
    const DateTimeReader reader(TestFormats::svSE(), 2001);
    const QDate march12(1999, 3, 12);
    const QList<std::pair<const char*, std::optional<QDate>>> cases = {
        {"1999-03-12 21:03:44", march12},
        {"1999-03-12 ", march12},
        {" 1999-03-12", march12},
        {"1999-3-2 9:05:01", QDate(1999, 3, 2)},
        {"1999-03-12 21:03", march12},
        {"1999-02-29 10:00:00", std::nullopt},
        {"1999-03-12 24:00:00", std::nullopt},
        {"1999-03-12 21:60:00", std::nullopt},
        {"1999-03-1221:03:44", std::nullopt},
        {"1999-03-12 21:03:44 x", std::nullopt},
        {"1999-03-12x", std::nullopt},
        {" 21:03:44", std::nullopt},
        {"", std::nullopt},
        {"err", std::nullopt}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(reader.dateOf(text), expected) << text;
}

TEST(DateTimeReader, PlacesTwoDigitYearsAroundThePivotAndReadsDesignators) {
    const DateTimeReader reader(TestFormats::enUS(), 2001);
    EXPECT_EQ(reader.dateOf("7/12/98 9:03:44 PM"), QDate(1998, 7, 12));
    EXPECT_EQ(reader.dateOf("3/20/01 12:00:00 am"), QDate(2001, 3, 20));
    EXPECT_EQ(reader.dateOf("3/20/51 1:00:00 PM"), QDate(2051, 3, 20));
    EXPECT_EQ(reader.dateOf("3/20/52 1:00:00 PM"), QDate(1952, 3, 20));
    EXPECT_EQ(reader.dateOf("7/12/1998 9:03:44 PM"), QDate(1998, 7, 12));
    EXPECT_EQ(reader.dateOf("7/12/98 13:03:44 PM"), std::nullopt);
}

TEST(DateTimeReader, ReadsWhatEveryLocaleWrites) {
    const QDateTime moments[] = {QDateTime(QDate(1998, 7, 12), QTime(21, 3, 44)),
                                 QDateTime(QDate(2001, 12, 1), QTime(0, 0, 5)),
                                 QDateTime(QDate(2030, 2, 28), QTime(12, 30, 0))};
    for (const char* locale : {"C", "en_US", "en_GB", "sv_SE", "de_DE", "da_DK", "nl_NL", "fr_FR",
                               "hu_HU", "ko_KR", "zh_CN", "bg_BG", "ar_EG"}) {
        const FormatSettings fmt = TestFormats::forLocale(locale);
        const DateTimeReader reader(fmt, 2001);
        for (const QDateTime& moment : moments) {
            const QString text =
                fmt.formatDate(moment.date()) + ' ' + fmt.formatTime(moment.time());
            EXPECT_EQ(reader.dateOf(text.toUtf8()), moment.date())
                << locale << " '" << text.toStdString() << "'";
        }
    }
}

// Older programs wrote their logs in Windows-1252: such a line reads as the
// text it is, for the list and for the keys, so "J\xF6rg" and "J\xFCrg" stay
// two names, and "Jörg" in either encoding is one.
TEST(ConnectionTable, ReadsLinesThatAreNotUtf8AsWindows1252) {
    const CompanionTest::Compiled c = CompanionTest::compile(
        {QString::fromLatin1("J\xf6rg;2001-03-01;10:00:00;5;1,00;0,00;0,00;Telia \xc5"),
         QString::fromLatin1("J\xfcrg;2001-03-01;10:00:00;7;1,00;0,00;0,00;Telia \xc5"),
         QString::fromUtf8("J\xc3\xb6rg;2001-03-01;10:00:00;11;1,00;0,00;0,00;Telia \xc3\x85")});
    ASSERT_EQ(c.rows.rowCount(), 3);
    EXPECT_EQ(c.rows.text(0, CT::User), QString::fromUtf8("J\xc3\xb6rg"));
    EXPECT_EQ(c.rows.text(1, CT::User), QString::fromUtf8("J\xc3\xbcrg"));
    EXPECT_EQ(c.rows.text(0, CT::ConnectedTo), QString::fromUtf8("Telia \xc3\x85"));
    ASSERT_EQ(c.tables.users().size(), 2);
    EXPECT_EQ(c.tables.users()[0].key, QString::fromUtf8("J\xc3\xb6rg"));
    EXPECT_EQ(c.tables.users()[0].minutes, 16);
    EXPECT_EQ(c.tables.users()[1].key, QString::fromUtf8("J\xc3\xbcrg"));
    ASSERT_EQ(c.tables.providers().size(), 1);
    EXPECT_EQ(c.tables.providers()[0].minutes, 23);

    // The Swedish abnormal-exit text written in the old code page counts too.
    ConnectionTable table;
    RunCounters counters;
    const QString swedish =
        QString::fromUtf8("Otill\xc3\xa5tet avslutande vid senaste k\xc3\xb6rning");
    table.appendFile(QByteArray("Otill\xe5tet avslutande vid senaste k\xf6rning:2001-03-20\r\n") +
                         swedish.toUtf8() + ":2001-03-21\r\nOtill\xe5tet\r\n",
                     swedish.toUtf8(), counters);
    EXPECT_EQ(counters.abnormalTerminations, 2);
    EXPECT_EQ(counters.invalidEntries, 1);
}
