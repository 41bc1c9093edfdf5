// The headless shell: every request is a line, a virtual-clock run starts
// nothing but still tells a program that cannot be started, and a real-clock
// run hands the request on.

#include "HeadlessShell.h"
#include "RecordingShell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

struct Lines {
    QStringList all;
    HeadlessShell::LineSink sink() {
        return [this](const QStringList& f) {
            all << f.join(QLatin1Char('|'));
        };
    }
};

TEST(HeadlessShellTest, VirtualRunsCheckProgramsWithoutStartingThem) {
    Lines lines;
    HeadlessShell shell(lines.sink(), nullptr);
    EXPECT_TRUE(shell.startProgram(QStringLiteral("sh"), {QStringLiteral("-c"), {}}).ok);
    const ShellResult missing = shell.startProgram(QStringLiteral("/no/such/prog"), {});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, QStringLiteral("prog: No such file or directory"));
    QTemporaryDir dir;
    const QString plain = QDir(dir.path()).filePath(QStringLiteral("notes.txt"));
    QFile(plain).open(QIODevice::WriteOnly);
    EXPECT_FALSE(shell.startProgram(plain, {}).ok);
    EXPECT_FALSE(shell.startProgram(dir.path(), {}).ok);
    EXPECT_TRUE(shell.openUrl(QUrl(QStringLiteral("https://example.org/a b"))).ok);
    ASSERT_EQ(lines.all.size(), 5);
    EXPECT_EQ(lines.all.at(0), QStringLiteral("start|sh|-c|"));
    EXPECT_EQ(lines.all.at(1),
              QStringLiteral("start|/no/such/prog|failed: prog: No such file or directory"));
    EXPECT_EQ(lines.all.at(4), QStringLiteral("open|https://example.org/a b"));
}

TEST(HeadlessShellTest, RealRunsHandRequestsOnAndReportTheirFailures) {
    Lines lines;
    RecordingShell real;
    HeadlessShell shell(lines.sink(), &real);
    real.failWith = QStringLiteral("mutt: gone");
    EXPECT_FALSE(
        shell.startProgram(QStringLiteral("mutt"), {QStringLiteral("-y")}, QStringLiteral("/tmp"))
            .ok);
    ASSERT_EQ(real.started.size(), 1);
    EXPECT_EQ(real.started.at(0).workingDir, QStringLiteral("/tmp"));
    EXPECT_EQ(lines.all, QStringList{"start|mutt|-y|failed: mutt: gone"});
}

} // namespace
