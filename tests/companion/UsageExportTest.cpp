// The usage figures as data: the report's rounding without its locale forms,
// what the report cannot form left empty, the CSV quoting and the JSON shape,
// and connection rows with their ISO start.

#include "UsageExport.h"
#include "CompanionTestSupport.h"
#include "TestFormats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using CompanionTest::compile;

namespace {

QString row(const QString& user, const QString& date, const QString& time, const QString& length,
            const QString& cost, const QString& name) {
    return QStringList{user, date, time, length, cost, "1,50", "2,25", name}.join(';');
}

UsageFigures figuresOf(const CompanionTest::Compiled& c) {
    return UsageFigures::of(c.tables, c.counters, c.rows.rowCount(), TestFormats::svSE());
}

QByteArray csvOf(const UsageFigures& f, const RowFigureReader* rows = nullptr) {
    QByteArray out;
    EXPECT_TRUE(UsageExport::writeCsv(f, rows, [&out](const QByteArray& piece) {
        out += piece;
        return true;
    }));
    return out;
}

QJsonObject jsonOf(const UsageFigures& f, const RowFigureReader* rows = nullptr) {
    QByteArray out;
    EXPECT_TRUE(UsageExport::writeJson(f, QDateTime(QDate(2001, 3, 20), QTime(10, 0, 5)), rows,
                                       [&out](const QByteArray& piece) {
                                           out += piece;
                                           return true;
                                       }));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n"
                                                     << out.toStdString();
    return doc.object();
}

} // namespace

TEST(UsageFiguresTest, RoundsAsTheReportAndWritesMonthsTheIsoWay) {
    // The report reads "anna: 2 hours 5 minutes (50%); 12,50 kr (25%)" and
    // rounds an entry's money to four significant digits.
    const auto c = compile({row("anna", "1999-03-02", "21:00:00", "125", "12,5", "Office"),
                            row("bob", "1999-02-01", "10:00:00", "125", "37,4567", "Home")});
    const UsageFigures f = figuresOf(c);
    ASSERT_EQ(f.users.size(), 2);
    EXPECT_EQ(f.users[0].name, "anna");
    EXPECT_EQ(f.users[0].minutes, 125);
    EXPECT_EQ(f.users[0].timeShare, 50);
    EXPECT_DOUBLE_EQ(f.users[0].cost, 12.5);
    EXPECT_EQ(f.users[0].costShare, 25);
    EXPECT_DOUBLE_EQ(f.users[1].cost, 37.46);
    ASSERT_EQ(f.months.size(), 2);
    EXPECT_EQ(f.months[0].name, "1999-02");
    EXPECT_EQ(f.months[1].name, "1999-03");
    EXPECT_EQ(f.totalMinutes, 250);
    EXPECT_DOUBLE_EQ(f.totalCost, 49.96);
    EXPECT_EQ(f.averageMinutes, 125);
    EXPECT_DOUBLE_EQ(*f.averageCost, 24.98);
    EXPECT_DOUBLE_EQ(*f.averageSend, 1.5);
    EXPECT_DOUBLE_EQ(*f.highestReceive, 2.25);
}

TEST(UsageFiguresTest, LeavesEmptyWhatTheReportCannotForm) {
    // All costs 0 and an unreadable date: the text report ends early here.
    const auto c = compile({row("anna", "1999-03-02", "21:00:00", "10", "0", "Office"),
                            row("anna", "the day", "21:00:00", "5", "0", "Office")});
    const UsageFigures f = figuresOf(c);
    EXPECT_EQ(f.users[0].timeShare, 100);
    EXPECT_FALSE(f.users[0].costShare);
    ASSERT_EQ(f.months.size(), 2);
    EXPECT_TRUE(f.months[1].name.isNull());
    const QJsonObject json = jsonOf(f);
    EXPECT_TRUE(json["users"][0]["cost_share"].isNull());
    EXPECT_TRUE(json["months"][1]["name"].isNull());

    const UsageFigures none = figuresOf(compile({}));
    EXPECT_EQ(none.connections, 0);
    EXPECT_FALSE(none.averageMinutes || none.averageCost || none.lowestReceive);
    const QJsonObject empty = jsonOf(none);
    EXPECT_TRUE(empty["average"]["minutes"].isNull());
    EXPECT_TRUE(empty["transfer"]["lowest_receive"].isNull());
    EXPECT_EQ(empty["users"].toArray().size(), 0);
    EXPECT_EQ(csvOf(none).count("\r\n"), 10); // header, total, average, 3 counters, 4 rates
}

TEST(UsageExportTest, QuotesCsvFieldsThatNeedIt) {
    EXPECT_EQ(UsageExport::csvField("anna"), "anna");
    EXPECT_EQ(UsageExport::csvField("Ho\"me, Office; 2"), "\"Ho\"\"me, Office; 2\"");
    EXPECT_EQ(UsageExport::csvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(UsageExport::csvField(" padded"), "\" padded\"");
    EXPECT_EQ(UsageExport::csvField("Åsa"), "Åsa");
}

TEST(UsageExportTest, CsvHasOneColumnSetAndPlainNumbers) {
    const auto c = compile({row("anna", "1999-03-02", "21:00:00", "10", "1234,5", "Office"),
                            "Abnormal exit on last run:1999-03-02 22:00:00", "garbage"});
    const QByteArray csv = csvOf(figuresOf(c));
    const QList<QByteArray> lines = csv.split('\n');
    EXPECT_EQ(lines[0], QByteArray(UsageExport::kCsvHeader) + '\r');
    EXPECT_EQ(lines[1], "user,anna,10,100,1235.00,100,,,,,\r"); // four digits, no grouping
    EXPECT_TRUE(csv.contains("\r\nmonth,1999-03,10,100,1235.00,100,,,,,\r\n"));
    EXPECT_TRUE(csv.contains("\r\ntotal,,10,,1234.50,,,,,,\r\n"));
    EXPECT_TRUE(csv.contains("\r\ncounter,invalid_entries,,,,,1,,,,\r\n"));
    EXPECT_TRUE(csv.contains("\r\ncounter,abnormal_terminations,,,,,1,,,,\r\n"));
    EXPECT_TRUE(csv.contains("\r\ntransfer,average_receive,,,,,2.25,,,,\r\n"));
    for (const QByteArray& line : lines.mid(0, lines.size() - 1))
        EXPECT_EQ(line.count(','), 10) << line.toStdString();
}

TEST(UsageExportTest, RowsCarryTheirIsoStartAndWhatConverts) {
    const QString odd = QStringLiteral("tab\there, back\\slash, bell\x07, Åre");
    const auto c = compile({row("anna", "1999-03-02", "21:03:44", "10", "2,50", "Office"),
                            row("bob", "1999-03-03", "late", "ten", "1,25", "Home; \"2\""),
                            row(odd, "1999-03-04", "01:00:00", "1", "0", odd)});
    const RowFigureReader rows(c.rows, TestFormats::svSE(), 2001);
    const QByteArray csv = csvOf(figuresOf(c), &rows);
    EXPECT_TRUE(csv.contains("\r\nconnection,Office,10,,2.5,,,anna,1999-03-02T21:03:44,1.5,2.25\r\n"
                             "connection,\"Home; \"\"2\"\"\",,,1.25,,,bob,,1.5,2.25\r\n"))
        << csv.toStdString();
    const QJsonArray json = jsonOf(figuresOf(c), &rows)["rows"].toArray();
    ASSERT_EQ(json.size(), 3);
    EXPECT_EQ(json[2]["user"].toString(), odd);
    EXPECT_EQ(json[2]["connection"].toString(), odd);
    EXPECT_EQ(json[0]["start"].toString(), "1999-03-02T21:03:44");
    EXPECT_EQ(json[0]["minutes"].toDouble(), 10);
    EXPECT_TRUE(json[1]["start"].isNull());
    EXPECT_TRUE(json[1]["minutes"].isNull());
    EXPECT_EQ(json[1]["connection"].toString(), "Home; \"2\"");
}

TEST(UsageExportTest, StopsWhenTheOutputRefusesMore) {
    const auto c = compile({row("anna", "1999-03-02", "21:03:44", "10", "2,50", "Office")});
    const RowFigureReader rows(c.rows, TestFormats::svSE(), 2001);
    int pieces = 0;
    const auto refusing = [&pieces](const QByteArray&) {
        return ++pieces < 2;
    };
    EXPECT_FALSE(UsageExport::writeCsv(figuresOf(c), &rows, refusing));
    EXPECT_EQ(pieces, 2);
    pieces = 0;
    EXPECT_FALSE(UsageExport::writeJson(figuresOf(c), {}, &rows, refusing));
    EXPECT_EQ(pieces, 2);
}
