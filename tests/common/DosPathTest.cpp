// Stored DOS paths mapped to native ones.

#include "DosPath.h"
#include "MemoryRegistryStore.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(DosPathMapper, DriveLettersMapToTheirFolders) {
    const DosPathMapper plain;
    EXPECT_EQ(plain.toNative("c:\\access.txt"), QDir::homePath() + "/access.txt");
    EXPECT_EQ(plain.toNative("C:\\Logs\\May\\access.txt"),
              QDir::homePath() + "/Logs/May/access.txt");
    EXPECT_EQ(plain.toNative("c:\\"), QDir::homePath());
    EXPECT_EQ(plain.toNative("d:\\data\\a.log"), QDir::homePath() + "/drive_d/data/a.log");

    const DosPathMapper configured({{QLatin1Char('C'), "/srv/c"}, {QLatin1Char('E'), "/mnt/e/"}});
    EXPECT_EQ(configured.toNative("c:\\access.txt"), "/srv/c/access.txt");
    EXPECT_EQ(configured.toNative("e:/x/y.txt"), "/mnt/e/x/y.txt");
}

TEST(DosPathMapper, NativeAndRelativePathsPassWithSlashes) {
    const DosPathMapper plain;
    EXPECT_EQ(plain.toNative("/var/log/access.txt"), "/var/log/access.txt");
    EXPECT_EQ(plain.toNative("access.txt"), "access.txt");
    EXPECT_EQ(plain.toNative("logs\\access.txt"), "logs/access.txt");
    EXPECT_EQ(plain.toNative(""), "");
}

TEST(DosPathMapper, DrivesComeFromTheStoreInAnyCase) {
    MemoryRegistryStore store;
    store.writeValue(RegRoot::CurrentUser, kDrivesKey, "d", RegValue::fromString("/media/d"));
    store.writeValue(RegRoot::CurrentUser, kDrivesKey, "C", RegValue::fromString(""));
    store.writeValue(RegRoot::CurrentUser, kDrivesKey, "Notes", RegValue::fromString("/x"));
    const DosPathMapper mapper = DosPathMapper::fromStore(store);
    EXPECT_EQ(mapper.toNative("D:\\access.txt"), "/media/d/access.txt");
    EXPECT_EQ(mapper.driveFolder(QLatin1Char('c')), QDir::homePath());
}

} // namespace
