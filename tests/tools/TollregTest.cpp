// The tollreg program, run as a separate process on a temporary store.

#include "TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

class TollregTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString store = dir.filePath(QStringLiteral("registry.sqlite"));

    Result run(QStringList args, bool withOption = true) const {
        if (withOption)
            args = QStringList({"--registry", store}) + args;
        QProcess p;
        p.start(TestEnvironment::binDir() + QStringLiteral("/tollreg"), args);
        Result r;
        if (!p.waitForFinished(30000))
            return r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    // Runs and expects success.
    QString ok(const QStringList& args) const {
        const Result r = run(args);
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        return r.out;
    }

    QString writeFile(const QString& name, const QByteArray& text) const {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }

    QByteArray bytesOf(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(TollregTest, SetQueryAndDeleteValues) {
    const QString key = "HKCU\\Software\\Varnholt\\Farrowline";
    ok({"set", key, "Language", "5"});
    ok({"set", "HKEY_CURRENT_USER\\software\\varnholt\\farrowline", "@", "default text"});
    ok({"set", key, "Chime period", "--dword", "010"});
    ok({"set", "hklm\\SOFTWARE\\Varnholt\\Farrowline", "Log Filename", "c:\\access.txt"});

    EXPECT_EQ(ok({"query", key, "LANGUAGE"}), "5\n");
    EXPECT_EQ(ok({"query", key, "@"}), "default text\n");
    EXPECT_EQ(ok({"query", key, "chime period"}), "10\n");
    EXPECT_EQ(ok({"query", key}), "\"Language\"=\"5\"\n"
                                  "@=\"default text\"\n"
                                  "\"Chime period\"=dword:0000000a\n");
    EXPECT_EQ(ok({"query", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnholt\\Farrowline", "Log Filename"}),
              "c:\\access.txt\n");

    // Names in the listing are quoted the way a registry file quotes them.
    ok({"set", "HKCU\\Quoted", "Say \"hi\"", "a\\b"});
    EXPECT_EQ(ok({"query", "HKCU\\Quoted"}), "\"Say \\\"hi\\\"\"=\"a\\\\b\"\n");

    ok({"delete", key, "language"});
    const Result gone = run({"query", key, "Language"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_TRUE(gone.out.isEmpty());
    EXPECT_TRUE(gone.err.contains("Language")) << gone.err.toStdString();

    ok({"delete", "HKCU\\Software"});
    const Result noKey = run({"query", key});
    EXPECT_EQ(noKey.exitCode, 1);
    EXPECT_TRUE(noKey.err.contains("not found")) << noKey.err.toStdString();
    EXPECT_EQ(run({"delete", key}).exitCode, 1);
    EXPECT_EQ(run({"delete", "HKLM\\SOFTWARE\\Varnholt\\Farrowline", "nothing"}).exitCode, 1);
}

TEST_F(TollregTest, RejectsBadArgumentsWithoutTouchingTheStore) {
    EXPECT_EQ(run({"set", "HKCU\\A", "n", "--dword", "minus"}).exitCode, 1);
    EXPECT_EQ(run({"set", "HKCU\\A", "n", "--dword", "4294967296"}).exitCode, 1);
    EXPECT_EQ(run({"set", "Software\\A", "n", "x"}).exitCode, 1);
    EXPECT_EQ(run({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(run({"query"}).exitCode, 2);
    EXPECT_EQ(run({"set", "HKCU\\A", "n"}).exitCode, 2);
    EXPECT_EQ(run({"export"}).out, "Windows Registry Editor Version 5.00\r\n\r\n");
    const Result missing = run({"export", "HKCU\\Software\\Missing"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
}

TEST_F(TollregTest, ExportImportRoundTripAndDeletionsInTheFile) {
    ok({"set", "HKCU\\Software\\Varnholt\\Farrowline", "Standard Rate", "0.20"});
    ok({"set", "HKCU\\Software\\Varnholt\\Farrowline\\Holidays", "1224", "User defined"});
    ok({"set", "HKLM\\SOFTWARE\\Varnholt\\Farrowline", "PC Total time", "--dword", "0x2a"});
    const QString exported = ok({"export"});
    const QString file = writeFile("all.reg", exported.toUtf8());

    const QString copy = dir.filePath("copy.sqlite");
    ASSERT_EQ(run({"--registry", copy, "import", file}, false).exitCode, 0);
    EXPECT_EQ(run({"--registry", copy, "export"}, false).out, exported);

    const QString changes = writeFile("changes.reg", "REGEDIT4\r\n\r\n"
                                                     "[-HKEY_CURRENT_USER\\Software\\Varnholt\\"
                                                     "Farrowline\\Holidays]\r\n"
                                                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnholt\\"
                                                     "Farrowline]\r\n"
                                                     "\"PC Total time\"=-\r\n");
    ok({"import", changes});
    EXPECT_EQ(run({"query", "HKCU\\Software\\Varnholt\\Farrowline\\Holidays"}).exitCode, 1);
    EXPECT_EQ(ok({"query", "HKLM\\SOFTWARE\\Varnholt\\Farrowline"}), "");
    EXPECT_EQ(ok({"export", "HKCU\\Software\\Varnholt\\Farrowline"}),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Varnholt\\Farrowline]\r\n"
              "\"Standard Rate\"=\"0.20\"\r\n\r\n");
}

TEST_F(TollregTest, MalformedImportIsRefusedWholeWithTheLineNumber) {
    ok({"set", "HKCU\\Software\\Varnholt\\Farrowline", "Language", "2"});
    const QString before = ok({"export"});
    const QString bad = writeFile("bad.reg", "REGEDIT4\n"
                                             "[HKEY_CURRENT_USER\\Software\\Varnholt\\Farrowline]\n"
                                             "\"Language\"=\"9\"\n"
                                             "\"Chime\"=hex:zz\n");
    const Result r = run({"import", bad});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("line 4")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("bad.reg")) << r.err.toStdString();
    EXPECT_EQ(ok({"export"}), before);
    EXPECT_EQ(run({"import", dir.filePath("missing.reg")}).exitCode, 1);
}

TEST_F(TollregTest, DamagedStoreIsNamedAndLeftAlone) {
    const QString damaged = writeFile("damaged.sqlite", QByteArray(5000, '\x5a'));
    const Result r = run({"--registry", damaged, "set", "HKCU\\A", "n", "v"}, false);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(damaged)) << r.err.toStdString();
    EXPECT_EQ(bytesOf(damaged), QByteArray(5000, '\x5a'));
}

TEST_F(TollregTest, StoreFileComesFromTheEnvironmentWithoutTheOption) {
    // The test main points TOLLWATCH_REGISTRY at this program's own store.
    const Result set = run({"set", "HKCU\\Software\\Env", "where", "environment"}, false);
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_TRUE(QFile::exists(TestEnvironment::registryFile()));
    EXPECT_EQ(run({"--registry", TestEnvironment::registryFile(), "query", "HKCU\\Software\\Env",
                   "where"},
                  false)
                  .out,
              "environment\n");
    EXPECT_EQ(run({"query", "HKCU\\Software\\Env"}).exitCode, 1);
}

} // namespace

namespace {
// tollreg with its standard output on a full disk.
int runToFullDisk(const QString& store, const QStringList& args) {
    QProcess p;
    p.setStandardOutputFile("/dev/full");
    p.start(TestEnvironment::binDir() + QStringLiteral("/tollreg"),
            QStringList({"--registry", store}) + args);
    return p.waitForFinished(30000) ? p.exitCode() : -1;
}
} // namespace

TEST_F(TollregTest, AnExportOrQueryToAFullDiskFails) {
    ok({"set", "HKCU\\Software\\Varnholt\\Farrowline", "Language", "5"});
    EXPECT_EQ(runToFullDisk(store, {"export"}), 1);
    EXPECT_EQ(runToFullDisk(store, {"query", "HKCU\\Software\\Varnholt\\Farrowline"}), 1);
    EXPECT_EQ(runToFullDisk(store, {"query", "HKCU\\Software\\Varnholt\\Farrowline", "Language"}),
              1);
    EXPECT_EQ(runToFullDisk(store, {"set", "HKCU\\A", "n", "v"}), 0); // prints nothing
}

// A file as the registry editor writes it (version 5: UTF-16LE with a
// byte-order mark) and an old REGEDIT4 file in the Windows code page.
TEST_F(TollregTest, ImportsRegistryEditorFilesInUtf16AndTheWindowsCodePage) {
    const QString text = QString::fromUtf8("Windows Registry Editor Version 5.00\r\n\r\n"
                                           "[HKEY_CURRENT_USER\\Software\\Varnholt\\Farrowline\\"
                                           "Holidays]\r\n\"1224\"=\"Julafton \xc3\xa5r\"\r\n");
    QByteArray utf16("\xFF\xFE");
    for (QChar c : text) {
        utf16 += char(c.unicode() & 0xff);
        utf16 += char(c.unicode() >> 8);
    }
    ok({"import", writeFile("v5.reg", utf16)});
    EXPECT_EQ(ok({"query", "HKCU\\Software\\Varnholt\\Farrowline\\Holidays", "1224"}),
              QString::fromUtf8("Julafton \xc3\xa5r\n"));
    ok({"import", writeFile("old.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Old]\r\n"
                                       "\"User\"=\"J\xF6rg\"\r\n")});
    EXPECT_EQ(ok({"query", "HKCU\\Software\\Old", "User"}), QString::fromUtf8("J\xc3\xb6rg\n"));
}

TEST_F(TollregTest, AValueSetAtARootIsExportedAndRestored) {
    ok({"set", "HKCU", "top", "v"});
    ok({"set", "HKCU\\Software\\Varnholt\\Farrowline", "Warning Message", "Stop.\nNow."});
    const QString exported = ok({"export"});
    EXPECT_TRUE(exported.contains("[HKEY_CURRENT_USER]\r\n\"top\"=\"v\"\r\n"))
        << exported.toStdString();
    const QString copy = dir.filePath("copy.sqlite");
    ASSERT_EQ(run({"--registry", copy, "import", writeFile("backup.reg", exported.toUtf8())}, false)
                  .exitCode,
              0);
    EXPECT_EQ(run({"--registry", copy, "export"}, false).out, exported);
    EXPECT_EQ(run({"--registry", copy, "query", "HKCU", "top"}, false).out, "v\n");
}
