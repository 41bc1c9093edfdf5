// Registry text files: the exported form, import with deletions, the round
// trip, and refusal of a malformed file as a whole.

#include "RegFile.h"
#include "MemoryRegistryStore.h"

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

TEST(RegFileKeyName, AcceptsLongAndShortRootNamesInAnyCase) {
    EXPECT_EQ(RegFile::parseKeyName("HKEY_CURRENT_USER\\Software\\X").root, hkcu);
    EXPECT_EQ(RegFile::parseKeyName("hkcu\\Software\\X\\").path, "Software\\X");
    EXPECT_EQ(RegFile::parseKeyName("HKEY_LOCAL_MACHINE").root, hklm);
    EXPECT_EQ(RegFile::parseKeyName("HKLM").path, "");
    EXPECT_THROW(RegFile::parseKeyName("HKCUX\\Software"), std::invalid_argument);
    EXPECT_THROW(RegFile::parseKeyName("Software\\Varnholt"), std::invalid_argument);
}

} // namespace
