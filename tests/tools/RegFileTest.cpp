// Registry text files: the exported form, import with deletions, the round
// trip, and refusal of a malformed file as a whole.

#include "RegFile.h"
#include "MemoryRegistryStore.h"

#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const RegRoot hkcu = RegRoot::CurrentUser;
const RegRoot hklm = RegRoot::LocalMachine;

void fill(RegistryStore& s) {
    s.writeValue(hkcu, "Software\\Varnholt\\Farrowline", "", RegValue::fromString("default"));
    s.writeValue(hkcu, "Software\\Varnholt\\Farrowline", "Log Filename",
                 RegValue::fromString("c:\\access.txt"));
    s.writeValue(hkcu, "Software\\Varnholt\\Farrowline", "Quote \"q\"",
                 RegValue::fromString(QString::fromUtf8("Öre \"1\"")));
    s.writeValue(hkcu, "Software\\Varnholt\\Farrowline", "Count", RegValue::fromDWord(10));
    s.writeValue(hkcu, "Software\\Varnholt\\Farrowline", "Bytes",
                 RegValue::fromBinary(QByteArray("\x00\xff\x7f", 3)));
    s.createKey(hkcu, "Software\\Varnholt\\Farrowline\\Empty");
    s.writeValue(hklm, "SOFTWARE\\Varnholt\\Farrowline", "PC Total time",
                 RegValue::fromString("42"));
}

TEST(RegFileExport, WritesKeysThenValuesThenSubKeys) {
    MemoryRegistryStore store;
    fill(store);
    const QString text =
        RegFile::exportText(store, RegFile::parseKeyName("HKCU\\Software\\Varnholt\\Farrowline"));
    const QString expected =
        QString::fromUtf8("Windows Registry Editor Version 5.00\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Varnholt\\Farrowline]\r\n"
                          "@=\"default\"\r\n"
                          "\"Log Filename\"=\"c:\\\\access.txt\"\r\n"
                          "\"Quote \\\"q\\\"\"=\"Öre \\\"1\\\"\"\r\n"
                          "\"Count\"=dword:0000000a\r\n"
                          "\"Bytes\"=hex:00,ff,7f\r\n"
                          "\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Varnholt\\Farrowline\\Empty]\r\n"
                          "\r\n");
    EXPECT_EQ(text, expected);
}

TEST(RegFileImport, RoundTripOfBothRootsGivesTheSameStore) {
    MemoryRegistryStore original;
    fill(original);
    const QString text = RegFile::exportText(original, std::nullopt);
    EXPECT_TRUE(text.contains("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnholt\\Farrowline]"));

    MemoryRegistryStore copy;
    RegFile::importText(copy, text);
    EXPECT_EQ(RegFile::exportText(copy, std::nullopt), text);
    EXPECT_EQ(*copy.readValue(hkcu, "Software\\Varnholt\\Farrowline", "Bytes"),
              RegValue::fromBinary(QByteArray("\x00\xff\x7f", 3)));
    EXPECT_TRUE(copy.keyExists(hkcu, "Software\\Varnholt\\Farrowline\\Empty"));
}

TEST(RegFileImport, DeletesKeysAndValuesAndAcceptsTheOldHeader) {
    MemoryRegistryStore store;
    fill(store);
    RegFile::importText(store, "REGEDIT4\n"
                               "; a comment\n"
                               "[-HKEY_CURRENT_USER\\Software\\Varnholt\\Farrowline\\Empty]\n"
                               "[HKLM\\SOFTWARE\\Varnholt\\Farrowline]\n"
                               "\"pc total time\"=-\n"
                               "\"Log Filename\" = \"d:\\\\logs\\\\access.txt\"\n"
                               "@=-\n"
                               "[HKEY_CURRENT_USER\\Software\\Varnholt\\Farrowline]\n"
                               "@=-\n"
                               "\"Count\"=DWORD:FFFFFFFF\n");
    EXPECT_FALSE(store.keyExists(hkcu, "Software\\Varnholt\\Farrowline\\Empty"));
    EXPECT_EQ(store.valueNames(hklm, "SOFTWARE\\Varnholt\\Farrowline"),
              QStringList({"Log Filename"}));
    EXPECT_EQ(store.readValue(hklm, "SOFTWARE\\Varnholt\\Farrowline", "Log Filename")->text,
              "d:\\logs\\access.txt");
    EXPECT_FALSE(store.readValue(hkcu, "Software\\Varnholt\\Farrowline", "").has_value());
    EXPECT_EQ(*store.readValue(hkcu, "Software\\Varnholt\\Farrowline", "count"),
              RegValue::fromDWord(0xffffffffu));
}

TEST(RegFileImport, HexDataMayContinueOverSeveralLines) {
    MemoryRegistryStore store;
    RegFile::importText(store, "Windows Registry Editor Version 5.00\r\n"
                               "\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Bin]\r\n"
                               "\"Long\"=hex:01,02,03,\\\r\n"
                               "  04,05,\\\r\n"
                               "  06\r\n"
                               "@=hex:0a,\\\r\n"
                               "  0b\r\n"
                               "; ends with a backslash \\\r\n"
                               "\"After\"=\"x\"\r\n");
    EXPECT_EQ(store.readValue(hkcu, "Software\\Bin", "Long")->binary,
              QByteArray("\x01\x02\x03\x04\x05\x06", 6));
    EXPECT_EQ(store.readValue(hkcu, "Software\\Bin", "")->binary, QByteArray("\x0a\x0b", 2));
    EXPECT_EQ(store.readValue(hkcu, "Software\\Bin", "After")->text, "x");
}

// Each malformed file names its bad line, and nothing of it is written, not
// even the lines before the error.
TEST(RegFileImport, MalformedFileIsRefusedWholeWithItsLineNumber) {
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n", 1},
        {"REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n\"y\"=hex:0g\n", 5},
        {"REGEDIT4\n\"x\"=\"1\"\n", 2},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"unterminated\n", 3},
        {"REGEDIT4\n[HKEY_NOWHERE\\A]\n", 2},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\n", 2},
        {"REGEDIT4\n[HKCU\\A]\n\"x\"=dword:123456789\n", 3},
        {"REGEDIT4\n[HKCU\\A]\n\"x\"=\"1\" trailing\n", 3},
        {"REGEDIT4\n[HKCU\\A]\n\"x\"\n", 3},
        {"REGEDIT4\n[HKCU\\A]\n\"x\"=42\n", 3},
        {"REGEDIT4\n[-HKCU\\A]\n\"x\"=\"1\"\n", 3},
        {"", 1},
    };
    for (const auto& c : cases) {
        MemoryRegistryStore store;
        store.writeValue(hkcu, "A", "x", RegValue::fromString("old"));
        const QString before = RegFile::exportText(store, std::nullopt);
        try {
            RegFile::importText(store, QString::fromUtf8(c.text));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const RegFile::SyntaxError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text << " -> " << e.what();
            EXPECT_NE(std::string(e.what()).find("line " + std::to_string(c.line)),
                      std::string::npos);
        }
        EXPECT_EQ(RegFile::exportText(store, std::nullopt), before) << c.text;
    }
}

TEST(RegFileImport, FailureWhileApplyingLeavesTheStoreUnchanged) {
    // The second write of the import fails: the first must be undone too.
    class FailSecondWrite : public MemoryRegistryStore {
    public:
        void writeValue(RegRoot root, const QString& path, const QString& name,
                        const RegValue& value) override {
            if (++m_writes == 3)
                throw RegistryError("disk full");
            MemoryRegistryStore::writeValue(root, path, name, value);
        }
        int m_writes = 0;
    } failing;
    failing.writeValue(hkcu, "A", "x", RegValue::fromString("old"));
    EXPECT_THROW(RegFile::importText(failing, "REGEDIT4\n[HKCU\\A]\n\"x\"=\"new\"\n\"y\"=\"1\"\n"),
                 RegistryError);
    EXPECT_EQ(failing.readValue(hkcu, "A", "x")->text, "old");
    EXPECT_FALSE(failing.readValue(hkcu, "A", "y").has_value());
}

TEST(RegFileImport, RefusesAFileWithAKeyDeeperThanTheLimitWhole) {
    const auto deep = [](int levels) {
        QStringList parts;
        for (int i = 0; i < levels; ++i)
            parts << "a";
        return QStringLiteral("REGEDIT4\n[HKCU\\A]\n\"x\"=\"1\"\n[HKCU\\") + parts.join('\\') +
               QStringLiteral("]\n\"y\"=\"2\"\n");
    };
    MemoryRegistryStore store;
    try {
        RegFile::importText(store, deep(20000));
        ADD_FAILURE() << "a key 20,000 levels deep was accepted";
    } catch (const RegFile::SyntaxError& e) {
        EXPECT_EQ(e.line(), 4);
        EXPECT_NE(std::string(e.what()).find("512 levels"), std::string::npos) << e.what();
    }
    EXPECT_THROW(RegFile::importText(store, deep(RegFile::kMaxKeyDepth + 1)), RegFile::SyntaxError);
    EXPECT_FALSE(store.keyExists(hkcu, "A"));
    RegFile::importText(store, deep(RegFile::kMaxKeyDepth));
    EXPECT_TRUE(store.keyExists(hkcu, "A"));
}

// A store may already hold a key far deeper than any file may bring (written
// before imports had a limit). Its export must not recurse: it runs here on a
// thread with a small stack, which a recursion thousands of levels deep
// would overflow.
TEST(RegFileExport, ExportsAKeyThousandsOfLevelsDeepWithoutRecursion) {
    MemoryRegistryStore store;
    QString path = QStringLiteral("Deep");
    for (int i = 0; i < 1500; ++i)
        path += QStringLiteral("\\k");
    store.writeValue(hkcu, path, "bottom", RegValue::fromString("reached"));
    store.writeValue(hkcu, "Deep\\k\\sibling", "s", RegValue::fromString("after"));
    QString text;
    QThread* thread = QThread::create([&] { text = RegFile::exportText(store, std::nullopt); });
    thread->setStackSize(128 * 1024);
    thread->start();
    ASSERT_TRUE(thread->wait(QDeadlineTimer(120000)));
    delete thread;
    const qsizetype bottom =
        text.indexOf("[HKEY_CURRENT_USER\\" + path + "]\r\n\"bottom\"=\"reached\"");
    const qsizetype sibling = text.indexOf("\\k\\sibling]");
    EXPECT_GT(bottom, 0);
    EXPECT_GT(sibling, bottom); // depth first, children in order
}

TEST(RegFileFormat, TextsWithLineBreaksTravelAsHexOneAndComeBack) {
    MemoryRegistryStore original;
    const QString multi = QString::fromUtf8("first line\r\nsecond \xc3\xa4\nthird");
    original.writeValue(hkcu, "Software\\T", "Note", RegValue::fromString(multi));
    original.writeValue(hkcu, "Software\\T", "Plain", RegValue::fromString("one line"));
    const QString text = RegFile::exportText(original, std::nullopt);
    EXPECT_TRUE(text.contains("\"Note\"=hex(1):66,00,69,00,72,00")) << text.toStdString();
    EXPECT_TRUE(text.contains(",74,00,68,00,69,00,72,00,64,00,00,00\r\n"));
    EXPECT_TRUE(text.contains("\"Plain\"=\"one line\"\r\n"));
    MemoryRegistryStore copy;
    RegFile::importText(copy, text);
    EXPECT_EQ(copy.readValue(hkcu, "Software\\T", "Note")->text, multi);
    EXPECT_EQ(RegFile::exportText(copy, std::nullopt), text);
}

TEST(RegFileImport, ReadsTheRegistryEditorsOtherValueTypes) {
    MemoryRegistryStore store;
    RegFile::importText(store, "Windows Registry Editor Version 5.00\n"
                               "[HKCU\\T]\n"
                               "\"Text\"=hex(1):4a,00,f6,00,72,00,67,00,00,00\n"
                               "\"Expand\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00\n"
                               "\"List\"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00\n"
                               "\"Bytes\"=hex(3):01,02\n"
                               "\"Count\"=hex(4):2a,00,00,01\n");
    EXPECT_EQ(store.readValue(hkcu, "T", "Text")->text, QString::fromUtf8("J\xc3\xb6rg"));
    EXPECT_EQ(store.readValue(hkcu, "T", "Expand")->text, "%HOME%");
    EXPECT_EQ(store.readValue(hkcu, "T", "List")->text, "a\nbc");
    EXPECT_EQ(*store.readValue(hkcu, "T", "Bytes"), RegValue::fromBinary("\x01\x02"));
    EXPECT_EQ(*store.readValue(hkcu, "T", "Count"), RegValue::fromDWord(0x0100002a));
    for (const char* bad :
         {"\"Q\"=hex(b):00,00,00,00,00,00,00,00\n", "\"T\"=hex(1):41\n", "\"D\"=hex(4):01,02\n"})
        EXPECT_THROW(RegFile::importText(store, QStringLiteral("REGEDIT4\n[HKCU\\T]\n") + bad),
                     RegFile::SyntaxError)
            << bad;
}

TEST(RegFileExport, ValuesSetAtARootAreExportedAndReadBack) {
    MemoryRegistryStore original;
    original.writeValue(hkcu, "", "top", RegValue::fromString("v"));
    original.writeValue(hkcu, "Software", "below", RegValue::fromString("w"));
    const QString text = RegFile::exportText(original, std::nullopt);
    EXPECT_TRUE(text.contains("[HKEY_CURRENT_USER]\r\n\"top\"=\"v\"\r\n\r\n"
                              "[HKEY_CURRENT_USER\\Software]\r\n"))
        << text.toStdString();
    MemoryRegistryStore copy;
    RegFile::importText(copy, text);
    EXPECT_EQ(copy.readValue(hkcu, "", "top")->text, "v");
    EXPECT_EQ(RegFile::exportText(copy, std::nullopt), text);
}

// Version 5 files come from the registry editor in UTF-16LE with a
// byte-order mark; REGEDIT4 files in the Windows code page.
TEST(RegFileDecode, ReadsUtf16Utf8AndTheWindowsCodePage) {
    const QString text =
        QString::fromUtf8("[HKCU\\T]\r\n\"Name\"=\"J\xc3\xb6rg \xe2\x82\xac\"\r\n");
    QByteArray utf16le("\xFF\xFE");
    for (QChar c : text) {
        utf16le += char(c.unicode() & 0xff);
        utf16le += char(c.unicode() >> 8);
    }
    EXPECT_EQ(RegFile::decodeFile(utf16le), text);
    EXPECT_EQ(RegFile::decodeFile("\xEF\xBB\xBF" + text.toUtf8()), text);
    EXPECT_EQ(RegFile::decodeFile(text.toUtf8()), text);
    EXPECT_EQ(RegFile::decodeFile("[HKCU\\T]\r\n\"Name\"=\"J\xF6rg \x80\"\r\n"), text);

    MemoryRegistryStore store;
    RegFile::importText(store,
                        RegFile::decodeFile(QByteArray("\xFF\xFE") +
                                            QByteArray("W\0i\0n\0d\0o\0w\0s\0 \0R\0e\0g\0"
                                                       "i\0s\0t\0r\0y\0 \0E\0d\0i\0t\0o\0"
                                                       "r\0 \0V\0e\0r\0s\0i\0o\0n\0 \0005\0.\0"
                                                       "0\0000\0\r\0\n\0",
                                                       76) +
                                            utf16le.mid(2)));
    EXPECT_EQ(store.readValue(hkcu, "T", "Name")->text,
              QString::fromUtf8("J\xc3\xb6rg \xe2\x82\xac"));
}

TEST(RegFileKeyName, AcceptsLongAndShortRootNamesInAnyCase) {
    EXPECT_EQ(RegFile::parseKeyName("HKEY_CURRENT_USER\\Software\\X").root, hkcu);
    EXPECT_EQ(RegFile::parseKeyName("hkcu\\Software\\X\\").path, "Software\\X");
    EXPECT_EQ(RegFile::parseKeyName("HKEY_LOCAL_MACHINE").root, hklm);
    EXPECT_EQ(RegFile::parseKeyName("HKLM").path, "");
    EXPECT_THROW(RegFile::parseKeyName("HKCUX\\Software"), std::invalid_argument);
    EXPECT_THROW(RegFile::parseKeyName("Software\\Varnholt"), std::invalid_argument);
}

} // namespace
