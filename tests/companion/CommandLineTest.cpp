// The companion program's report mode, run as a process: report and chart
// lines on standard output or in a file, messages on standard error, and the
// exit status.

#include "CompanionSettings.h"
#include "CompanionTestSupport.h"
#include "SqliteRegistryStore.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using CompanionTest::crlf;
using CompanionTest::readFile;

namespace {
struct Result {
    int status = -1;
    QByteArray out;
    QString err;
};

class CommandLineTest : public ::testing::Test {
protected:
    CommandLineTest() {
        CompanionTest::writeFile(logA, crlf({"anna;1999-02-12;21:03:44;10;2,50;1,00;2,00;Office",
                                             "Abnormal exit on last run:1999-02-12 22:00:00"}));
        CompanionTest::writeFile(logB, crlf({"bob;1998-12-01;10:00:00;25;5,00;3,00;4,00;Home"}));
    }
    Result run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", "sv_SE.UTF-8");
        env.insert("TOLLWATCH_REGISTRY", registry);
        process.setProcessEnvironment(env);
        process.start(TestEnvironment::binDir() + "/companion", arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), process.readAllStandardOutput(),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir dir;
    QString registry = dir.filePath("registry.sqlite");
    QString logA = dir.filePath("a.txt");
    QString logB = dir.filePath("b.txt");
};
} // namespace

TEST_F(CommandLineTest, WritesTheReportOfTheGivenFiles) {
    const Result r = run({"--report", logA, logB});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_GT(lines.size(), 20);
    EXPECT_TRUE(lines[0].startsWith("Report compiled "));
    EXPECT_EQ(lines[3], "Total: 0 hours 35 minutes (avg. 0 hours 17 minutes); 7,50 kr (average "
                        "3,75 kr)\r");
    EXPECT_EQ(lines[8], "anna: 0 hours 10 minutes (29%); 2,50 kr (33%)\r");
    EXPECT_TRUE(r.out.contains("\r\nMonthly entries from December 1998 to February 1999\r\n"));
    EXPECT_TRUE(r.out.contains("\r\n\r\n1 abnormal program terminations\r\n"));
}

TEST_F(CommandLineTest, WritesChartLinesAndReadsTheStoredSlots) {
    {
        SqliteRegistryStore store(registry);
        Settings settings(store);
        settings.WriteText(kLogFilesKey, "Log file 2", logA);
        settings.WriteText(kLogFilesKey, "Log file 4", logB);
    }
    const Result monthly = run({"--report", "--chart", "2"});
    EXPECT_EQ(monthly.status, 0) << monthly.err.toStdString();
    EXPECT_EQ(monthly.out, "25 1998/12 71%\n10 1999/02 29%\n");
    const QString out = dir.filePath("users.txt");
    const Result users = run({"--report", "--chart=cost-users", "--output", out});
    EXPECT_EQ(users.status, 0);
    EXPECT_TRUE(users.out.isEmpty());
    EXPECT_EQ(readFile(out), "2 anna 27%\n5 bob 67%\n");
}

TEST_F(CommandLineTest, ReportsFailuresOnStandardErrorAndInTheStatus) {
    const Result missing = run({"--report", dir.filePath("none.txt"), logB});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.startsWith("Tollwatch Companion: " + dir.filePath("none.txt") +
                                       ": unable to process this file.\n"))
        << missing.err.toStdString();
    EXPECT_TRUE(missing.out.contains("Total number of connections: 1\r\n"));

    const Result empty = run({"--report"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(empty.err.contains("There was a problem compiling the report"));
}

TEST_F(CommandLineTest, RejectsWhatItDoesNotUnderstandAndEndsAtOnceForRegistration) {
    const Result bogus = run({"--report", "--bogus"});
    EXPECT_EQ(bogus.status, 2);
    EXPECT_TRUE(bogus.err.contains("unknown option: --bogus"));
    EXPECT_TRUE(bogus.err.contains("usage: companion --report"));
    EXPECT_EQ(run({"--report", "--chart", "9"}).status, 2);
    EXPECT_EQ(run({"--report", "--output"}).status, 2);
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("usage: companion --report"));
    const Result registration = run({"/unregserver"});
    EXPECT_EQ(registration.status, 0);
    EXPECT_TRUE(registration.err.isEmpty() && registration.out.isEmpty());
}

// A report that could not be written is a failure, whether the file or the
// standard output is full.
TEST_F(CommandLineTest, AFullDiskIsAFailureNotASuccess) {
    const Result file = run({"--report", "--output", "/dev/full", logA});
    EXPECT_EQ(file.status, 1);
    EXPECT_TRUE(file.err.contains("cannot write /dev/full")) << file.err.toStdString();

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TOLLWATCH_REGISTRY", registry);
    process.setProcessEnvironment(env);
    process.setStandardOutputFile("/dev/full");
    process.start(TestEnvironment::binDir() + "/companion", {"--report", "--chart", "2", logA});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("cannot write the standard output"));
}

TEST_F(CommandLineTest, TakesEverythingAfterADoubleDashAsALogFile) {
    const QString dashed = dir.filePath("--registry");
    const QString single = dir.filePath("-b.txt");
    QFile::copy(logA, dashed);
    QFile::copy(logB, single);
    // Relative names, so that they really start with dashes.
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "sv_SE.UTF-8");
    env.insert("TOLLWATCH_REGISTRY", registry);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.path());
    process.start(TestEnvironment::binDir() + "/companion",
                  {"--report", "--chart", "time-users", "--", "--registry", "-b.txt"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(), "10 anna 29%\n25 bob 71%\n");
    EXPECT_EQ(run({"--report", "--chart", "time-users", "--"}).status, 1); // no slot, no rows
}
