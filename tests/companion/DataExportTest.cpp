// `companion --report --format csv|json`, run as a process: the data read
// back by a CSV reader of its own (Python's csv module) and by a JSON parser,
// with the same figures as the text report of the same logs.

#include "CompanionTestSupport.h"
#include "TestEnvironment.h"
#include "UsageExport.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using CompanionTest::crlf;

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");
// A connection name may hold anything after the seventh ";" of a log line.
const QString kAwkwardName = QStringLiteral("Hem; \"Kontor\", Åre");

struct Result {
    int status = -1;
    QByteArray out;
    QString err;
};

class DataExportTest : public ::testing::Test {
protected:
    DataExportTest() {
        CompanionTest::writeFile(log,
                                 crlf({"anna;1999-02-12;21:03:44;10;2,50;1,00;2,00;Office",
                                       "bob;1998-12-01;10:00:00;25;5,00;3,00;4,00;" + kAwkwardName,
                                       "Abnormal exit on last run:1999-02-12 22:00:00"}));
    }
    Result run(const QStringList& arguments, const QString& program = QString()) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", "sv_SE.UTF-8");
        env.insert("TOLLWATCH_REGISTRY", dir.filePath("registry.sqlite"));
        process.setProcessEnvironment(env);
        process.start(program.isEmpty() ? TestEnvironment::binDir() + "/companion" : program,
                      arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), process.readAllStandardOutput(),
                QString::fromUtf8(process.readAllStandardError())};
    }
    // The records of a CSV file as Python's csv module reads them.
    QList<QStringList> readCsv(const QString& file) {
        const Result r = run({"-c",
                              "import csv, json, sys\n"
                              "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                              "    print(json.dumps(list(csv.reader(f, strict=True))))\n",
                              file},
                             kPython);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QList<QStringList> records;
        for (const QJsonValue& record : QJsonDocument::fromJson(r.out).array())
            records.append(record.toVariant().toStringList());
        return records;
    }
    // "anna" -> {minutes, time share, cost, cost share} from the text report.
    QHash<QString, QStringList> reportEntries() {
        const Result report = run({"--report", log});
        EXPECT_EQ(report.status, 0) << report.err.toStdString();
        const QRegularExpression entry("^(.+): (\\d+) hours (\\d+) minutes \\((\\d+)%\\); ([\\d "
                                       "]+,\\d\\d) kr \\((\\d+)%\\)\r$");
        QHash<QString, QStringList> entries;
        for (const QByteArray& line : report.out.split('\n')) {
            const auto m = entry.match(QString::fromUtf8(line));
            if (m.hasMatch())
                entries.insert(m.captured(1),
                               {QString::number(m.captured(2).toInt() * 60 + m.captured(3).toInt()),
                                m.captured(4), m.captured(5).remove(' ').replace(',', '.'),
                                m.captured(6)});
        }
        return entries;
    }

    QTemporaryDir dir;
    QString log = dir.filePath("access.txt");
};

} // namespace

TEST_F(DataExportTest, CsvReadsBackWithTheReportsFigures) {
    if (!QFileInfo(kPython).isExecutable())
        GTEST_SKIP() << "no " << kPython.toStdString() << " to read the CSV back";
    const QString csv = dir.filePath("usage.csv");
    const Result r = run({"--report", "--format", "csv", "--rows", "--output", csv, log});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QList<QStringList> records = readCsv(csv);
    ASSERT_GT(records.size(), 10);
    EXPECT_EQ(records[0].join(','), UsageExport::kCsvHeader);
    const QHash<QString, QStringList> report = reportEntries();
    int compared = 0;
    for (const QStringList& record : records) {
        ASSERT_EQ(record.size(), 11) << record.join('|').toStdString();
        const QString& table = record[0];
        if (table == "user" || table == "provider") {
            EXPECT_EQ(record.mid(2, 4), report.value(record[1])) << record[1].toStdString();
            ++compared;
        }
    }
    EXPECT_EQ(compared, 4);
    EXPECT_TRUE(records.contains(
        QStringList{"provider", kAwkwardName, "25", "71", "5.00", "67", "", "", "", "", ""}));
    EXPECT_TRUE(records.contains(QStringList{"connection", kAwkwardName, "25", "", "5", "", "",
                                             "bob", "1998-12-01T10:00:00", "3", "4"}));
    EXPECT_TRUE(records.contains(
        QStringList{"counter", "abnormal_terminations", "", "", "", "", "1", "", "", "", ""}));
}

TEST_F(DataExportTest, JsonParsesWithTheSameFigures) {
    const Result r = run({"--report", "--format=json", "--rows", log});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(json["connections"].toInt(), 2);
    EXPECT_EQ(json["total"]["minutes"].toInt(), 35);
    EXPECT_DOUBLE_EQ(json["total"]["cost"].toDouble(), 7.5);
    EXPECT_DOUBLE_EQ(json["average"]["cost"].toDouble(), 3.75);
    const QJsonArray providers = json["providers"].toArray();
    ASSERT_EQ(providers.size(), 2);
    EXPECT_EQ(providers[1]["name"].toString(), kAwkwardName);
    EXPECT_EQ(providers[1]["time_share"].toInt(), 71);
    const QJsonArray months = json["months"].toArray();
    ASSERT_EQ(months.size(), 2);
    EXPECT_EQ(months[0]["name"].toString(), "1998-12");
    EXPECT_EQ(json["rows"].toArray().size(), 2);
    EXPECT_EQ(json["rows"][0]["start"].toString(), "1999-02-12T21:03:44");
}

TEST_F(DataExportTest, DataOfNoConnectionsIsNoFailureButAnUnreadableLogIs) {
    // The text report complains about an empty list; the data just has none.
    const Result empty = run({"--report", "--format", "json"});
    EXPECT_EQ(empty.status, 0) << empty.err.toStdString();
    EXPECT_TRUE(empty.err.isEmpty());
    EXPECT_EQ(QJsonDocument::fromJson(empty.out)["connections"].toInt(), 0);

    const Result missing = run({"--report", "--format", "csv", dir.filePath("none.txt"), log});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("unable to process this file")) << missing.err.toStdString();
    EXPECT_TRUE(missing.out.startsWith(UsageExport::kCsvHeader));

    const Result unwritable =
        run({"--report", "--format", "csv", "--output", dir.filePath("no/such/folder.csv"), log});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains("cannot write")) << unwritable.err.toStdString();
}

TEST_F(DataExportTest, RefusesFormatsAndOptionsThatDoNotGoTogether) {
    for (const QStringList& args :
         {QStringList{"--report", "--format", "xml"}, QStringList{"--report", "--rows"},
          QStringList{"--report", "--format", "csv", "--chart", "2"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Try 'companion --help'")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
