#include "SqliteStoreSetup.h"

#include "RegistryStore.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SqliteStoreSetup {

namespace {

constexpr const char* kFormatName = "tollwatch-registry";
constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 15000;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString errorText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

QString sqliteText(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

[[noreturn]] void cannotOpen(const QString& path, const QString& reason) {
    throw RegistryError(QStringLiteral("Cannot open settings store %1: %2").arg(path, reason), path,
                        reason);
}

[[noreturn]] void damaged(const QString& path, const QString& reason) {
    throw DamagedStoreError(damagedMessage(path, reason), path, reason);
}

void exec(sqlite3* db, const char* sql, const QString& path) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) == SQLITE_OK)
        return;
    const QString reason = QString::fromUtf8(err ? err : "unknown error");
    sqlite3_free(err);
    throw RegistryError(QStringLiteral("Settings store %1: %2").arg(path, reason), path, reason);
}

void createTables(sqlite3* db, const QString& path) {
    exec(db,
         "BEGIN;"
         "CREATE TABLE meta(name TEXT PRIMARY KEY, value TEXT NOT NULL);"
         "CREATE TABLE keys("
         "  root INTEGER NOT NULL, fold TEXT NOT NULL, parent TEXT NOT NULL,"
         "  name TEXT NOT NULL, PRIMARY KEY(root, fold));"
         "CREATE INDEX keys_parent ON keys(root, parent);"
         "CREATE TABLE vals("
         "  root INTEGER NOT NULL, key TEXT NOT NULL, fold TEXT NOT NULL,"
         "  name TEXT NOT NULL, type INTEGER NOT NULL, data BLOB,"
         "  PRIMARY KEY(root, key, fold));",
         path);
    const QByteArray meta = QStringLiteral("INSERT INTO meta VALUES('format', '%1');"
                                           "INSERT INTO meta VALUES('version', '%2');"
                                           "COMMIT;")
                                .arg(QLatin1String(kFormatName))
                                .arg(kSchemaVersion)
                                .toUtf8();
    exec(db, meta.constData(), path);
    exec(db, "PRAGMA journal_mode=WAL", path);
}

// Builds a complete store in the file at temp.
void buildStore(const QByteArray& temp, const QString& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temp.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const QString reason = sqliteText(db);
        sqlite3_close(db);
        cannotOpen(path, reason);
    }
    try {
        createTables(db, path);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    // Closing checkpoints the journal into the file and removes it.
    sqlite3_close(db);
}

// Puts temp at path unless a file appeared there meanwhile (then that one,
// made by another program starting at the same moment, is the store).
void placeWithoutReplacing(const QByteArray& temp, const QByteArray& target, const QString& path) {
    if (::link(temp.constData(), target.constData()) == 0 || errno == EEXIST)
        return;
    // File systems without hard links.
    if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
            0 ||
        errno == EEXIST)
        return;
    struct stat st {};
    if (::lstat(target.constData(), &st) != 0 &&
        ::rename(temp.constData(), target.constData()) == 0)
        return;
    cannotOpen(path, errorText(errno));
}

// The first row that integrity_check gives: "ok" for a sound file.
void checkIntegrity(sqlite3* db, const QString& path) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check(1)", -1, &stmt, nullptr);
    QString verdict;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            verdict =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    const QString reason = sqliteText(db);
    sqlite3_finalize(stmt);
    if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT)
        damaged(path, reason);
    if (rc != SQLITE_ROW)
        cannotOpen(path, reason);
    if (verdict != QLatin1String("ok"))
        damaged(path, verdict);
}

// A store of ours has a meta table naming its format; another program's
// database, even one without tables, is not ours.
void checkFormat(sqlite3* db, const QString& path) {
    sqlite3_stmt* stmt = nullptr;
    bool ours = false;
    QString why = QStringLiteral("it has no format mark of ours");
    if (sqlite3_prepare_v2(db, "SELECT value FROM meta WHERE name = 'format'", -1, &stmt,
                           nullptr) == SQLITE_OK) {
        ours = sqlite3_step(stmt) == SQLITE_ROW &&
               QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) ==
                   QLatin1String(kFormatName);
    } else {
        why = sqliteText(db);
    }
    sqlite3_finalize(stmt);
    if (!ours)
        throw RegistryError(
            QStringLiteral("%1 is not a Tollwatch settings store (%2)").arg(path, why), path, why);
}

// A store is never an empty file: new ones are made whole. An empty file is a
// store that lost its content, unless its journal still holds it.
void refuseEmptied(const QByteArray& name, const QString& path) {
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != 0)
        return;
    struct stat wal {};
    if (::stat((name + "-wal").constData(), &wal) == 0 && wal.st_size > 0)
        return;
    damaged(path, QStringLiteral("the file is empty"));
}

} // namespace

void createIfMissing(const QString& path) {
    const QByteArray target = native(path);
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0 || errno != ENOENT)
        return;
    QByteArray temp = target + ".new-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        cannotOpen(path, errorText(errno));
    ::close(fd);
    try {
        buildStore(temp, path);
        placeWithoutReplacing(temp, target, path);
    } catch (...) {
        ::unlink(temp.constData());
        throw;
    }
    ::unlink(temp.constData());
}

sqlite3* openChecked(const QString& path) {
    const QByteArray name = native(path);
    refuseEmptied(name, path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const QString reason = sqliteText(db);
        sqlite3_close(db);
        cannotOpen(path, reason);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    try {
        checkIntegrity(db, path);
        checkFormat(db, path);
        exec(db, "PRAGMA journal_mode=WAL", path);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    return db;
}

void copyTo(sqlite3* db, const QString& storePath, const QString& target) {
    QByteArray temp = native(target) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw RegistryError(QStringLiteral("Cannot write the backup %1 of settings store %2: %3")
                                .arg(target, storePath, errorText(errno)),
                            storePath, errorText(errno));
    ::close(fd);
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(temp.constData(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", db, "main");
        rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(copy);
        sqlite3_backup_finish(backup);
    }
    const QString reason = sqliteText(copy);
    sqlite3_close(copy);
    if (rc != SQLITE_DONE || ::rename(temp.constData(), native(target).constData()) != 0) {
        ::unlink(temp.constData());
        throw RegistryError(
            QStringLiteral("Cannot write the backup %1 of settings store %2: %3")
                .arg(target, storePath, rc != SQLITE_DONE ? reason : errorText(errno)),
            storePath, reason);
    }
}

QString damagedMessage(const QString& path, const QString& reason) {
    QString text = QStringLiteral("Settings store %1 cannot be used: it is damaged (%2). It was "
                                  "left untouched. To start afresh, run the program again with "
                                  "--fresh-store: the damaged file is kept as %1.damaged and a "
                                  "new store takes its place. Then bring your settings back with "
                                  "tollreg --registry %1 import FILE, FILE being one that tollreg "
                                  "export wrote")
                       .arg(path, reason);
    const QString backup = path + QStringLiteral(".bak");
    if (QFile::exists(backup))
        text += QStringLiteral(", or one written from the last good copy with tollreg "
                               "--registry %1 export > FILE")
                    .arg(backup);
    return text + QLatin1Char('.');
}

} // namespace SqliteStoreSetup
