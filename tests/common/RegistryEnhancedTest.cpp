// The enhanced registry component (names with a path part, typed values,
// access, search) and the splitter it uses.

#include "MemoryRegistryStore.h"
#include "TBrkApart.h"
#include "TRegistryEnhanced.h"

#include <gtest/gtest.h>

namespace {

class RegistryEnhancedTest : public ::testing::Test {
protected:
    MemoryRegistryStore store;
    TRegistryEnhanced reg{store};

    void SetUp() override {
        reg.RootKey = TRootKey::hkLocalMachine;
        reg.Key = "\\SOFTWARE\\Varnholt\\Farrowline\\";
    }
};

TEST_F(RegistryEnhancedTest, NamesWithAPathPartAddressSubKeysOfTheBaseKey) {
    reg.WriteValue("pending time", QStringLiteral("12"));
    reg.WriteValue("Holidays\\1224", QStringLiteral("Christmas Eve"));
    reg.WriteValue("\\Deep\\Er\\name", QStringLiteral("x"));

    const QString base = "SOFTWARE\\Varnholt\\Farrowline";
    EXPECT_EQ(store.readValue(RegRoot::LocalMachine, base, "pending time")->text, "12");
    EXPECT_EQ(store.readValue(RegRoot::LocalMachine, base + "\\Holidays", "1224")->text,
              "Christmas Eve");
    EXPECT_EQ(store.readValue(RegRoot::LocalMachine, base + "\\Deep\\Er", "name")->text, "x");
    EXPECT_FALSE(store.keyExists(RegRoot::CurrentUser, base));

    EXPECT_EQ(reg.ReadValue("Pending Time"), QVariant(QStringLiteral("12")));
    EXPECT_EQ(reg.ReadValue("holidays\\1224"), QVariant(QStringLiteral("Christmas Eve")));
    EXPECT_FALSE(reg.ReadValue("pending cost").isValid());
    EXPECT_FALSE(reg.ReadValue("Nowhere\\x").isValid());
    EXPECT_EQ(reg.ReadValueDef("pending cost", 0), QVariant(0));
    EXPECT_EQ(reg.ReadValueDef("pending time", 0), QVariant(QStringLiteral("12")));
}

TEST_F(RegistryEnhancedTest, ValuesAreStoredByTheirVariantType) {
    reg.WriteValue("n", 42);
    reg.WriteValue("b", true);
    reg.WriteValue("bytes", QByteArray("\x01\x02", 2));
    EXPECT_EQ(reg.ReadValue("n"), QVariant(qint64(42)));
    EXPECT_EQ(reg.ReadValue("b"), QVariant(qint64(1)));
    EXPECT_EQ(reg.ReadValue("bytes"), QVariant(QByteArray("\x01\x02", 2)));

    // Binary data beyond the read buffer is not returned.
    reg.WriteValue("big", QByteArray(2049, 'b'));
    EXPECT_FALSE(reg.ReadValue("big").isValid());
    EXPECT_EQ(reg.ReadValueDef("big", "def"), QVariant("def"));
    reg.WriteValue("fits", QByteArray(2048, 'b'));
    EXPECT_EQ(reg.ReadValue("fits").toByteArray().size(), 2048);
}

TEST_F(RegistryEnhancedTest, DeletesActOnlyWhenTheBaseKeyExistsAndReadAccessCannotWrite) {
    reg.Key = "SOFTWARE\\Absent";
    reg.DeleteValue("x");
    reg.DeleteKey("Sub");
    EXPECT_FALSE(store.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Absent"));

    reg.Key = "SOFTWARE\\Varnholt";
    reg.WriteValue("Farrowline\\pending cost", QStringLiteral("1.50"));
    reg.WriteValue("Farrowline\\Holidays\\0101", QStringLiteral("New Year"));
    reg.WriteValue("FarrowlineX\\keep", QStringLiteral("1"));
    reg.DeleteValue("farrowline\\PENDING COST");
    EXPECT_FALSE(reg.ReadValue("Farrowline\\pending cost").isValid());
    reg.DeleteKey("Farrowline");
    EXPECT_FALSE(store.keyExists(RegRoot::LocalMachine, "SOFTWARE\\Varnholt\\Farrowline"));
    EXPECT_TRUE(reg.ReadValue("FarrowlineX\\keep").isValid());

    reg.Access = TAccess::kRead;
    EXPECT_THROW(reg.WriteValue("FarrowlineX\\keep", QStringLiteral("2")), RegistryError);
    EXPECT_THROW(reg.DeleteValue("FarrowlineX\\keep"), RegistryError);
    EXPECT_THROW(reg.DeleteKey("FarrowlineX"), RegistryError);
    EXPECT_EQ(reg.ReadValue("FarrowlineX\\keep"), QVariant(QStringLiteral("1")));
}

TEST_F(RegistryEnhancedTest, ListsNamesOfTheBaseKeyOrASubKey) {
    reg.WriteValue("PC Total time", QStringLiteral("1"));
    reg.WriteValue("Log Filename", QStringLiteral("c:\\access.txt"));
    reg.WriteValue("Holidays\\1224", QStringLiteral("x"));
    reg.WriteValue("Holidays\\1225", QStringLiteral("y"));
    QStringList list{"stale"};
    reg.GetValueNames("", list);
    EXPECT_EQ(list, QStringList({"PC Total time", "Log Filename"}));
    reg.GetValueNames("holidays", list);
    EXPECT_EQ(list, QStringList({"1224", "1225"}));
    reg.GetKeyNames("", list);
    EXPECT_EQ(list, QStringList({"Holidays"}));
}

TEST_F(RegistryEnhancedTest, SearchWalksDepthFirstAndMatchesByMode) {
    reg.RootKey = TRootKey::hkCurrentUser;
    reg.Key = "Software\\Varnholt\\Farrowline";
    reg.WriteValue("Holidays\\1224", QStringLiteral("a"));
    reg.WriteValue("Holidays\\Easter\\0405", QStringLiteral("b"));
    reg.WriteValue("Holidays\\0101", QStringLiteral("c"));
    reg.WriteValue("Other\\1224x", QStringLiteral("d"));
    const QString h = "Software\\Varnholt\\Farrowline\\Holidays";

    reg.Search("\\Holidays\\", "", 0);
    EXPECT_EQ(reg.EntriesFound, QStringList({h + "\\1224", h + "\\0101", h + "\\Easter\\0405"}));

    reg.EntriesFound.clear();
    reg.Search("", "EASTER", 0); // key path only
    EXPECT_EQ(reg.EntriesFound, QStringList({h + "\\Easter\\0405"}));
    reg.EntriesFound.clear();
    reg.Search("", "easter", 1); // value name only: no hit
    EXPECT_TRUE(reg.EntriesFound.isEmpty());
    reg.Search("", "1224", 1);
    EXPECT_EQ(reg.EntriesFound,
              QStringList({h + "\\1224", "Software\\Varnholt\\Farrowline\\Other\\1224x"}));
    reg.EntriesFound.clear();
    reg.Search("", "other", 2); // either
    EXPECT_EQ(reg.EntriesFound, QStringList({"Software\\Varnholt\\Farrowline\\Other\\1224x"}));
}

TEST_F(RegistryEnhancedTest, DynamicDataIsReadFromItsOwnStore) {
    MemoryRegistryStore counters;
    counters.writeValue(RegRoot::DynData, "PerfStats\\StatData", "BytesXmit",
                        RegValue::fromBinary(QByteArray("\x10\x00\x00\x00", 4)));
    reg.setDynDataStore(&counters);
    reg.RootKey = TRootKey::hkDynData;
    reg.Key = "PerfStats\\StatData";
    EXPECT_EQ(reg.ReadValue("bytesxmit").toByteArray().size(), 4);
    EXPECT_FALSE(store.keyExists(RegRoot::DynData, "PerfStats"));
    // Other roots stay in the settings store.
    reg.RootKey = TRootKey::hkCurrentUser;
    EXPECT_FALSE(reg.ReadValue("BytesXmit").isValid());
    reg.WriteValue("x", QStringLiteral("1"));
    EXPECT_FALSE(counters.keyExists(RegRoot::CurrentUser, "PerfStats"));
}

TEST(TBrkApart, SplitsAtTheSeparatorAndKeepsEmptyPiecesOnlyWhenAsked) {
    TBrkApart b;
    b.BreakString = "\\";
    b.BaseString = "\\Software\\\\Varnholt\\";
    b.BreakApart();
    EXPECT_EQ(b.StringList, QStringList({"Software", "Varnholt"}));
    b.KeepEmpty = true;
    b.BreakApart();
    EXPECT_EQ(b.StringList, QStringList({"", "Software", "", "Varnholt", ""}));

    b.BreakString = ", ";
    b.KeepEmpty = false;
    b.BaseString = "a, b,c, d";
    b.BreakApart();
    EXPECT_EQ(b.StringList, QStringList({"a", "b,c", "d"}));
    b.BaseString = "";
    b.BreakApart();
    EXPECT_TRUE(b.StringList.isEmpty());
}

} // namespace
