#include "SqliteRegistryStore.h"

#include "RegistryPath.h"
#include "SqliteStoreSetup.h"

#include <QFile>

#include <sqlite3.h>
#include <unistd.h>

namespace {

QString keyFold(const QString& path) {
    return RegistryPath::fold(RegistryPath::normalise(path));
}

} // namespace

// Binds, steps and resets one cached prepared statement.
class SqliteRegistryStore::Statement {
public:
    Statement(const SqliteRegistryStore& store, const char* sql)
        : m_store(store), m_stmt(store.prepare(sql)) {}
    ~Statement() {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int i, const QString& s) {
        const QByteArray u = s.toUtf8();
        check(sqlite3_bind_text(m_stmt, i, u.constData(), int(u.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Statement& bind(int i, qint64 v) {
        check(sqlite3_bind_int64(m_stmt, i, v));
        return *this;
    }
    Statement& bindBlob(int i, const QByteArray& b) {
        check(sqlite3_bind_blob(m_stmt, i, b.constData(), int(b.size()), SQLITE_TRANSIENT));
        return *this;
    }
    // True while a row is available.
    bool step() {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            m_store.fail(QStringLiteral("query failed"));
        return false;
    }
    void run() {
        while (step()) {
        }
    }
    QString text(int col) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col));
        return QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, col));
    }
    qint64 integer(int col) const { return sqlite3_column_int64(m_stmt, col); }
    QByteArray blob(int col) const {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(m_stmt, col));
        return QByteArray(p, sqlite3_column_bytes(m_stmt, col));
    }

private:
    void check(int rc) const {
        if (rc != SQLITE_OK)
            m_store.fail(QStringLiteral("bind failed"));
    }
    const SqliteRegistryStore& m_store;
    sqlite3_stmt* m_stmt;
};

SqliteRegistryStore::SqliteRegistryStore(const QString& fileName, Use use) : m_fileName(fileName) {
    SqliteStoreSetup::createIfMissing(fileName);
    if (use == Use::Sole && !m_soleUse.take(fileName))
        throw StoreInUseError(
            QStringLiteral("Settings store %1 is in use by another run").arg(fileName), fileName,
            QStringLiteral("in use by another run"));
    open();
}

SqliteRegistryStore::~SqliteRegistryStore() {
    close();
    // Only now: closing the lock's descriptor earlier would drop SQLite's own
    // locks on the file.
    m_soleUse.release();
}

std::unique_ptr<SqliteRegistryStore> SqliteRegistryStore::openAfresh(const QString& fileName,
                                                                     QString* setAsideAs, Use use) {
    try {
        return std::make_unique<SqliteRegistryStore>(fileName, use);
    } catch (const DamagedStoreError&) {
        // Another run starting meanwhile finds the same damage and stops.
        const QString aside = StoreFile::setAside(fileName);
        if (setAsideAs)
            *setAsideAs = aside;
        return std::make_unique<SqliteRegistryStore>(fileName, use);
    }
}

void SqliteRegistryStore::open() const {
    StoreFile::matchJournals(m_fileName);
    m_db = SqliteStoreSetup::openChecked(m_fileName);
    // An existing store may have been made readable by others; it holds the
    // shifted passwords.
    StoreFile::keepPrivate(m_fileName);
    m_identity = StoreFile::identityOf(m_fileName);
}

void SqliteRegistryStore::close() const {
    for (sqlite3_stmt* s : std::as_const(m_statements))
        sqlite3_finalize(s);
    m_statements.clear();
    sqlite3_close(m_db);
    m_db = nullptr;
}

QString SqliteRegistryStore::backupFileName(const QString& storeFile) {
    return storeFile + QStringLiteral(".bak");
}

void SqliteRegistryStore::writeBackup() const {
    SqliteStoreSetup::copyTo(m_db, m_fileName, backupFileName(m_fileName));
}

bool SqliteRegistryStore::lockForSoleUse() {
    return m_soleUse.take(m_fileName);
}

void SqliteRegistryStore::fail(const QString& what) const {
    const QString reason = QString::fromUtf8(sqlite3_errmsg(m_db));
    throw RegistryError(QStringLiteral("Settings store %1: %2: %3").arg(m_fileName, what, reason),
                        m_fileName, reason);
}

void SqliteRegistryStore::failWith(const QString& reason) const {
    throw RegistryError(QStringLiteral("Settings store %1: %2").arg(m_fileName, reason), m_fileName,
                        reason);
}

sqlite3_stmt* SqliteRegistryStore::prepare(const char* sql) const {
    if (!m_db)
        reopenWhenNeeded();
    auto it = m_statements.constFind(sql);
    if (it != m_statements.constEnd())
        return it.value();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        fail(QStringLiteral("cannot prepare a query"));
    m_statements.insert(sql, stmt);
    return stmt;
}

void SqliteRegistryStore::exec(const char* sql) const {
    if (!m_db)
        reopenWhenNeeded();
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        failWith(msg);
    }
}

bool SqliteRegistryStore::keyExists(RegRoot root, const QString& path) const {
    const QString fold = keyFold(path);
    if (fold.isEmpty())
        return true;
    Statement q(*this, "SELECT 1 FROM keys WHERE root = ?1 AND fold = ?2");
    q.bind(1, qint64(root)).bind(2, fold);
    return q.step();
}

void SqliteRegistryStore::insertKeyChain(RegRoot root, const QString& path) {
    // The key is there nearly always (the pending values are written every
    // second): one look instead of an insert for every part of the path.
    if (keyExists(root, path))
        return;
    QString sofar;
    for (const QString& part : RegistryPath::split(path)) {
        const QString parent = sofar;
        sofar = sofar.isEmpty() ? part : sofar + QLatin1Char('\\') + part;
        Statement q(*this, "INSERT OR IGNORE INTO keys(root, fold, parent, name) "
                           "VALUES(?1, ?2, ?3, ?4)");
        q.bind(1, qint64(root))
            .bind(2, RegistryPath::fold(sofar))
            .bind(3, RegistryPath::fold(parent))
            .bind(4, part);
        q.run();
    }
}

void SqliteRegistryStore::createKey(RegRoot root, const QString& path) {
    within([&] { insertKeyChain(root, path); });
}

// One change made of a few statements: a transaction of its own, or, inside
// one, simply part of it. A failure then throws through the enclosing work,
// which undoes it with the rest (nothing partial of one is ever kept but a
// key without its value).
void SqliteRegistryStore::within(const std::function<void()>& work) {
    if (m_depth > 0)
        work();
    else
        transaction(work);
}

bool SqliteRegistryStore::deleteKey(RegRoot root, const QString& path) {
    const QString fold = keyFold(path);
    if (fold.isEmpty() || !keyExists(root, path))
        return false;
    transaction([&] {
        // A sub-key's folded path starts with the key's folded path and a backslash.
        Statement k(*this, "DELETE FROM keys WHERE root = ?1 AND (fold = ?2 OR "
                           "substr(fold, 1, length(?2) + 1) = ?2 || '\\')");
        k.bind(1, qint64(root)).bind(2, fold);
        k.run();
        Statement v(*this, "DELETE FROM vals WHERE root = ?1 AND (key = ?2 OR "
                           "substr(key, 1, length(?2) + 1) = ?2 || '\\')");
        v.bind(1, qint64(root)).bind(2, fold);
        v.run();
    });
    return true;
}

namespace {

RegValue valueFrom(qint64 type, const QByteArray& data) {
    switch (RegType(type)) {
    case RegType::DWord:
        return RegValue::fromDWord(std::uint32_t(data.toULongLong()));
    case RegType::Binary:
        return RegValue::fromBinary(data);
    default:
        return RegValue::fromString(QString::fromUtf8(data));
    }
}

} // namespace

std::optional<RegValue> SqliteRegistryStore::readValue(RegRoot root, const QString& path,
                                                       const QString& name) const {
    Statement q(*this, "SELECT type, data FROM vals WHERE root = ?1 AND key = ?2 AND fold = ?3");
    q.bind(1, qint64(root)).bind(2, keyFold(path)).bind(3, RegistryPath::fold(name));
    if (!q.step())
        return std::nullopt;
    return valueFrom(q.integer(0), q.blob(1));
}

QList<QPair<QString, RegValue>> SqliteRegistryStore::values(RegRoot root,
                                                            const QString& path) const {
    Statement q(*this, "SELECT name, type, data FROM vals WHERE root = ?1 AND key = ?2");
    q.bind(1, qint64(root)).bind(2, keyFold(path));
    QList<QPair<QString, RegValue>> out;
    while (q.step())
        out.append({q.text(0), valueFrom(q.integer(1), q.blob(2))});
    return out;
}

void SqliteRegistryStore::writeValue(RegRoot root, const QString& path, const QString& name,
                                     const RegValue& value) {
    QByteArray data;
    switch (value.type) {
    case RegType::String:
        data = value.text.toUtf8();
        break;
    case RegType::DWord:
        data = QByteArray::number(value.dword);
        break;
    case RegType::Binary:
        data = value.binary;
        break;
    }
    within([&] {
        insertKeyChain(root, path);
        // An existing value keeps the spelling it was first written with.
        Statement q(*this, "INSERT INTO vals(root, key, fold, name, type, data) "
                           "VALUES(?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT(root, key, fold) "
                           "DO UPDATE SET type = excluded.type, data = excluded.data");
        q.bind(1, qint64(root))
            .bind(2, keyFold(path))
            .bind(3, RegistryPath::fold(name))
            .bind(4, name)
            .bind(5, qint64(value.type))
            .bindBlob(6, data);
        q.run();
    });
}

bool SqliteRegistryStore::deleteValue(RegRoot root, const QString& path, const QString& name) {
    bool deleted = false;
    within([&] {
        Statement q(*this, "DELETE FROM vals WHERE root = ?1 AND key = ?2 AND fold = ?3");
        q.bind(1, qint64(root)).bind(2, keyFold(path)).bind(3, RegistryPath::fold(name));
        q.run();
        deleted = sqlite3_changes(m_db) > 0;
    });
    return deleted;
}

QStringList SqliteRegistryStore::subKeyNames(RegRoot root, const QString& path) const {
    Statement q(*this, "SELECT name FROM keys WHERE root = ?1 AND parent = ?2 ORDER BY rowid");
    q.bind(1, qint64(root)).bind(2, keyFold(path));
    QStringList names;
    while (q.step())
        names << q.text(0);
    return names;
}

QStringList SqliteRegistryStore::valueNames(RegRoot root, const QString& path) const {
    Statement q(*this, "SELECT name FROM vals WHERE root = ?1 AND key = ?2 ORDER BY rowid");
    q.bind(1, qint64(root)).bind(2, keyFold(path));
    QStringList names;
    while (q.step())
        names << q.text(0);
    return names;
}

// A store that was opened read-only (its file could not be written then) or
// whose path now names another store is opened afresh, so that writes go
// where every other program finds them.
void SqliteRegistryStore::reopenWhenNeeded() const {
    const bool readOnly = m_db && sqlite3_db_readonly(m_db, "main") == 1;
    // The last commit found the file at its path: nothing to look at.
    if (m_db && !readOnly && !m_pathInDoubt)
        return;
    const auto now = StoreFile::identityOf(m_fileName);
    if (!now)
        failWith(QStringLiteral("the file was removed"));
    const bool replaced = *now != m_identity;
    const bool writableNow =
        readOnly && ::access(QFile::encodeName(m_fileName).constData(), W_OK) == 0;
    if (m_db && !replaced && !writableNow) {
        m_pathInDoubt = false;
        return;
    }
    StoreFile::SoleUseLock lock;
    if (replaced && m_soleUse.held() && !lock.take(m_fileName))
        failWith(QStringLiteral("the file was replaced by one that another program uses"));
    // SQLite shares one view of the journal between the connections of a
    // process to one file: the old connection, read-only, would make the new
    // one read-only too, so it goes first.
    close();
    open();
    m_pathInDoubt = false;
    if (lock.held())
        m_soleUse.swap(lock);
}

// Writes that land in a file no longer at the store's path would be lost
// without a word when the program ends.
void SqliteRegistryStore::checkStillAtPath() const {
    const auto now = StoreFile::identityOf(m_fileName);
    m_pathInDoubt = now != m_identity;
    if (!now)
        failWith(QStringLiteral("the file was removed"));
    if (*now != m_identity)
        failWith(QStringLiteral("the file was replaced"));
}

// The statements that open and close transactions run at every write: they
// are prepared once, like every other.
void SqliteRegistryStore::step(const char* sql) const {
    sqlite3_stmt* stmt = prepare(sql);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        failWith(QString::fromUtf8(sqlite3_errmsg(m_db)));
}

void SqliteRegistryStore::rollback() const {
    sqlite3_stmt* stmt = prepare("ROLLBACK");
    sqlite3_step(stmt);
    sqlite3_reset(stmt);
}

void SqliteRegistryStore::transaction(const std::function<void()>& work) {
    if (m_depth == 0)
        reopenWhenNeeded();
    // The outermost level takes the write lock at once (BEGIN IMMEDIATE), so a
    // second process waits on the busy time-out instead of failing half-way.
    const QByteArray savepoint = "sp" + QByteArray::number(m_depth);
    if (m_depth == 0)
        step("BEGIN IMMEDIATE");
    else
        exec(("SAVEPOINT " + savepoint).constData());
    ++m_depth;
    try {
        work();
        if (m_depth == 1)
            checkStillAtPath();
    } catch (...) {
        --m_depth;
        if (m_depth == 0)
            rollback();
        else
            sqlite3_exec(m_db, ("ROLLBACK TO " + savepoint + "; RELEASE " + savepoint).constData(),
                         nullptr, nullptr, nullptr);
        throw;
    }
    --m_depth;
    if (m_depth > 0) {
        exec(("RELEASE " + savepoint).constData());
        return;
    }
    try {
        step("COMMIT");
    } catch (...) {
        // A commit that fails (a full disk, say) must not leave the
        // transaction open, or every later write would join it and be lost.
        rollback();
        throw;
    }
}
