// The shared log files: line format, failures, rewrite, and appenders in
// several processes competing with a rewriter and readers.

#include "LogFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class LogFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("access.txt"));

    QByteArray raw() const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    QStringList folderEntries() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::System);
    }
};

TEST_F(LogFileTest, AppendWritesUtf8LinesWithCrLf) {
    EXPECT_EQ(LogFile::appendLine(file, QString::fromUtf8("Åsa;30.8.2026;13:30:00;5;1,25")), 0);
    EXPECT_EQ(LogFile::appendLine(file, "bob;1"), 0);
    EXPECT_EQ(raw(), QByteArray("\xc3\x85sa;30.8.2026;13:30:00;5;1,25\r\nbob;1\r\n"));
    EXPECT_EQ(LogFile::readAll(file), raw());
}

TEST_F(LogFileTest, FailuresReportTheSystemError) {
    const QString nowhere = dir.filePath("missing/access.txt");
    EXPECT_EQ(LogFile::appendLine(nowhere, "x"), ENOENT);
    EXPECT_FALSE(QFileInfo::exists(nowhere));
    try {
        LogFile::readAll(nowhere);
        FAIL() << "read a missing file";
    } catch (const LogFileError& e) {
        EXPECT_EQ(e.error(), ENOENT);
        EXPECT_NE(std::string(e.what()).find(nowhere.toStdString()), std::string::npos);
    }
    EXPECT_THROW(LogFile::rewrite(nowhere, [](const QByteArray& b) { return b; }), LogFileError);
}

TEST_F(LogFileTest, RewriteReplacesTheContentAndKeepsPermissions) {
    LogFile::appendLine(file, "old;1");
    LogFile::appendLine(file, "new;2");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    LogFile::rewrite(file, [](const QByteArray& content) {
        EXPECT_EQ(content, QByteArray("old;1\r\nnew;2\r\n"));
        return QByteArray("new;2\r\n");
    });
    EXPECT_EQ(raw(), QByteArray("new;2\r\n"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(folderEntries(), QStringList({"access.txt"}));
}

TEST_F(LogFileTest, RewriteThroughASymlinkReplacesTheTarget) {
    const QString target = dir.filePath("real.txt");
    const QString link = dir.filePath("link.txt");
    LogFile::appendLine(target, "a");
    ASSERT_TRUE(QFile::link(target, link));
    LogFile::rewrite(link, [](const QByteArray& b) { return b + "b\r\n"; });
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a\r\nb\r\n"));
}

TEST_F(LogFileTest, FailedTransformLeavesTheFileAndNoTemporaryFile) {
    LogFile::appendLine(file, "keep");
    EXPECT_THROW(LogFile::rewrite(file,
                                  [](const QByteArray&) -> QByteArray {
                                      throw std::runtime_error("purge failed");
                                  }),
                 std::runtime_error);
    EXPECT_EQ(raw(), QByteArray("keep\r\n"));
    EXPECT_EQ(folderEntries(), QStringList({"access.txt"}));
    // The lock was released: the next append does not wait for ever.
    EXPECT_EQ(LogFile::appendLine(file, "more"), 0);
}

// Only regular files are read: a FIFO would wait for a writer for ever and a
// device such as /dev/zero never ends. A watchdog frees a reader that hangs
// on the FIFO all the same, so such a fault fails instead of stalling.
TEST_F(LogFileTest, ReadsOnlyRegularFiles) {
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!done.wait_for(lock, std::chrono::seconds(10), [&] { return finished; })) {
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
            if (fd >= 0)
                ::close(fd);
        }
    });
    const auto errorOf = [](const QString& path) {
        try {
            LogFile::readAll(path);
            return 0;
        } catch (const LogFileError& e) {
            return e.error();
        }
    };
    EXPECT_EQ(errorOf(fifo), EINVAL);
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    done.notify_one();
    watchdog.join();
    EXPECT_EQ(errorOf("/dev/null"), EINVAL);
    EXPECT_EQ(errorOf(dir.path()), EINVAL);
    EXPECT_THROW(LogFile::rewrite(fifo, [](const QByteArray& b) { return b; }), LogFileError);
}

TEST_F(LogFileTest, RefusesAFileLargerThanTheLimitWithoutReadingIt) {
    LogFile::appendLine(file, "a");
    ASSERT_EQ(::truncate(QFile::encodeName(file).constData(), LogFile::kMaxSize + 1), 0);
    try {
        LogFile::readAll(file);
        FAIL() << "read a file beyond the limit";
    } catch (const LogFileError& e) {
        EXPECT_EQ(e.error(), EFBIG);
    }
    ASSERT_EQ(::truncate(QFile::encodeName(file).constData(), LogFile::kMaxSize), 0);
    EXPECT_EQ(LogFile::readAll(file).size(), LogFile::kMaxSize);
}

// Another process's lock is simulated by a second open file description of
// this process, which flock treats the same way. The pauses are counted, not
// slept.
TEST_F(LogFileTest, WaitsABoundedTimeForALockThenGivesUp) {
    LogFile::appendLine(file, "old;1");
    const int holder = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    int paused = 0;
    LogFile::LockWait wait;
    wait.pause = [&paused](int ms) {
        paused += ms;
    };
    try {
        LogFile::readAll(file, wait);
        FAIL() << "read a locked file";
    } catch (const LogFileError& e) {
        EXPECT_EQ(e.error(), EWOULDBLOCK);
    }
    EXPECT_EQ(paused, wait.limitMs);

    // Freed during the wait: the read and the rewrite go on.
    paused = 0;
    wait.pause = [&](int ms) {
        paused += ms;
        if (paused == 3 * wait.stepMs)
            ::flock(holder, LOCK_UN);
    };
    EXPECT_EQ(LogFile::readAll(file, wait), QByteArray("old;1\r\n"));
    EXPECT_EQ(paused, 3 * wait.stepMs);
    ASSERT_EQ(::flock(holder, LOCK_SH), 0); // readers do not hold a rewrite up
    EXPECT_EQ(LogFile::readAll(file, wait), QByteArray("old;1\r\n"));
    LogFile::RewriteOptions options;
    options.wait = wait;
    EXPECT_THROW(LogFile::rewrite(
                     file, [](const QByteArray&) { return QByteArray(); }, options),
                 LogFileError);
    ::close(holder);
    LogFile::rewrite(
        file, [](const QByteArray&) { return QByteArray(); }, options);
    EXPECT_EQ(raw(), QByteArray());
}

TEST(LogFileSplitLines, AcceptsCrLfAndLfAndKeepsAnUnfinishedLastLine) {
    using L = QList<QByteArray>;
    EXPECT_EQ(LogFile::splitLines("a\r\nb\nc"), L({"a", "b", "c"}));
    EXPECT_EQ(LogFile::splitLines("a\r\n\r\nb\r\n"), L({"a", "", "b"}));
    EXPECT_EQ(LogFile::splitLines(""), L());
    EXPECT_EQ(LogFile::splitLines("\r\n"), L({""}));
    EXPECT_EQ(LogFile::splitLines("x;1\r"), L({"x;1"}));
}

// Three processes append while this one purges old lines again and again
// and reads in between: every appended line survives whole, exactly once,
// every purged line goes, and no read ever sees half a line.
TEST_F(LogFileTest, ConcurrentAppendersRewriterAndReadersLoseNothing) {
    const int seeded = 50;
    const int perWriter = 300;
    for (int i = 0; i < seeded; ++i)
        LogFile::appendLine(file, QStringLiteral("purge;%1").arg(i));

    const QString helper = QCoreApplication::applicationDirPath() + "/concurrent_writer";
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const char* tag : {"w1", "w2", "w3"}) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start(helper, {"append", file, tag, QString::number(perWriter)});
        ASSERT_TRUE(writers.back()->waitForStarted());
    }
    const auto dropPurged = [](const QByteArray& content) {
        QByteArray out;
        for (const QByteArray& line : LogFile::splitLines(content))
            if (!line.startsWith("purge;"))
                out += line + "\r\n";
        return out;
    };
    int rounds = 0;
    const auto running = [&] {
        for (auto& p : writers)
            if (p->state() != QProcess::NotRunning)
                return true;
        return false;
    };
    while (rounds < 3 || (running() && rounds < 300)) {
        LogFile::rewrite(file, dropPurged);
        const QByteArray seen = LogFile::readAll(file);
        ASSERT_TRUE(seen.isEmpty() || seen.endsWith("\r\n")) << "half a line was visible";
        ++rounds;
        for (auto& p : writers)
            if (p->state() != QProcess::NotRunning)
                p->waitForFinished(0);
    }
    for (auto& p : writers) {
        if (p->state() != QProcess::NotRunning) {
            ASSERT_TRUE(p->waitForFinished(60000));
        }
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    LogFile::rewrite(file, dropPurged);

    static const QRegularExpression whole(QStringLiteral("^w[123];\\d+;x{200}$"));
    QSet<QString> lines;
    for (const QByteArray& line : LogFile::splitLines(LogFile::readAll(file))) {
        const QString text = QString::fromUtf8(line);
        EXPECT_TRUE(whole.match(text).hasMatch()) << text.toStdString();
        EXPECT_FALSE(lines.contains(text)) << "twice: " << text.toStdString();
        lines.insert(text);
    }
    EXPECT_EQ(lines.size(), 3 * perWriter);
    EXPECT_TRUE(raw().endsWith("\r\n"));
}

} // namespace
