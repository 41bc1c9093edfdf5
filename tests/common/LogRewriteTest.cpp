// The in-place rewrite of a log: the file keeps its identity (inode, owner,
// group, mode, hard links), files the caller may not write and links to
// another owner's file are refused, a rewrite killed at any step leaves the
// old or the new content whole, and a second user (nobody) keeps appending
// to a log root purged. Tests that need root skip without it.

#include "LogFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

struct stat statOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(encoded(path).constData(), &st), 0) << path.toStdString();
    return st;
}

QByteArray rawOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QByteArray withoutOld(const QByteArray& content) {
    QByteArray out;
    for (const QByteArray& line : LogFile::splitLines(content))
        if (!line.startsWith("old;"))
            out += line + "\r\n";
    return out;
}

// Every error number a refused rewrite gives, or 0 when it went through.
int rewriteError(const QString& path) {
    try {
        LogFile::rewrite(path, withoutOld);
        return 0;
    } catch (const LogFileError& e) {
        return e.error();
    }
}

class LogRewriteTest : public ::testing::Test {
protected:
    LogRewriteTest() {
        // Open to the second user of the two-user tests.
        ::chmod(encoded(dir.path()).constData(), 0777);
    }

    QString logWith(const QString& name, const QByteArray& content) const {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }
    QStringList folderEntries() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    static QString helper() {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/concurrent_writer");
    }
    // Runs the helper, as nobody when asked; its exit code (-1 when killed).
    static int runHelper(const QStringList& args, bool asNobody = false) {
        QProcess p;
        if (asNobody)
            p.start(QStringLiteral("runuser"),
                    QStringList({"-u", "nobody", "--", helper()}) + args);
        else
            p.start(helper(), args);
        if (!p.waitForFinished(60000))
            return -2;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    static bool twoUsersPossible() {
        return ::geteuid() == 0 && !QStandardPaths::findExecutable("runuser").isEmpty();
    }

    QTemporaryDir dir;
    const QByteArray oldAndNew = "old;1\r\nnew;2\r\nold;3\r\nnew;4\r\n";
};

TEST_F(LogRewriteTest, KeepsInodeModeHardLinksAndLeavesNothingBeside) {
    const QString path = logWith("access.txt", oldAndNew);
    const QString second = dir.filePath("second-name.txt");
    ASSERT_EQ(::link(encoded(path).constData(), encoded(second).constData()), 0);
    ASSERT_EQ(::chmod(encoded(path).constData(), 0620), 0);
    const struct stat before = statOf(path);

    LogFile::rewrite(path, withoutOld);

    const struct stat after = statOf(path);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(rawOf(second), QByteArray("new;2\r\nnew;4\r\n"));
    EXPECT_EQ(folderEntries(), QStringList({"access.txt", "second-name.txt"}));
}

TEST_F(LogRewriteTest, RefusesReadOnlyFilesEvenForRootAndLeavesThemAsTheyWere) {
    const QString path = logWith("access.txt", oldAndNew);
    ASSERT_EQ(::chmod(encoded(path).constData(), 0444), 0);
    EXPECT_EQ(rewriteError(path), EACCES);
    EXPECT_EQ(rawOf(path), oldAndNew);
    EXPECT_EQ(statOf(path).st_mode & 07777, 0444u);
    EXPECT_EQ(folderEntries(), QStringList({"access.txt"}));
}

TEST_F(LogRewriteTest, FollowsALinkOnlyToAFileOfTheLinksOwner) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another owner needs root";
    const QString target = logWith("root-owned.txt", oldAndNew);
    const QString foreign = dir.filePath("foreign-link.txt");
    ASSERT_TRUE(QFile::link(target, foreign));
    ASSERT_EQ(::lchown(encoded(foreign).constData(), kNobody, kNogroup), 0);
    EXPECT_EQ(rewriteError(foreign), EPERM);
    EXPECT_EQ(rawOf(target), oldAndNew);

    // The same target through a link of its own owner is rewritten.
    const QString own = dir.filePath("own-link.txt");
    ASSERT_TRUE(QFile::link(target, own));
    EXPECT_EQ(rewriteError(own), 0);
    EXPECT_EQ(rawOf(target), QByteArray("new;2\r\nnew;4\r\n"));
    EXPECT_TRUE(S_ISLNK(statOf(own).st_mode));
}

TEST_F(LogRewriteTest, RootPurgingAnotherUsersLogLeavesItTheirsAndAppendable) {
    if (!twoUsersPossible())
        GTEST_SKIP() << "needs root and runuser to act as a second user (nobody)";
    const QString path = logWith("nobody.txt", oldAndNew);
    ASSERT_EQ(::chown(encoded(path).constData(), kNobody, kNogroup), 0);
    ASSERT_EQ(::chmod(encoded(path).constData(), 0600), 0);

    LogFile::rewrite(path, withoutOld);
    const struct stat after = statOf(path);
    EXPECT_EQ(after.st_uid, kNobody);
    EXPECT_EQ(after.st_gid, kNogroup);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_EQ(runHelper({"append", path, "nobody", "1"}, true), 0);
    EXPECT_TRUE(rawOf(path).startsWith("new;2\r\nnew;4\r\nnobody;0;"));

    // And nobody cannot purge a log of root's that it may only read.
    const QString rootLog = logWith("root.txt", oldAndNew);
    ASSERT_EQ(::chmod(encoded(rootLog).constData(), 0644), 0);
    EXPECT_EQ(runHelper({"rewrite", rootLog, "old;", "-1"}, true), 1);
    EXPECT_EQ(rawOf(rootLog), oldAndNew);
}

// Killed at each step in turn, the rewrite leaves the old content (before
// its journal is whole) or the new one (after); the next one to lock the
// file (a reader here, an appending monitor below) completes it first.
TEST_F(LogRewriteTest, AKillAtAnyStepLeavesTheOldOrTheNewContentWhole) {
    QByteArray old;
    for (int i = 0; i < 400; ++i)
        old += (i % 3 == 0 ? "old;" : "new;") + QByteArray::number(i) + ";padding padding\r\n";
    const QByteArray fresh = withoutOld(old);
    const struct {
        LogFile::RewriteStep step;
        bool newContent;
    } cases[] = {{LogFile::RewriteStep::JournalHalfWritten, false},
                 {LogFile::RewriteStep::JournalWritten, true},
                 {LogFile::RewriteStep::FileHalfWritten, true},
                 {LogFile::RewriteStep::FileWritten, true},
                 {LogFile::RewriteStep::Truncated, true}};
    for (const auto& c : cases) {
        const QString path = logWith("access.txt", old);
        const ino_t inode = statOf(path).st_ino;
        ASSERT_EQ(runHelper({"rewrite", path, "old;", QString::number(int(c.step))}), -1)
            << "step " << int(c.step) << " was not reached";
        EXPECT_EQ(LogFile::readAll(path), c.newContent ? fresh : old) << "step " << int(c.step);
        EXPECT_EQ(statOf(path).st_ino, inode);
        EXPECT_EQ(folderEntries(), QStringList({"access.txt"})) << "step " << int(c.step);

        // Killed again, then a monitor appends before anyone reads.
        logWith("access.txt", old);
        ASSERT_EQ(runHelper({"rewrite", path, "old;", QString::number(int(c.step))}), -1);
        ASSERT_EQ(runHelper({"append", path, "after", "1"}), 0);
        const QByteArray content = rawOf(path);
        EXPECT_TRUE(content.startsWith(c.newContent ? fresh : old)) << "step " << int(c.step);
        EXPECT_TRUE(content.endsWith(";" + QByteArray(200, 'x') + "\r\n"));
        EXPECT_EQ(LogFile::splitLines(content).size(),
                  LogFile::splitLines(c.newContent ? fresh : old).size() + 1);
    }
}

TEST_F(LogRewriteTest, AJournalOfSomeoneWhoCouldNotWriteTheLogIsNeverApplied) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "a journal of another owner needs root to be made";
    const QString path = logWith("access.txt", oldAndNew);
    ASSERT_EQ(::chmod(encoded(path).constData(), 0644), 0);
    // A whole journal in every respect, but nobody could never write the log.
    ASSERT_EQ(runHelper({"rewrite", path, "old;",
                         QString::number(int(LogFile::RewriteStep::FileHalfWritten))}),
              -1);
    const QString journal = dir.filePath(".access.txt.rewrite");
    ASSERT_TRUE(QFile::exists(journal));
    logWith("access.txt", oldAndNew);
    ASSERT_EQ(::chown(encoded(journal).constData(), kNobody, kNogroup), 0);
    EXPECT_EQ(LogFile::readAll(path), oldAndNew);
    EXPECT_EQ(LogFile::appendLine(path, "appended;5"), 0);
    EXPECT_EQ(rawOf(path), oldAndNew + "appended;5\r\n");
    EXPECT_NE(rewriteError(path), 0); // its journal's place is taken
    EXPECT_EQ(rawOf(path), oldAndNew + "appended;5\r\n");
}

// A cut journal (the rewrite died while writing it) is dropped; a file that
// merely has a journal's name is left alone, and the rewrite then refused.
TEST_F(LogRewriteTest, CutJournalsAreDroppedAndForeignFilesKept) {
    const QString path = logWith("access.txt", oldAndNew);
    const QString journal = dir.filePath(".access.txt.rewrite");
    QFile cut(journal);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write("TWLO"); // fewer bytes than its heading
    cut.close();
    EXPECT_EQ(LogFile::readAll(path), oldAndNew);
    EXPECT_FALSE(QFile::exists(journal));

    QFile notes(journal);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("my own notes, not a journal\n");
    notes.close();
    EXPECT_EQ(LogFile::readAll(path), oldAndNew);
    EXPECT_EQ(rewriteError(path), EEXIST);
    EXPECT_EQ(rawOf(journal), QByteArray("my own notes, not a journal\n"));
    EXPECT_EQ(rawOf(path), oldAndNew);
}

} // namespace
