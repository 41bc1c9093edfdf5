#include "SqliteRegistryStore.h"

#include "RegistryPath.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace {

constexpr const char* kFormatName = "tollwatch-registry";
constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 15000;

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

SqliteRegistryStore::SqliteRegistryStore(const QString& fileName) : m_fileName(fileName) {
    const QFileInfo info(fileName);
    const bool fresh = !info.exists() || (info.isFile() && info.size() == 0);
    const QByteArray path = QFile::encodeName(fileName);
    const int rc =
        sqlite3_open_v2(path.constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
        sqlite3_close(m_db);
        m_db = nullptr;
        throw RegistryError(
            QStringLiteral("Cannot open settings store %1: %2").arg(fileName, msg).toStdString());
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    try {
        checkSchema(fresh);
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

SqliteRegistryStore::~SqliteRegistryStore() {
    for (sqlite3_stmt* s : std::as_const(m_statements))
        sqlite3_finalize(s);
    sqlite3_close(m_db);
}

void SqliteRegistryStore::fail(const QString& what) const {
    throw RegistryError(QStringLiteral("Settings store %1: %2: %3")
                            .arg(m_fileName, what, QString::fromUtf8(sqlite3_errmsg(m_db)))
                            .toStdString());
}

sqlite3_stmt* SqliteRegistryStore::prepare(const char* sql) const {
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
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        throw RegistryError(
            QStringLiteral("Settings store %1: %2").arg(m_fileName, msg).toStdString());
    }
}

// A store of ours has a meta table naming its format. Only a missing or empty
// file becomes a new store; anything else that is not ours (another program's
// database, even one without tables, a damaged file, a text file) is refused
// without being touched.
void SqliteRegistryStore::checkSchema(bool fresh) {
    if (fresh)
        initialiseSchema();
    const char* probe = "SELECT value FROM meta WHERE name = 'format'";
    sqlite3_stmt* stmt = nullptr;
    bool ours = false;
    QString why = QStringLiteral("it has no format mark of ours");
    if (sqlite3_prepare_v2(m_db, probe, -1, &stmt, nullptr) == SQLITE_OK) {
        ours = sqlite3_step(stmt) == SQLITE_ROW &&
               QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) ==
                   QLatin1String(kFormatName);
    } else {
        why = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    sqlite3_finalize(stmt);
    if (!ours)
        throw RegistryError(QStringLiteral("%1 is not a Tollwatch settings store (%2)")
                                .arg(m_fileName, why)
                                .toStdString());
    // WAL only once the schema is committed: switching an empty file while
    // another process creates the same store made one of them fail at once.
    exec("PRAGMA journal_mode=WAL");
}

// Two programs may create the store at the same moment: the exclusive lock
// makes the second wait, and it then finds the tables made by the first.
void SqliteRegistryStore::initialiseSchema() {
    exec("BEGIN EXCLUSIVE");
    try {
        sqlite3_stmt* stmt = nullptr;
        const bool empty = sqlite3_prepare_v2(m_db, "SELECT count(*) FROM sqlite_master", -1, &stmt,
                                              nullptr) == SQLITE_OK &&
                           sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 0;
        sqlite3_finalize(stmt);
        if (empty)
            createTables();
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void SqliteRegistryStore::createTables() {
    exec("CREATE TABLE meta(name TEXT PRIMARY KEY, value TEXT NOT NULL);"
         "CREATE TABLE keys("
         "  root INTEGER NOT NULL, fold TEXT NOT NULL, parent TEXT NOT NULL,"
         "  name TEXT NOT NULL, PRIMARY KEY(root, fold));"
         "CREATE INDEX keys_parent ON keys(root, parent);"
         "CREATE TABLE vals("
         "  root INTEGER NOT NULL, key TEXT NOT NULL, fold TEXT NOT NULL,"
         "  name TEXT NOT NULL, type INTEGER NOT NULL, data BLOB,"
         "  PRIMARY KEY(root, key, fold));"
         "INSERT INTO meta VALUES('format', 'tollwatch-registry');");
    const QByteArray version =
        QStringLiteral("INSERT INTO meta VALUES('version', '%1')").arg(kSchemaVersion).toUtf8();
    exec(version.constData());
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
    transaction([&] { insertKeyChain(root, path); });
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

std::optional<RegValue> SqliteRegistryStore::readValue(RegRoot root, const QString& path,
                                                       const QString& name) const {
    Statement q(*this, "SELECT type, data FROM vals WHERE root = ?1 AND key = ?2 AND fold = ?3");
    q.bind(1, qint64(root)).bind(2, keyFold(path)).bind(3, RegistryPath::fold(name));
    if (!q.step())
        return std::nullopt;
    RegValue v;
    switch (RegType(q.integer(0))) {
    case RegType::DWord:
        v = RegValue::fromDWord(std::uint32_t(q.blob(1).toULongLong()));
        break;
    case RegType::Binary:
        v = RegValue::fromBinary(q.blob(1));
        break;
    default:
        v = RegValue::fromString(QString::fromUtf8(q.blob(1)));
        break;
    }
    return v;
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
    transaction([&] {
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
    Statement q(*this, "DELETE FROM vals WHERE root = ?1 AND key = ?2 AND fold = ?3");
    q.bind(1, qint64(root)).bind(2, keyFold(path)).bind(3, RegistryPath::fold(name));
    q.run();
    return sqlite3_changes(m_db) > 0;
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

void SqliteRegistryStore::transaction(const std::function<void()>& work) {
    // The outermost level takes the write lock at once (BEGIN IMMEDIATE), so a
    // second process waits on the busy time-out instead of failing half-way.
    const QByteArray savepoint = "sp" + QByteArray::number(m_depth);
    exec(m_depth == 0 ? "BEGIN IMMEDIATE" : ("SAVEPOINT " + savepoint).constData());
    ++m_depth;
    try {
        work();
    } catch (...) {
        --m_depth;
        if (m_depth == 0)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
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
        exec("COMMIT");
    } catch (...) {
        // A commit that fails (a full disk, say) must not leave the
        // transaction open, or every later write would join it and be lost.
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}
