// Desktop entries written by the shortcut writer: the Exec quoting of the
// freedesktop desktop-entry format, file names, folders, failures, and what the
// freedesktop validator says about the result.

#include "TPBShellLink.h"
#include "DesktopEntryCheck.h"
#include "DesktopEntryFormat.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using namespace DesktopEntryFormat;

QString folder(const QString& name) {
    const QString path = TestEnvironment::folder() + QLatin1Char('/') + name;
    QDir(path).removeRecursively();
    return path;
}

TEST(DesktopEntryFormat, ArgumentsAreQuotedOnlyWhereFreedesktopAsks) {
    EXPECT_EQ(quoteArgument(QStringLiteral("/C")), QStringLiteral("/C"));
    EXPECT_EQ(quoteArgument(QStringLiteral("/opt/my app/tw")),
              QStringLiteral("\"/opt/my app/tw\""));
    EXPECT_EQ(quoteArgument(QStringLiteral("a\"b")), QStringLiteral("\"a\\\"b\""));
    EXPECT_EQ(quoteArgument(QStringLiteral("$HOME")), QStringLiteral("\"\\$HOME\""));
    EXPECT_EQ(quoteArgument(QStringLiteral("`x`")), QStringLiteral("\"\\`x\\`\""));
    EXPECT_EQ(quoteArgument(QStringLiteral("50%")), QStringLiteral("50%%"));
    EXPECT_EQ(quoteArgument(QString()), QStringLiteral("\"\""));
    // The string escape comes on top: a quoted backslash is written as four.
    EXPECT_EQ(execLine(QStringLiteral("/a b/tw"), {QStringLiteral("c\\d")}),
              QStringLiteral("\"/a b/tw\" \"c\\\\\\\\d\""));
}

TEST(DesktopEntryFormat, HostileArgumentsComeBackAsTheyWent) {
    const QStringList arguments = {
        QStringLiteral("/C"),          QStringLiteral("two words"), QStringLiteral("it's"),
        QStringLiteral("a\\b"),        QStringLiteral("\"q\""),     QStringLiteral("100%"),
        QStringLiteral("$(rm -rf ~)"), QStringLiteral("line\nend"), QStringLiteral(""),
        QStringLiteral(" lead"),       QStringLiteral("ä ö ü"),     QStringLiteral("%f")};
    const QString program = QStringLiteral("/home/a user/bin/tollwatch");
    EXPECT_EQ(splitExec(execLine(program, arguments)), QStringList{program} + arguments);
    EXPECT_EQ(unescapeValue(escapeValue(QStringLiteral(" x\t\\y\n"))), QStringLiteral(" x\t\\y\n"));
    EXPECT_EQ(escapeValue(QStringLiteral(" a b")), QStringLiteral("\\sa b"));
}

TEST(TPBShellLink, FileNameGetsTheSuffixOnceAndTheFolderOnce) {
    TPBShellLink link;
    link.setFileName(QStringLiteral("Tollwatch"));
    EXPECT_EQ(link.FileName(), QStringLiteral("Tollwatch.desktop"));
    link.setFileName(QStringLiteral("Dialdart.DESKTOP"));
    EXPECT_EQ(link.FileName(), QStringLiteral("Dialdart.DESKTOP"));
    link.ShellFolder = QStringLiteral("/home/u/menu/");
    link.setFileName(QStringLiteral("Tollwatch"));
    EXPECT_EQ(link.FileName(), QStringLiteral("/home/u/menu/Tollwatch.desktop"));
    link.ShellFolder = QStringLiteral("/home/u/menu");
    link.setFileName(QStringLiteral("Tollwatch"));
    EXPECT_EQ(link.FileName(), QStringLiteral("/home/u/menu/Tollwatch.desktop"));
}

TEST(TPBShellLink, SavesAValidEntryWithEveryPropertyOverAnOldOne) {
    TPBShellLink link;
    link.ShellFolder = folder(QStringLiteral("new folder/applications"));
    link.setFileName(QStringLiteral("Dialdart"));
    link.Target = QStringLiteral("/opt/toll watch/bin/tollwatch");
    link.Arguments = {QStringLiteral("/C")};
    link.WorkingDir = QStringLiteral("/tmp");
    link.Description = QStringLiteral("Dial and time the call");
    link.FileIcon = {QStringLiteral("tollwatch-dialdart"), 1};
    link.Categories = {QStringLiteral("Network"), QStringLiteral("Monitor")};
    QDir().mkpath(link.ShellFolder);
    QFile old(link.FileName());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("[Desktop Entry]\nName=old and much longer than the new one\n");
    old.close();
    link.Save();
    const auto keys = DesktopEntryCheck::keys(link.FileName());
    EXPECT_EQ(keys.value("Name"), QStringLiteral("Dialdart"));
    EXPECT_EQ(keys.value("Exec"), QStringLiteral("\"/opt/toll watch/bin/tollwatch\" /C"));
    EXPECT_EQ(keys.value("Path"), QStringLiteral("/tmp"));
    EXPECT_EQ(keys.value("Comment"), QStringLiteral("Dial and time the call"));
    EXPECT_EQ(keys.value("Icon"), QStringLiteral("tollwatch-dialdart"));
    EXPECT_EQ(keys.value("Categories"), QStringLiteral("Network;Monitor;"));
    EXPECT_FALSE(QFileInfo(link.FileName()).isExecutable());
    if (!DesktopEntryCheck::available())
        GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    EXPECT_EQ(DesktopEntryCheck::validate(link.FileName()).toStdString(), "");
}

TEST(TPBShellLink, ALauncherOnTheDesktopIsExecutable) {
    TPBShellLink link;
    link.ShellFolder = folder(QStringLiteral("Desktop"));
    link.setFileName(QStringLiteral("Dialdart"));
    link.Target = QStringLiteral("/usr/bin/tollwatch");
    link.Launcher = true;
    link.Save();
    EXPECT_TRUE(QFileInfo(link.FileName()).isExecutable());
}

TEST(TPBShellLink, FailuresNameTheFileAndTheReason) {
    const QString blocker = folder(QStringLiteral("blocker"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TPBShellLink link;
    link.ShellFolder = blocker + QStringLiteral("/sub");
    link.setFileName(QStringLiteral("Tollwatch"));
    link.Target = QStringLiteral("/usr/bin/tollwatch");
    try {
        link.Save();
        FAIL() << "a folder below a file was written";
    } catch (const EPBShellLink& e) {
        EXPECT_TRUE(e.text().startsWith(link.FileName())) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QLatin1String("cannot create the folder")));
    }
    link.ShellFolder = folder(QStringLiteral("fine"));
    link.setFileName(QStringLiteral("Tollwatch"));
    link.Target.clear();
    EXPECT_THROW(link.Save(), EPBShellLink);
    EXPECT_FALSE(QFileInfo::exists(link.FileName()));
}

} // namespace
