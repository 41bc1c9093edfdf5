// The user's shell folders and starting with the session: the store's values
// where present, the XDG places otherwise, and the Run value with its
// autostart entry kept in step.

#include "ShellFolders.h"
#include "DesktopEntryCheck.h"
#include "DosPath.h"
#include "MemoryRegistryStore.h"
#include "SessionAutostart.h"
#include "TPBShellLink.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

void setFolder(RegistryStore& store, const QString& name, const QString& path) {
    store.writeValue(RegRoot::CurrentUser, kShellFoldersKey, name, RegValue::fromString(path));
}

TEST(ShellFolders, XdgPlacesWhenTheStoreHasNone) {
    MemoryRegistryStore store;
    const ShellFolders folders(store);
    const QString root = TestEnvironment::folder();
    EXPECT_EQ(folders.path(ShellFolder::Programs), root + QStringLiteral("/data/applications"));
    EXPECT_EQ(folders.path(ShellFolder::StartUp), root + QStringLiteral("/config/autostart"));
    EXPECT_EQ(folders.path(ShellFolder::Desktop), root + QStringLiteral("/home/Desktop"));
    setFolder(store, QStringLiteral("Programs"), QStringLiteral("  "));
    EXPECT_EQ(folders.path(ShellFolder::Programs), root + QStringLiteral("/data/applications"));
}

TEST(ShellFolders, StoredFoldersWinAndDosPathsAreMapped) {
    MemoryRegistryStore store;
    setFolder(store, QStringLiteral("programs"), QStringLiteral("C:\\Start Menu\\Programs\\"));
    setFolder(store, QStringLiteral("Desktop"), QStringLiteral("/srv/desk"));
    store.writeValue(RegRoot::CurrentUser, kDrivesKey, QStringLiteral("D"),
                     RegValue::fromString(QStringLiteral("/mnt/d")));
    setFolder(store, QStringLiteral("StartUp"), QStringLiteral("d:\\Auto"));
    const ShellFolders folders(store);
    const QString programs = folders.path(ShellFolder::Programs);
    EXPECT_EQ(programs, QDir::homePath() + QStringLiteral("/Start Menu/Programs/"));
    EXPECT_EQ(folders.path(ShellFolder::Desktop), QStringLiteral("/srv/desk"));
    EXPECT_EQ(folders.path(ShellFolder::StartUp), QStringLiteral("/mnt/d/Auto"));
    // A folder that ends in a separator gets no second one.
    TPBShellLink link;
    link.ShellFolder = programs;
    link.setFileName(QStringLiteral("Tollwatch"));
    EXPECT_EQ(link.FileName(),
              QDir::homePath() + QStringLiteral("/Start Menu/Programs/Tollwatch.desktop"));
}

class SessionAutostartTest : public ::testing::Test {
protected:
    void SetUp() override { QDir(ShellFolders::xdgPath(ShellFolder::StartUp)).removeRecursively(); }
    QString runValue() const {
        const auto v = store.readValue(RegRoot::LocalMachine, kRunKey, QStringLiteral("Tollwatch"));
        return v ? v->text : QStringLiteral("<none>");
    }
    MemoryRegistryStore store;
    SessionAutostart autostart{store,
                               QStringLiteral("Tollwatch"),
                               {QStringLiteral("Time and cost"), QStringLiteral("tollwatch")}};
};

TEST_F(SessionAutostartTest, TheEntryExistsExactlyWhileTheRunValueIsSet) {
    EXPECT_FALSE(autostart.isOn());
    autostart.turnOn(QStringLiteral("/opt/tw/bin/tollwatch"));
    EXPECT_EQ(runValue(), QStringLiteral("/opt/tw/bin/tollwatch"));
    EXPECT_EQ(autostart.entryFile(),
              TestEnvironment::folder() + QStringLiteral("/config/autostart/Tollwatch.desktop"));
    const auto keys = DesktopEntryCheck::keys(autostart.entryFile());
    EXPECT_EQ(keys.value("Exec"), QStringLiteral("/opt/tw/bin/tollwatch"));
    EXPECT_EQ(keys.value("Icon"), QStringLiteral("tollwatch"));
    if (DesktopEntryCheck::available()) {
        EXPECT_EQ(DesktopEntryCheck::validate(autostart.entryFile()).toStdString(), "");
    }
    autostart.turnOff();
    EXPECT_EQ(runValue(), QStringLiteral("<none>"));
    EXPECT_FALSE(QFileInfo::exists(autostart.entryFile()));
    // Turning off what is off is no failure.
    EXPECT_NO_THROW(autostart.turnOff());
}

TEST_F(SessionAutostartTest, SyncFollowsAValueChangedBehindItsBack) {
    store.writeValue(RegRoot::LocalMachine, kRunKey, QStringLiteral("tollwatch"),
                     RegValue::fromString(QStringLiteral("C:\\Tools\\TOLLWAT.EXE")));
    autostart.sync();
    EXPECT_EQ(DesktopEntryCheck::keys(autostart.entryFile()).value("Exec"),
              QDir::homePath() + QStringLiteral("/Tools/TOLLWAT.EXE"));
    store.writeValue(RegRoot::LocalMachine, kRunKey, QStringLiteral("Tollwatch"),
                     RegValue::fromString(QString()));
    autostart.sync();
    EXPECT_FALSE(QFileInfo::exists(autostart.entryFile()));
}

TEST_F(SessionAutostartTest, FailuresReachTheCaller) {
    // The autostart folder is a file: the value is written, the entry fails.
    const QString place = ShellFolders::xdgPath(ShellFolder::StartUp);
    QFile blocker(place);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(autostart.turnOn(QStringLiteral("/usr/bin/tollwatch")), EPBShellLink);
    EXPECT_EQ(runValue(), QStringLiteral("/usr/bin/tollwatch"));
    QFile::remove(place);
    store.setFailWrites(true);
    EXPECT_THROW(autostart.turnOn(QStringLiteral("/usr/bin/tollwatch")), RegistryError);
    EXPECT_FALSE(QFileInfo::exists(autostart.entryFile()));
}

} // namespace
