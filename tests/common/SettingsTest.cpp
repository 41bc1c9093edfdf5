// Typed per-user settings: defaults on missing, empty or mistyped values,
// the flag rule, and names read back under another spelling.

#include "Settings.h"
#include "MemoryRegistryStore.h"

#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    MemoryRegistryStore store;
    Settings settings{store};

    void storeRaw(const QString& name, const RegValue& v) {
        store.writeValue(RegRoot::CurrentUser, kSettingsKey, name, v);
    }
};

TEST_F(SettingsTest, ReadTextFallsBackOnMissingEmptyOrMistypedValues) {
    EXPECT_EQ(settings.ReadText(kSettingsKey, "Cheap after", "18.00"), "18.00");
    storeRaw("Cheap after", RegValue::fromString(""));
    EXPECT_EQ(settings.ReadText(kSettingsKey, "Cheap after", "18.00"), "18.00");
    storeRaw("Cheap after", RegValue::fromDWord(19));
    EXPECT_EQ(settings.ReadText(kSettingsKey, "Cheap after", "18.00"), "18.00");
    storeRaw("Cheap after", RegValue::fromBinary("19.00"));
    EXPECT_EQ(settings.ReadText(kSettingsKey, "Cheap after", "18.00"), "18.00");
    storeRaw("Cheap after", RegValue::fromString(" 19.30 "));
    EXPECT_EQ(settings.ReadText(kSettingsKey, "Cheap after", "18.00"), " 19.30 ");
}

TEST_F(SettingsTest, ReadCreatesAMissingKeyAndFailuresGiveTheDefault) {
    const QString key = "Software\\Varnholt\\Farrowline\\Holidays";
    EXPECT_EQ(settings.ReadText(key, "0101", "none"), "none");
    EXPECT_TRUE(store.keyExists(RegRoot::CurrentUser, key));

    // A key that can be neither opened nor created: the default, no error.
    store.setFailWrites(true);
    EXPECT_EQ(settings.ReadText("Software\\Elsewhere", "x", "def"), "def");
    EXPECT_TRUE(settings.ReadFlag("Software\\Elsewhere", "x", true));
    // A write that fails is reported to the caller.
    EXPECT_THROW(settings.WriteText(kSettingsKey, "Language", "4"), RegistryError);
    EXPECT_THROW(settings.WriteFlag(kSettingsKey, "Chime", true), RegistryError);
}

TEST_F(SettingsTest, FlagRuleAcceptsTrueAndYesInAnyCase) {
    for (const char* yes : {"true", "TRUE", "True", "yes", "YES", "yEs"}) {
        storeRaw("Chime", RegValue::fromString(yes));
        EXPECT_TRUE(settings.ReadFlag(kSettingsKey, "Chime", false)) << yes;
    }
    for (const char* no : {"1", "false", "no", "on", "y", " true", "yes!"}) {
        storeRaw("Chime", RegValue::fromString(no));
        EXPECT_FALSE(settings.ReadFlag(kSettingsKey, "Chime", true)) << no;
    }
    storeRaw("Chime", RegValue::fromString(""));
    EXPECT_TRUE(settings.ReadFlag(kSettingsKey, "Chime", true));
    EXPECT_FALSE(settings.ReadFlag(kSettingsKey, "Chime", false));
    EXPECT_TRUE(settings.ReadFlag(kSettingsKey, "Absent", true));
    storeRaw("Chime", RegValue::fromDWord(1));
    EXPECT_FALSE(settings.ReadFlag(kSettingsKey, "Chime", false));
}

TEST_F(SettingsTest, WritesAreTextAndReadBackUnderTheOtherSpelling) {
    settings.WriteFlag(kSettingsKey, "SatCheap", true);
    settings.WriteFlag(kSettingsKey, "One rate", false);
    settings.WriteText("Software\\Varnholt\\Farrowline", "Standard Rate", "0.20");

    EXPECT_EQ(*store.readValue(RegRoot::CurrentUser, kSettingsKey, "SatCheap"),
              RegValue::fromString("true"));
    EXPECT_EQ(*store.readValue(RegRoot::CurrentUser, kSettingsKey, "One rate"),
              RegValue::fromString("false"));
    EXPECT_TRUE(settings.ReadFlag(kSettingsKey, "Satcheap", false));
    EXPECT_EQ(settings.ReadText("software\\varnholt\\farrowline", "Standard rate", ""), "0.20");

    // The dialog's spelling overwrites the value, which keeps its first name.
    settings.WriteText(kSettingsKey, "Standard rate", "0.30");
    EXPECT_EQ(settings.ReadText(kSettingsKey, "STANDARD RATE", ""), "0.30");
    EXPECT_EQ(store.valueNames(RegRoot::CurrentUser, kSettingsKey),
              QStringList({"SatCheap", "One rate", "Standard Rate"}));
}

// Counts the reads that reach the store (one for all values of a key).
class CountingStore : public MemoryRegistryStore {
public:
    mutable int reads = 0;
    std::optional<RegValue> readValue(RegRoot root, const QString& path,
                                      const QString& name) const override {
        if (!m_inside)
            ++reads;
        return MemoryRegistryStore::readValue(root, path, name);
    }
    QList<QPair<QString, RegValue>> values(RegRoot root, const QString& path) const override {
        ++reads;
        m_inside = true;
        auto all = MemoryRegistryStore::values(root, path);
        m_inside = false;
        return all;
    }

private:
    mutable bool m_inside = false;
};

// A tick reads each key once and answers from that; the next tick reads
// afresh, so another program's change applies at once.
TEST(SettingsSnapshot, ReadsEachKeyOnceAndNothingOutlivesIt) {
    CountingStore store;
    Settings settings(store);
    Settings other(store);
    other.WriteText(kSettingsKey, "Standard Rate", "0.20");
    other.WriteText(kSettingsKey, QString::fromUtf8("Ärende"), "x");
    {
        const Settings::Snapshot tick(settings);
        const int before = store.reads;
        EXPECT_EQ(settings.ReadText(kSettingsKey, "standard rate", ""), "0.20");
        EXPECT_EQ(settings.ReadText("\\Software\\varnholt\\FARROWLINE\\", "STANDARD RATE", ""),
                  "0.20");
        EXPECT_EQ(settings.ReadText(kSettingsKey, QString::fromUtf8("äRENDE"), ""), "x");
        EXPECT_EQ(settings.ReadText(kSettingsKey, "Cheap Rate", "0.10"), "0.10");
        EXPECT_EQ(store.reads - before, 1);
        // Another program's write waits for the next tick; this one's own is
        // seen at once.
        other.WriteText(kSettingsKey, "Standard Rate", "0.30");
        EXPECT_EQ(settings.ReadText(kSettingsKey, "Standard Rate", ""), "0.20");
        settings.WriteText(kSettingsKey, "Cheap rate", "0.05");
        EXPECT_EQ(settings.ReadText(kSettingsKey, "Cheap Rate", ""), "0.05");
        {
            const Settings::Snapshot nested(settings);
            EXPECT_EQ(settings.ReadText(kSettingsKey, "Cheap Rate", ""), "0.05");
        }
        EXPECT_EQ(settings.ReadText(kSettingsKey, "Standard Rate", ""), "0.20");
        EXPECT_EQ(store.reads - before, 1);
    }
    EXPECT_EQ(settings.ReadText(kSettingsKey, "Standard Rate", ""), "0.30");
    const Settings::Snapshot next(settings);
    EXPECT_EQ(settings.ReadText(kSettingsKey, "Standard Rate", ""), "0.30");
    // A key that is missing is made, as without a snapshot.
    EXPECT_EQ(settings.ReadText("Software\\New", "x", "def"), "def");
    EXPECT_TRUE(store.keyExists(RegRoot::CurrentUser, "Software\\New"));
}

} // namespace
