// The store file kept safe: a damaged or emptied store refused untouched and
// the way to start afresh, the backup, private modes, the lock that follows
// the file through every link, and writes refused once the file is gone.

#include "RegistryLocation.h"
#include "SqliteRegistryStore.h"
#include "StoreFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kKey = QStringLiteral("Software\\Varnholt\\Farrowline");

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& file, const QByteArray& data) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

class StoreSafety : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("registry.sqlite"));

    void seed(int values = 40) {
        SqliteRegistryStore store(file);
        store.transaction([&] {
            for (int i = 0; i < values; ++i)
                store.writeValue(RegRoot::CurrentUser, kKey, QStringLiteral("v%1").arg(i),
                                 RegValue::fromString(QStringLiteral("value %1").arg(i)));
        });
    }
    QString read(RegistryStore& store, int i) {
        const auto v = store.readValue(RegRoot::CurrentUser, kKey, QStringLiteral("v%1").arg(i));
        return v ? v->text : QStringLiteral("<missing>");
    }
    // Opening must be refused as damaged, naming the file, and change nothing.
    std::string expectDamaged() {
        const QByteArray before = contents(file);
        std::string message;
        try {
            SqliteRegistryStore store(file);
            ADD_FAILURE() << "opened a damaged store";
        } catch (const DamagedStoreError& e) {
            message = e.what();
            EXPECT_EQ(e.fileName(), file);
        }
        EXPECT_EQ(contents(file), before);
        EXPECT_NE(message.find(file.toStdString()), std::string::npos) << message;
        EXPECT_NE(message.find("--fresh-store"), std::string::npos) << message;
        return message;
    }
};

TEST_F(StoreSafety, EmptiedOrDamagedStoreIsRefusedUntouchedAndNamesTheWaysBack) {
    seed();
    writeFile(file, QByteArray());
    const std::string emptied = expectDamaged();
    EXPECT_NE(emptied.find("the file is empty"), std::string::npos) << emptied;
    // No backup yet, so none is offered.
    EXPECT_EQ(emptied.find(".bak"), std::string::npos) << emptied;

    QFile::remove(file);
    seed(400);
    SqliteRegistryStore(file).writeBackup();
    // Break the b-tree of the values table: a page in the middle of the file.
    QByteArray data = contents(file);
    ASSERT_GT(data.size(), 6 * 4096);
    for (int i = 0; i < 64; ++i)
        data[4 * 4096 + 8 + i] = char(0xff);
    writeFile(file, data);
    const std::string damaged = expectDamaged();
    EXPECT_NE(damaged.find((file + ".bak").toStdString()), std::string::npos) << damaged;
}

TEST_F(StoreSafety, FreshStoreSetsTheDamagedFileAsideAndALaterOneBesideIt) {
    seed();
    writeFile(file, QByteArray());
    QString aside;
    {
        const auto store = SqliteRegistryStore::openAfresh(file, &aside);
        EXPECT_EQ(aside, file + ".damaged");
        EXPECT_EQ(read(*store, 1), "<missing>");
        store->writeValue(RegRoot::CurrentUser, kKey, "v1", RegValue::fromString("new"));
    }
    EXPECT_EQ(contents(aside), QByteArray());
    // A sound store is opened as it is.
    QString untouched;
    {
        const auto store = SqliteRegistryStore::openAfresh(file, &untouched);
        EXPECT_TRUE(untouched.isEmpty());
        EXPECT_EQ(read(*store, 1), "new");
    }
    writeFile(file, QByteArray(4096, 'x'));
    SqliteRegistryStore::openAfresh(file, &aside);
    EXPECT_EQ(aside, file + ".damaged-2");
    EXPECT_EQ(contents(aside), QByteArray(4096, 'x'));
}

TEST_F(StoreSafety, BackupIsACompletePrivateCopyReplacedWhole) {
    seed();
    SqliteRegistryStore store(file);
    store.writeBackup();
    store.writeValue(RegRoot::CurrentUser, kKey, "v1", RegValue::fromString("changed"));
    store.writeBackup();
    const QString backup = SqliteRegistryStore::backupFileName(file);
    EXPECT_EQ(modeOf(backup), 0600);
    SqliteRegistryStore copy(backup);
    EXPECT_EQ(read(copy, 1), "changed");
    EXPECT_EQ(read(copy, 39), "value 39");
    // Only the store, its backup and their journals: no temporary file is left.
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        EXPECT_TRUE(name.startsWith("registry.sqlite")) << name.toStdString();
    EXPECT_FALSE(QDir(dir.path()).entryList(QDir::Files).join(' ').contains("XXX"));
}

TEST_F(StoreSafety, NewStoreAndItsFolderArePrivateAndAnOpenStoreIsTightened) {
    const mode_t old = ::umask(022);
    {
        SqliteRegistryStore store(file);
        store.writeValue(RegRoot::CurrentUser, kKey, "PW", RegValue::fromString("shifted"));
        EXPECT_EQ(modeOf(file), 0600);
        EXPECT_EQ(modeOf(file + "-wal"), 0600);
    }
    ::chmod(QFile::encodeName(file).constData(), 0644);
    {
        SqliteRegistryStore store(file);
        EXPECT_EQ(modeOf(file), 0600);
    }
    const QString config = dir.filePath("config");
    QDir().mkpath(config + "/varnholt");
    ::chmod(QFile::encodeName(config + "/varnholt").constData(), 0755);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    const QByteArray registry = qgetenv("TOLLWATCH_REGISTRY");
    qunsetenv("TOLLWATCH_REGISTRY");
    EXPECT_EQ(RegistryLocation::resolve({}), config + "/varnholt/registry.sqlite");
    qputenv("TOLLWATCH_REGISTRY", registry);
    ::umask(old);
    EXPECT_EQ(modeOf(config + "/varnholt"), 0700);
}

// SQLite itself refuses a second connection in one process that reaches the
// file under another name, so the other names take the bare lock.
TEST_F(StoreSafety, SoleUseLockFollowsTheFileThroughEveryLink) {
    seed();
    const QString hardLink = dir.filePath("other-name.sqlite");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(hardLink).constData()),
              0);
    const QString symLink = dir.filePath("link.sqlite");
    ASSERT_TRUE(QFile::link(file, symLink));
    auto first = std::make_unique<SqliteRegistryStore>(file);
    ASSERT_TRUE(first->lockForSoleUse());
    EXPECT_TRUE(first->lockForSoleUse());
    StoreFile::SoleUseLock viaHardLink;
    StoreFile::SoleUseLock viaSymLink;
    EXPECT_FALSE(viaHardLink.take(hardLink));
    EXPECT_FALSE(viaSymLink.take(symLink));
    // The lock leaves SQLite's own locking alone: another connection writes.
    SqliteRegistryStore second(file);
    EXPECT_FALSE(second.lockForSoleUse());
    second.writeValue(RegRoot::CurrentUser, kKey, "v2", RegValue::fromString("by second"));
    EXPECT_EQ(read(*first, 2), "by second");
    first.reset();
    EXPECT_TRUE(viaHardLink.take(hardLink));
    EXPECT_FALSE(second.lockForSoleUse());
}

TEST_F(StoreSafety, RemovedStoreIsNotWrittenUntilAStoreIsBackAtItsPath) {
    seed();
    SqliteRegistryStore store(file);
    ASSERT_TRUE(store.lockForSoleUse());
    store.writeBackup();
    ASSERT_TRUE(QFile::remove(file));
    try {
        store.writeValue(RegRoot::CurrentUser, kKey, "v1", RegValue::fromString("lost"));
        ADD_FAILURE() << "wrote to a removed store";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.fileName(), file);
        EXPECT_EQ(e.reason(), "the file was removed");
    }
    EXPECT_FALSE(QFileInfo::exists(file));
    // What it had is still read.
    EXPECT_EQ(read(store, 1), "value 1");

    // The user puts the last good copy back: writes go there, and the lock
    // moved with them.
    ASSERT_TRUE(QFile::copy(SqliteRegistryStore::backupFileName(file), file));
    store.writeValue(RegRoot::CurrentUser, kKey, "v1", RegValue::fromString("kept"));
    SqliteRegistryStore other(file);
    EXPECT_EQ(read(other, 1), "kept");
    EXPECT_FALSE(other.lockForSoleUse());
}

} // namespace
