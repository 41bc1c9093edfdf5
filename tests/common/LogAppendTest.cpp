// Appending to a connection log never blocks the monitor: paths that are not
// regular files are refused at once, and a lock held by another program is
// waited for a bounded time only.

#include "LogFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class LogAppend : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("access.txt"));

    QByteArray raw() const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
};

TEST_F(LogAppend, PathsThatAreNoRegularFileAreRefusedWithoutWaiting) {
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Nobody reads the FIFO: a plain open for writing would wait for ever.
    EXPECT_EQ(LogFile::appendLine(fifo, QStringLiteral("line")), ENXIO);
    // With a reader it opens, and is still refused: nothing reaches it.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(LogFile::appendLine(fifo, QStringLiteral("line")), EINVAL);
    char buffer[16];
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 0);
    ::close(reader);

    EXPECT_EQ(LogFile::appendLine(dir.path(), QStringLiteral("line")), EISDIR);
    EXPECT_EQ(LogFile::appendLine(QStringLiteral("/dev/null"), QStringLiteral("line")), EINVAL);

    // A link to a regular file is as good as the file.
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    ASSERT_TRUE(QFile::link(file, link));
    EXPECT_EQ(LogFile::appendLine(link, QStringLiteral("through the link")), 0);
    EXPECT_EQ(raw(), QByteArray("through the link\r\n"));
}

TEST_F(LogAppend, ALockHeldTooLongGivesUpWithoutWriting) {
    ASSERT_EQ(LogFile::appendLine(file, QStringLiteral("first")), 0);
    const int holder = ::open(QFile::encodeName(file).constData(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_SH), 0);
    EXPECT_EQ(LogFile::appendLine(file, QStringLiteral("second"), 0), EWOULDBLOCK);
    EXPECT_EQ(raw(), QByteArray("first\r\n"));
    ::close(holder);
    EXPECT_EQ(LogFile::appendLine(file, QStringLiteral("second"), 0), 0);
    EXPECT_EQ(raw(), QByteArray("first\r\nsecond\r\n"));
}

TEST_F(LogAppend, ALineAlreadyAmongTheLastIsNotWrittenTwice) {
    for (const char* line : {"a;1", "b;2", "c;3"})
        ASSERT_EQ(LogFile::appendLine(file, QString::fromLatin1(line)), 0);
    EXPECT_EQ(LogFile::appendLineUnlessPresent(file, QStringLiteral("b;2")), 0);
    EXPECT_EQ(LogFile::appendLineUnlessPresent(file, QStringLiteral("a;1")), 0);
    // Only whole lines count: "2" ends a line but is not one.
    EXPECT_EQ(LogFile::appendLineUnlessPresent(file, QStringLiteral("2")), 0);
    EXPECT_EQ(LogFile::appendLineUnlessPresent(file, QStringLiteral("d;4")), 0);
    EXPECT_EQ(raw(), QByteArray("a;1\r\nb;2\r\nc;3\r\n2\r\nd;4\r\n"));
    const QString fresh = dir.filePath(QStringLiteral("new.txt"));
    EXPECT_EQ(LogFile::appendLineUnlessPresent(fresh, QStringLiteral("x")), 0);
    EXPECT_EQ(LogFile::appendLineUnlessPresent(fresh, QStringLiteral("x")), 0);
    QFile f(fresh);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("x\r\n"));
}

} // namespace
