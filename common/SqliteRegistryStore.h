#pragma once
// The settings store on one SQLite file (WAL, busy time-out), shared by the
// monitor, the companion and tollreg; two processes see each other's writes
// at once and concurrent writers wait for each other instead of failing.

#include "RegistryStore.h"

#include <QHash>

struct sqlite3;
struct sqlite3_stmt;

class SqliteRegistryStore : public RegistryStore {
public:
    // Opens or creates the store; throws RegistryError naming the file when it
    // cannot be opened or is not a store of ours. Never overwrites a foreign file.
    explicit SqliteRegistryStore(const QString& fileName);
    ~SqliteRegistryStore() override;
    SqliteRegistryStore(const SqliteRegistryStore&) = delete;
    SqliteRegistryStore& operator=(const SqliteRegistryStore&) = delete;

    QString fileName() const { return m_fileName; }

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
    void transaction(const std::function<void()>& work) override;

private:
    class Statement;
    sqlite3_stmt* prepare(const char* sql) const;
    void exec(const char* sql) const;
    [[noreturn]] void fail(const QString& what) const;
    void checkSchema(bool fresh);
    void initialiseSchema();
    void createTables();
    void insertKeyChain(RegRoot root, const QString& path);

    QString m_fileName;
    sqlite3* m_db = nullptr;
    mutable QHash<const char*, sqlite3_stmt*> m_statements;
    int m_depth = 0;
};
