// The purge: its cut-off date, which lines go, the file that is always
// rewritten, a failing rewrite, and lines another process appends meanwhile.

#include "CompanionEngine.h"
#include "CompanionTestSupport.h"
#include "LogPurge.h"
#include "MemoryRegistryStore.h"
#include "TestEnvironment.h"
#include "TestFormats.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using CompanionTest::crlf;
using CompanionTest::readFile;
using CompanionTest::writeFile;

TEST(PurgeCutOff, IsTheTwelfthOfTheMonthNMonthsBack) {
    const QDate march20(2001, 3, 20);
    const QList<std::tuple<QDate, qint64, QDate>> cases = {
        {march20, 6, QDate(2000, 9, 12)},
        {march20, 12, QDate(2000, 3, 12)},
        {march20, 3, QDate(2000, 12, 12)},
        {march20, 2, QDate(2001, 1, 12)},
        {march20, 1, QDate(2001, 2, 12)},
        {QDate(2001, 12, 31), 6, QDate(2001, 6, 12)},
        {QDate(2001, 3, 1), 6, QDate(2000, 9, 12)},
        {march20, 15, QDate(2000, 12, 12)},
        {march20, 0, QDate(2001, 3, 12)},
        {march20, 16, QDate(1970, 1, 1)},
        {QDate(2001, 12, 5), -1, QDate(1970, 1, 1)},
        {march20, 1LL << 62, QDate(1970, 1, 1)},
        {march20, -(1LL << 62), QDate(1970, 1, 1)}};
    for (const auto& [today, months, expected] : cases)
        EXPECT_EQ(LogPurge::cutOffDate(today, months), expected) << months;
}

TEST(Purge, RemovesLinesDatedBeforeTheCutOffAndKeepsEverythingElse) {
    const QByteArray content = "\xEF\xBB\xBF"
                               "anna;2000-09-11;23:59:59;5;1,00;0,00;0,00;P\n"
                               "anna;2000-09-12;00:00:00;5;1,00;0,00;0,00;P\r"
                               "Abnormal exit on last run:2000-01-01 10:00:00\r\n"
                               "\r\n"
                               "short;1999-01-01\r\n"
                               "stamp;2000-09-11 10:00:00;x\r\n"
                               "bad;2000-13-01;x;5;1,00;0,00;0,00;P\r\n"
                               "2000-01-01";
    const DateTimeReader reader(TestFormats::svSE(), 2001);
    EXPECT_EQ(LogPurge::purged(content, QDate(2000, 9, 12), reader),
              "\xEF\xBB\xBF"
              "anna;2000-09-12;00:00:00;5;1,00;0,00;0,00;P\r\n"
              "Abnormal exit on last run:2000-01-01 10:00:00\r\n"
              "\r\n"
              "bad;2000-13-01;x;5;1,00;0,00;0,00;P\r\n");
}

namespace {
class PurgeRunTest : public ::testing::Test {
protected:
    PurgeRunTest() {
        settings.WriteText(kCompanionKey, "Purge", "true");
        settings.WriteText(kLogFilesKey, "Log file 1", path);
    }
    void run() {
        CompanionEngine engine(store, clock, TestFormats::svSE(), observer);
        engine.UpdateListWindow();
        rows = engine.rows().rowCount();
    }

    QTemporaryDir dir;
    QString path = dir.filePath("access.txt");
    MemoryRegistryStore store;
    Settings settings{store};
    ManualClock clock{CompanionTest::today()};
    RecordingObserver observer;
    int rows = 0;
};
} // namespace

TEST_F(PurgeRunTest, RewritesTheFileEvenWhenNothingIsRemoved) {
    writeFile(path, "anna;2000-09-11;10:00:00;5;1,00;0,00;0,00;P\n"
                    "anna;2000-09-12;10:00:00;5;1,00;0,00;0,00;P\n");
    run();
    EXPECT_EQ(readFile(path), crlf({"anna;2000-09-12;10:00:00;5;1,00;0,00;0,00;P"}));
    EXPECT_EQ(rows, 1);
    // Nothing to remove: the line ends still come back as CR LF.
    writeFile(path, "anna;2000-09-12;10:00:00;5;1,00;0,00;0,00;P\n");
    run();
    EXPECT_EQ(readFile(path), crlf({"anna;2000-09-12;10:00:00;5;1,00;0,00;0,00;P"}));
    EXPECT_TRUE(observer.messages.isEmpty());
}

TEST_F(PurgeRunTest, AFailedRewriteEndsThatFileAndLeavesItAsItWas) {
    // /proc files can be read and locked but nothing can be created beside them.
    settings.WriteText(kLogFilesKey, "Log file 1", "/proc/version");
    settings.WriteText(kLogFilesKey, "Log file 2", path);
    writeFile(path, crlf({"anna;2001-03-01;10:00:00;5;1,00;0,00;0,00;P"}));
    run();
    ASSERT_EQ(observer.messages.size(), 1);
    EXPECT_EQ(observer.messages[0].text, "/proc/version: unable to process this file.\n"
                                         "The path is probably unavailable at the moment.");
    EXPECT_EQ(rows, 1);
    settings.WriteText(kCompanionKey, "Purge", "false");
    run();
    EXPECT_EQ(rows, 1); // read without purging: one invalid line, one row
}

TEST_F(PurgeRunTest, LosesNoLineThatAnotherProcessAppendsMeanwhile) {
    writeFile(path, crlf({"old;1999-01-01;10:00:00;5;1,00;0,00;0,00;P"}));
    const int count = 3000;
    QProcess writer;
    writer.start(COMPANION_LOG_APPENDER, {path, QString::number(count)});
    ASSERT_TRUE(writer.waitForStarted());
    writer.write("go\n");
    writer.waitForBytesWritten();
    int purges = 0;
    while (!writer.waitForFinished(0)) {
        run();
        ++purges;
    }
    ASSERT_EQ(writer.exitCode(), 0);
    run();
    const QList<QByteArray> lines = readFile(path).split('\n');
    ASSERT_EQ(lines.size(), count + 1) << "after " << purges << " purges";
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(lines[i], "appended;2001-03-20;10:00:00;1;0,10;0,00;0,00;line " +
                                QByteArray::number(i) + '\r');
    EXPECT_EQ(rows, count);
}

// A log marked read-only is no log to purge, whoever runs the companion: it
// gets the message, keeps every line, and the next slot is read.
TEST_F(PurgeRunTest, LeavesAReadOnlyLogAloneAndSaysSo) {
    const QByteArray old = crlf({"anna;1999-01-01;10:00:00;5;1,00;0,00;0,00;P"});
    writeFile(path, old);
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QString other = dir.filePath("other.txt");
    writeFile(other, crlf({"bob;2001-03-01;10:00:00;5;1,00;0,00;0,00;P"}));
    settings.WriteText(kLogFilesKey, "Log file 2", other);
    run();
    ASSERT_EQ(observer.messages.size(), 1);
    EXPECT_EQ(observer.messages[0].text, path + ": unable to process this file.\n"
                                                "The path is probably unavailable at the moment.");
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(rows, 1);
}
