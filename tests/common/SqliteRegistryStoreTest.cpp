// The settings store file: sharing between processes, refusal of files that
// are not ours, and the choice of the file.

#include "SqliteRegistryStore.h"
#include "RegistryLocation.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <vector>

namespace {

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& file, const QByteArray& data) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

void sqlite(const QString& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// Opening must fail with an error that names the file, and leave it as it was.
void expectRefused(const QString& file) {
    const QByteArray before = contents(file);
    try {
        SqliteRegistryStore store(file);
        ADD_FAILURE() << "opened " << file.toStdString();
    } catch (const RegistryError& e) {
        EXPECT_NE(std::string(e.what()).find(file.toStdString()), std::string::npos) << e.what();
    }
    EXPECT_EQ(contents(file), before);
}

class SqliteStoreFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("registry.sqlite"));
};

TEST_F(SqliteStoreFile, TwoHandlesSeeEachOthersWritesAtOnce) {
    SqliteRegistryStore a(file);
    SqliteRegistryStore b(file);
    a.writeValue(RegRoot::CurrentUser, "Software\\Varnholt", "Language", RegValue::fromString("5"));
    EXPECT_EQ(b.readValue(RegRoot::CurrentUser, "software\\varnholt", "language")->text, "5");
    b.deleteKey(RegRoot::CurrentUser, "Software");
    EXPECT_FALSE(a.keyExists(RegRoot::CurrentUser, "Software\\Varnholt"));
}

TEST_F(SqliteStoreFile, RefusesFilesThatAreNotOurStore) {
    QByteArray noise(8192, '\0');
    QRandomGenerator gen(42);
    for (char& c : noise)
        c = char(gen.bounded(256));
    writeFile(file, noise);
    expectRefused(file);

    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    writeFile(text, "Log Filename=c:\\access.txt\n");
    expectRefused(text);

    const QString foreign = dir.filePath(QStringLiteral("foreign.sqlite"));
    sqlite(foreign, "CREATE TABLE contacts(name TEXT); INSERT INTO contacts VALUES('Ann');");
    expectRefused(foreign);

    // A database of another program that holds no tables yet is not ours either.
    const QString emptyForeign = dir.filePath(QStringLiteral("empty-foreign.sqlite"));
    sqlite(emptyForeign, "PRAGMA user_version = 7; VACUUM;");
    ASSERT_GT(QFileInfo(emptyForeign).size(), 0);
    expectRefused(emptyForeign);
}

TEST_F(SqliteStoreFile, DamagedStoreGivesAnErrorNamingTheFile) {
    {
        SqliteRegistryStore store(file);
        for (int i = 0; i < 300; ++i)
            store.writeValue(RegRoot::CurrentUser, QStringLiteral("Software\\K%1").arg(i % 7),
                             QStringLiteral("v%1").arg(i),
                             RegValue::fromString(QString(100, QLatin1Char('z'))));
    }
    QByteArray data = contents(file);
    ASSERT_GT(data.size(), 8192);
    // Trash every page after the first: the header still says SQLite.
    for (qsizetype i = 4096; i < data.size(); ++i)
        data[i] = char(0xA5);
    writeFile(file, data);
    const QByteArray before = contents(file);
    try {
        SqliteRegistryStore store(file);
        store.readValue(RegRoot::CurrentUser, "Software\\K1", "v1");
        ADD_FAILURE() << "read a damaged store";
    } catch (const RegistryError& e) {
        EXPECT_NE(std::string(e.what()).find(file.toStdString()), std::string::npos) << e.what();
    }
    EXPECT_EQ(contents(file), before);
}

TEST_F(SqliteStoreFile, MissingFolderGivesAnErrorNamingTheFile) {
    expectRefused(dir.filePath(QStringLiteral("no/such/folder/registry.sqlite")));
}

// Two programs starting at once on a store that does not exist yet, each
// writing 200 values: every value of both arrives.
TEST_F(SqliteStoreFile, ConcurrentWritersOfTwoProcessesLoseNothing) {
    const QString helper = QCoreApplication::applicationDirPath() + "/concurrent_writer";
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const char* tag : {"first", "second"}) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start(helper, {"registry", file, tag, "200"});
    }
    for (auto& p : writers) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    SqliteRegistryStore store(file);
    const QStringList names =
        store.valueNames(RegRoot::CurrentUser, "Software\\Varnholt\\Concurrent");
    EXPECT_EQ(names.size(), 400);
    for (int i = 0; i < 200; ++i) {
        for (const QString tag : {"first", "second"}) {
            const auto v = store.readValue(RegRoot::CurrentUser, "Software\\Varnholt\\Concurrent",
                                           tag + QStringLiteral(" %1").arg(i));
            ASSERT_TRUE(v.has_value()) << tag.toStdString() << " " << i;
            EXPECT_EQ(v->text, QString::number(i));
        }
    }
}

// Sets or clears an environment variable for one test and restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : m_name(name), m_old(qgetenv(name)) {
        m_had = qEnvironmentVariableIsSet(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    QByteArray m_old;
    bool m_had = false;
};

TEST(RegistryLocation, OptionBeatsEnvironmentWhichBeatsTheConfigFolder) {
    QTemporaryDir config;
    ScopedEnv env("TOLLWATCH_REGISTRY", "/tmp/from-env.sqlite");
    ScopedEnv xdg("XDG_CONFIG_HOME", config.path());
    EXPECT_EQ(RegistryLocation::resolve({"--registry", "/tmp/a.sqlite", "query", "HKCU"}),
              "/tmp/a.sqlite");
    EXPECT_EQ(RegistryLocation::resolve({"query", "--registry=/tmp/b.sqlite"}), "/tmp/b.sqlite");
    EXPECT_EQ(RegistryLocation::resolve({"query", "HKCU"}), "/tmp/from-env.sqlite");
    EXPECT_EQ(RegistryLocation::withoutRegistryOption(
                  {"--registry", "/tmp/a", "query", "--registry=/tmp/b", "HKCU"}),
              QStringList({"query", "HKCU"}));

    ScopedEnv unset("TOLLWATCH_REGISTRY", QString());
    const QString expected = config.path() + "/varnholt/registry.sqlite";
    EXPECT_FALSE(QDir(config.path() + "/varnholt").exists());
    EXPECT_EQ(RegistryLocation::resolve({}), expected);
    EXPECT_TRUE(QDir(config.path() + "/varnholt").exists());
    // The folder it made is usable at once.
    SqliteRegistryStore store(expected);
    EXPECT_TRUE(QFileInfo::exists(expected));
}

} // namespace
