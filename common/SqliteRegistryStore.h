#pragma once
// The settings store on one SQLite file (WAL, busy time-out), shared by the
// monitor, the companion and tollreg; two processes see each other's writes
// at once and concurrent writers wait for each other instead of failing.
// A store is checked when it is opened and refused untouched when damaged;
// new stores and their folders are private to the user.

#include "RegistryStore.h"
#include "StoreFile.h"

#include <QHash>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

class SqliteRegistryStore : public RegistryStore {
public:
    // The command-line option that sets a damaged store aside and starts a
    // new one in its place.
    static constexpr const char* kFreshStoreOption = "--fresh-store";

    enum class Use { Shared, Sole };

    // Opens the store, creating it when the file does not exist; throws
    // RegistryError naming the file when it cannot be opened or is not a
    // store of ours, and DamagedStoreError when it is damaged or empty. A
    // file that is refused is never changed. For sole use the lock is taken
    // before SQLite opens the file (StoreInUseError when another process
    // holds it), so a second run never reads or writes a store in use.
    explicit SqliteRegistryStore(const QString& fileName, Use use = Use::Shared);
    ~SqliteRegistryStore() override;
    SqliteRegistryStore(const SqliteRegistryStore&) = delete;
    SqliteRegistryStore& operator=(const SqliteRegistryStore&) = delete;

    // Opens fileName; when it is refused as damaged, it is set aside
    // (StoreFile::setAside, its new name in setAsideAs) and a new store made
    // in its place. A sound store is opened as it is.
    static std::unique_ptr<SqliteRegistryStore>
    openAfresh(const QString& fileName, QString* setAsideAs = nullptr, Use use = Use::Shared);

    QString fileName() const { return m_fileName; }
    // The last good copy, beside the store.
    static QString backupFileName(const QString& storeFile);
    // Replaces the backup with a copy of the store as it is now, in one
    // step: a backup cut short leaves the previous one. Throws RegistryError.
    void writeBackup() const;

    // Takes the lock that one run at a time holds on this store file, whatever
    // path or link it was reached by; false when another process holds it.
    // Kept as long as the store is open.
    bool lockForSoleUse();
    bool soleUse() const { return m_soleUse.held(); }

    bool keyExists(RegRoot root, const QString& path) const override;
    void createKey(RegRoot root, const QString& path) override;
    bool deleteKey(RegRoot root, const QString& path) override;
    std::optional<RegValue> readValue(RegRoot root, const QString& path,
                                      const QString& name) const override;
    void writeValue(RegRoot root, const QString& path, const QString& name,
                    const RegValue& value) override;
    bool deleteValue(RegRoot root, const QString& path, const QString& name) override;
    QStringList subKeyNames(RegRoot root, const QString& path) const override;
    QStringList valueNames(RegRoot root, const QString& path) const override;
    QList<QPair<QString, RegValue>> values(RegRoot root, const QString& path) const override;
    // Besides the undo on failure: a store file that was removed or replaced
    // while open is not written (RegistryError), and a store opened read-only
    // or replaced by another store is opened again first.
    void transaction(const std::function<void()>& work) override;

private:
    class Statement;
    sqlite3_stmt* prepare(const char* sql) const;
    void exec(const char* sql) const;
    void step(const char* sql) const;
    void rollback() const;
    [[noreturn]] void fail(const QString& what) const;
    [[noreturn]] void failWith(const QString& reason) const;
    void open() const;
    void close() const;
    void reopenWhenNeeded() const;
    void insertKeyChain(RegRoot root, const QString& path);
    void within(const std::function<void()>& work);
    void checkStillAtPath() const;

    QString m_fileName;
    // The connection; opened again when the file changed under it (null
    // after such an opening failed, until the next use tries once more).
    mutable sqlite3* m_db = nullptr;
    mutable QHash<const char*, sqlite3_stmt*> m_statements;
    int m_depth = 0;
    mutable std::optional<StoreFile::Identity> m_identity;
    // The path may no longer name the file the connection has open.
    mutable bool m_pathInDoubt = false;
    mutable StoreFile::SoleUseLock m_soleUse;
};
