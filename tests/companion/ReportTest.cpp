// The report text line for line, its outline, its failures and number forms;
// the chart data lines; the companion's languages.

#include "ChartData.h"
#include "CompanionTestSupport.h"
#include "MemoryRegistryStore.h"
#include "ReportBuilder.h"
#include "ReportNumbers.h"
#include "TestFormats.h"

#include <gtest/gtest.h>

using CompanionTest::compile;

namespace {
const QString kSeparator(60, '-');

QString row(const QString& user, const QString& date, const QString& length, const QString& cost,
            const QString& name) {
    return QStringList{user, date, "21:03:44", length, cost, "1,00", "2,00", name}.join(';');
}

class ReportTest : public ::testing::Test {
protected:
    ReportText build(const CompanionTest::Compiled& c, ReportOutcome expected) {
        ReportBuilder builder(strings, TestFormats::svSE());
        builder.begin(CompanionTest::today());
        EXPECT_EQ(builder.finish(c.rows.rowCount(), c.tables, c.counters), expected);
        return builder.report();
    }
    void setLanguage(const QString& code) { settings.WriteText(kSettingsKey, "Language", code); }

    MemoryRegistryStore store;
    Settings settings{store};
    CompanionStrings strings{settings};
};
} // namespace

TEST_F(ReportTest, WritesEverySectionInOrder) {
    const auto c = compile({row("anna", "1999-02-12", "10", "2,50", "Office"),
                            row("bob", "1998-12-01", "25", "5,00", "Home")});
    const ReportText report = build(c, ReportOutcome::Complete);
    const QStringList expected = {
        "Report compiled 2001-03-20 10:00:00",
        kSeparator,
        "Total number of connections: 2",
        "Total: 0 hours 35 minutes (avg. 0 hours 17 minutes); 7,50 kr (average 3,75 kr)",
        "Transfers: average send 1,00 kB/s, receive 2,00 kB/s (highest 2,00 kB/s, lowest 2,00 "
        "kB/s)",
        "",
        "2 user entries: anna; bob; ",
        kSeparator,
        "anna: 0 hours 10 minutes (29%); 2,50 kr (33%)",
        "bob: 0 hours 25 minutes (71%); 5,00 kr (67%)",
        "",
        "2 Internet service provider entries: Office; Home; ",
        kSeparator,
        "Office: 0 hours 10 minutes (29%); 2,50 kr (33%)",
        "Home: 0 hours 25 minutes (71%); 5,00 kr (67%)",
        "",
        "Monthly entries from December 1998 to February 1999",
        kSeparator,
        "December 1998: 0 hours 25 minutes (71%); 5,00 kr (67%)",
        "February 1999: 0 hours 10 minutes (29%); 2,50 kr (33%)",
        "",
        "Enter your personal comments here:",
        kSeparator};
    EXPECT_EQ(report.lines, expected);
    EXPECT_EQ(report.outline.root, "Companion");
    ASSERT_EQ(report.outline.sections.size(), 3);
    EXPECT_EQ(report.outline.sections[0].title, "User entries");
    EXPECT_EQ(report.outline.sections[0].entries, expected.mid(8, 2));
    EXPECT_EQ(report.outline.sections[1].title, "Internet service providers");
    EXPECT_EQ(report.outline.sections[2].title, "Monthly entries");
    EXPECT_EQ(report.outline.sections[2].entries, expected.mid(18, 2));
}

TEST_F(ReportTest, WritesEntryLinesWithHoursSharesAndLocalMoney) {
    const auto c = compile({row("anna", "1999-03-01", "125", "12,50", "P"),
                            row("bob", "1999-03-02", "125", "37,50", "P")});
    EXPECT_TRUE(build(c, ReportOutcome::Complete)
                    .lines.contains("anna: 2 hours 5 minutes (50%); 12,50 kr (25%)"));
    setLanguage("5");
    EXPECT_TRUE(build(c, ReportOutcome::Complete)
                    .lines.contains("anna: 2 timmar 5 minuter (50%); 12,50 kr (25%)"));
}

TEST_F(ReportTest, NamesTheFirstAndLastMonthAndListsMonthsInOrder) {
    const auto c =
        compile({row("a", "1999-02-01", "1", "1,00", "P"), row("a", "1998-12-01", "1", "1,00", "P"),
                 row("a", "1999-01-01", "1", "1,00", "P")});
    const QStringList lines = build(c, ReportOutcome::Complete).lines;
    const int header = int(lines.indexOf("Monthly entries from December 1998 to February 1999"));
    ASSERT_GT(header, 0);
    EXPECT_TRUE(lines[header + 2].startsWith("December 1998: "));
    EXPECT_TRUE(lines[header + 3].startsWith("January 1999: "));
    EXPECT_TRUE(lines[header + 4].startsWith("February 1999: "));
}

TEST_F(ReportTest, PrintsTheCountsOfUnusableLines) {
    auto c = compile({row("a", "1999-02-01", "1", "1,00", "P"), "Abnormal exit on last run:x",
                      "Abnormal exit on last run", "junk"});
    const QStringList lines = build(c, ReportOutcome::Complete).lines;
    EXPECT_EQ(lines.mid(lines.size() - 7, 4),
              QStringList({"", "1 invalid entries in database not processed", "",
                           "2 abnormal program terminations"}));
}

TEST_F(ReportTest, EndsWhereItFailsAndTellsWhichMessageApplies) {
    const QStringList empty = build(compile({"junk"}), ReportOutcome::EmptyList).lines;
    EXPECT_EQ(empty, QStringList({"Report compiled 2001-03-20 10:00:00", kSeparator,
                                  "Total number of connections: 0"}));

    // A month that names no month ends the report before the monthly section.
    const auto err = compile(
        {row("a", "1999-02-01", "1", "1,00", "P"), row("a", "01.02.1999", "1", "1,00", "P")});
    const ReportText ended = build(err, ReportOutcome::InvalidEntries);
    EXPECT_EQ(ended.lines.last(), "P: 0 hours 2 minutes (100%); 2,00 kr (100%)");
    EXPECT_EQ(ended.outline.sections.size(), 2);

    // A zero cost total leaves the cost shares undefined.
    const auto free = compile({row("a", "1999-02-01", "3", "0,00", "P")});
    EXPECT_EQ(build(free, ReportOutcome::InvalidEntries).lines.last(), kSeparator);
}

TEST(ReportNumbers, RoundToSignificantDigitsThenToDecimals) {
    const FormatSettings sv = TestFormats::svSE();
    const QString g = sv.thousandSeparator;
    EXPECT_EQ(ReportNumbers::money(12345678.9, 7, 2, sv), "12" + g + "345" + g + "680,00 kr");
    EXPECT_EQ(ReportNumbers::money(1234.56, 4, 2, sv), "1" + g + "235,00 kr");
    EXPECT_EQ(ReportNumbers::money(9999.6, 4, 2, sv), "10" + g + "000,00 kr");
    EXPECT_EQ(ReportNumbers::money(0.004, 4, 2, sv), "0,00 kr");
    EXPECT_EQ(ReportNumbers::money(-5, 7, 2, TestFormats::enUS()), "-$5.00");
    EXPECT_EQ(ReportNumbers::fixed(2.7149, 7, 2, sv), "2,71");
    EXPECT_EQ(ReportNumbers::fixed(1234567.891, 7, 2, sv), "1234568,00");
    EXPECT_EQ(ReportNumbers::fixed(12345678.0, 7, 2, sv), "1,234568E7");
    EXPECT_EQ(ReportNumbers::share(1, 8), 13);
    EXPECT_EQ(ReportNumbers::share(2, 3), 67);
    EXPECT_THROW(ReportNumbers::share(0, 0), ReportNumbers::Undefined);
    EXPECT_THROW(ReportNumbers::truncated(1e300), ReportNumbers::Undefined);
}

TEST_F(ReportTest, ChartLinesCarryTheCutValueLabelAndShare) {
    const auto c = compile({row("anna", "1999-12-01", "60", "0,50", "Office"),
                            row("bob", "2000-01-01", "30", "9,99", "Home"),
                            row("cecil", "2000-01-02", "10", "9,51", "Home")});
    const auto time = ChartLines::build(ChartKind::TimeUsers, c.tables, strings);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->lines, QStringList({"60 anna 60%", "30 bob 30%", "10 cecil 10%"}));
    EXPECT_EQ(time->title, "Connection time");
    EXPECT_EQ(time->subtitle, "Users");
    const auto cost = ChartLines::build(ChartKind::CostProviders, c.tables, strings);
    EXPECT_EQ(cost->lines, QStringList({"0 Office 0%", "19 Home 95%"}));
    const auto months = ChartLines::build(ChartKind::TimeMonthly, c.tables, strings);
    EXPECT_EQ(months->lines, QStringList({"60 1999/12 60%", "40 2000/01 40%"}));
    EXPECT_EQ(months->subtitle, "Monthly");

    const auto free = compile({row("a", "1999-02-01", "3", "0,00", "P")});
    EXPECT_FALSE(ChartLines::build(ChartKind::CostUsers, free.tables, strings));
    EXPECT_TRUE(ChartLines::build(ChartKind::TimeUsers, free.tables, strings));
}

TEST_F(ReportTest, LanguageFollowsTheMonitorWithoutEnglishFallBack) {
    const QList<std::pair<QString, QString>> cases = {{"2", "Compile complete."},
                                                      {"4", "Erstellung abgeschlossen."},
                                                      {"5", u8"Sammanställningen är klar."},
                                                      {"9", "Rapporten er oprettet."},
                                                      {"3", "Compile complete."},
                                                      {"x", "Compile complete."}};
    for (const auto& [code, text] : cases) {
        setLanguage(code);
        EXPECT_EQ(strings.IntlStr(StringId::CompileComplete), text) << code.toStdString();
    }
    StringTable table;
    table.insert(4220, "Compile complete.");
    const CompanionStrings partial(settings, &table);
    setLanguage("9");
    EXPECT_EQ(partial.IntlStr(4220), "Undefined IntlStr #4220");
    EXPECT_EQ(strings.IntlStr(StringId::AbnormalExit), u8"Unormal afslutning ved sidste kørsel");
}
