// The compile run as a whole: which slots are read and in which order, what
// the window is told on the way, and the failures that stop a file or a run.

#include "CompanionEngine.h"
#include "CompanionTestSupport.h"
#include "DosPath.h"
#include "MemoryRegistryStore.h"
#include "TestFormats.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using CompanionTest::crlf;
using CompanionTest::writeFile;

namespace {
class CompileRunTest : public ::testing::Test {
protected:
    void setSlot(int slot, const QString& path) {
        settings.WriteText(kLogFilesKey, QStringLiteral("Log file %1").arg(slot), path);
    }
    QString logFile(const QString& name, const QStringList& lines) {
        const QString path = dir.filePath(name);
        writeFile(path, crlf(lines));
        return path;
    }
    QStringList users() const {
        QStringList out;
        for (int row = 0; row < engine.rows().rowCount(); ++row)
            out.append(engine.rows().text(row, ConnectionTable::User));
        return out;
    }

    QTemporaryDir dir;
    MemoryRegistryStore store;
    Settings settings{store};
    ManualClock clock{CompanionTest::today()};
    RecordingObserver observer;
    CompanionEngine engine{store, clock, TestFormats::svSE(), observer};
};

const char* kLine = ";2001-03-01;10:00:00;5;1,00;0,50;2,00;Office";
} // namespace

TEST_F(CompileRunTest, ReadsTheSetSlotsInOrderAndReportsProgress) {
    const QString first = logFile("a.txt", {QString("anna") + kLine, "junk"});
    const QString third = logFile("c.txt", {QString("bob") + kLine, QString("cecil") + kLine});
    setSlot(3, third);
    setSlot(1, first);
    engine.UpdateListWindow();
    EXPECT_EQ(users(), QStringList({"anna", "bob", "cecil"}));
    EXPECT_EQ(observer.statuses,
              QStringList({"0:Opening " + first, "0:Opening " + third, "1: 3 entries",
                           "0:Compiling report...", "0:Compile complete."}));
    EXPECT_EQ(observer.progress, QList<int>({0, 15, 30, 80, 90}));
    EXPECT_EQ(observer.progressVisible, QList<bool>({true, false}));
    EXPECT_TRUE(observer.messages.isEmpty());
    EXPECT_EQ(engine.counters().invalidEntries, 1);
    EXPECT_EQ(engine.reportOutcome(), ReportOutcome::Complete);
    EXPECT_EQ(engine.chart().kind, ChartKind::CostMonthly);
    EXPECT_EQ(engine.chart().lines, QStringList({"3 2001/03 100%"}));

    // The next run starts afresh.
    setSlot(3, "");
    engine.UpdateListWindow();
    EXPECT_EQ(users(), QStringList({"anna"}));
    EXPECT_EQ(engine.tables().users().size(), 1);
}

TEST_F(CompileRunTest, MapsDosPathsAndWarnsAboutFilesItCannotRead) {
    settings.WriteText(kDrivesKey, "D", dir.path());
    logFile("access.txt", {QString("anna") + kLine});
    setSlot(1, "d:\\missing.txt");
    setSlot(2, "D:\\access.txt");
    engine.UpdateListWindow();
    ASSERT_EQ(observer.messages.size(), 1);
    const MessageBoxRequest& box = observer.messages[0];
    EXPECT_EQ(box.caption, "Tollwatch Companion");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(box.text, "d:\\missing.txt: unable to process this file.\n"
                        "The path is probably unavailable at the moment.");
    EXPECT_EQ(users(), QStringList({"anna"}));
    EXPECT_TRUE(observer.statuses.contains("0:Opening D:\\access.txt"));
}

// A file another program keeps locked gets a bounded wait, counted on the
// clock rather than slept, then the message; so does anything that is not a
// regular file (a FIFO would block the run for ever). The run goes on.
TEST_F(CompileRunTest, ReportsLockedAndNonRegularFilesAndGoesOn) {
    const QString locked = logFile("locked.txt", {QString("anna") + kLine});
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    setSlot(1, locked);
    setSlot(2, fifo);
    setSlot(3, logFile("free.txt", {QString("bob") + kLine}));
    const int holder = ::open(QFile::encodeName(locked).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const QDateTime before = clock.now();
    engine.UpdateListWindow();
    ::close(holder);
    EXPECT_EQ(users(), QStringList({"bob"}));
    ASSERT_EQ(observer.messages.size(), 2);
    EXPECT_EQ(observer.messages[0].text, locked +
                                             ": unable to process this file.\n"
                                             "The path is probably unavailable at the moment.");
    EXPECT_TRUE(observer.messages[1].text.startsWith(fifo + ": unable to process"));
    const qint64 waited = before.msecsTo(clock.now());
    EXPECT_GE(waited, 1000);
    EXPECT_LE(waited, 5000);
}

TEST_F(CompileRunTest, StopsBeforeReadingWhenPurgeAfterIsNoNumber) {
    setSlot(1, logFile("a.txt", {QString("anna") + kLine}));
    engine.UpdateListWindow();
    settings.WriteText(kCompanionKey, "Purge after", "six");
    engine.UpdateListWindow();
    ASSERT_EQ(observer.messages.size(), 1);
    EXPECT_TRUE(observer.messages[0].text.contains("\"six\""))
        << observer.messages[0].text.toStdString();
    EXPECT_EQ(engine.rows().rowCount(), 0);
    EXPECT_TRUE(engine.report().lines.isEmpty());
    EXPECT_EQ(observer.statuses.filter("Opening").size(), 1);
}

TEST_F(CompileRunTest, AsksAboutHelpWhenThereIsNoConnection) {
    observer.answer = MessageAnswer::Yes;
    engine.UpdateListWindow();
    ASSERT_EQ(observer.messages.size(), 1);
    EXPECT_EQ(observer.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(observer.messages[0].foreground);
    EXPECT_TRUE(observer.messages[0].text.startsWith("There was a problem compiling the report"));
    EXPECT_EQ(observer.helpContexts, QList<int>({1}));

    observer.answer = MessageAnswer::No;
    setSlot(1, logFile("a.txt", {"anna;err;10:00:00;5;1,00;0,50;2,00;Office"}));
    engine.UpdateListWindow();
    ASSERT_EQ(observer.messages.size(), 2);
    EXPECT_EQ(observer.messages[1].text, "Tollwatch encountered one or more invalid log entries. "
                                         "Some entries may be missing in the report.");
    EXPECT_EQ(observer.helpContexts.size(), 1);
}

TEST_F(CompileRunTest, ReadsGivenFilesInsteadOfTheSlotsAndKeepsTheLastGoodChart) {
    setSlot(1, logFile("a.txt", {QString("anna") + kLine}));
    const QString free = logFile("free.txt", {"bob;2001-03-01;10:00:00;5;0,00;0,50;2,00;Home"});
    engine.setLogFiles(QStringList{free});
    engine.UpdateListWindow();
    EXPECT_EQ(users(), QStringList({"bob"}));
    EXPECT_TRUE(engine.chart().lines.isEmpty()); // a zero cost total draws nothing
    engine.setChartKind(ChartKind::TimeProviders);
    EXPECT_TRUE(engine.LoadChartData());
    EXPECT_EQ(engine.chart().lines, QStringList({"5 Home 100%"}));
    engine.setChartKind(ChartKind::CostUsers);
    EXPECT_FALSE(engine.LoadChartData());
    EXPECT_EQ(engine.chart().kind, ChartKind::TimeProviders);
    engine.setLogFiles(std::nullopt);
    engine.UpdateListWindow();
    EXPECT_EQ(users(), QStringList({"anna"}));
}
