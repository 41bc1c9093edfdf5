// The rates dialog's values and the holiday list: the dialog's own defaults,
// the order and form of what OK stores, and holidays as the dialog lists,
// adds and removes them and as the cost model then prices them.

#include "CostModel.h"
#include "HolidayList.h"
#include "RatesEditor.h"
#include "SettingsTestSupport.h"

namespace {

using RatesEditorTest = SettingsFixture;

TEST_F(RatesEditorTest, OkOnAFreshInstallationStoresTheDialogDefaultsInItsOrder) {
    RatesEditor editor(settings);
    editor.save(editor.load());
    EXPECT_EQ(store.writes, (QStringList{"Satcheap", "Suncheap", "Fricheap", "Cheap before",
                                         "Weekend rate", "Cheap after", "Minimum cost",
                                         "Standard rate", "Cheap rate", "Connection Fee"}));
    // The dialog's fee and minimum, not the cost model's 0.35 and 0.00.
    EXPECT_EQ(user("Connection Fee"), "0.00");
    EXPECT_EQ(user("Minimum cost"), "0.20");
    EXPECT_EQ(user("Standard rate"), "0.20");
    EXPECT_EQ(user("Weekend rate"), "0.10");
    EXPECT_EQ(user("Cheap before"), "08.00");
    EXPECT_EQ(user("Satcheap"), "false");
    // So a fresh store priced after OK: one 30-second weekday minute at
    // 0.20 is the minimum of 0.20.
    ManualClock clock(QDateTime(QDate(2024, 3, 13), QTime(12, 0, 0)));
    CostModel model(settings, formats, clock);
    EXPECT_DOUBLE_EQ(model.ConnectionCost(0.5, 0.5 + 30.0 / 86400), 0.20);
}

TEST_F(RatesEditorTest, StoredTextsAreShownAndStoredAsTypedWithoutAnyCheck) {
    setUser("Cheap Before", "7:30");
    setUser("Standard Rate", "1,25");
    setUser("FriCheap", "YES");
    RatesEditor editor(settings);
    RatesValues v = editor.load();
    EXPECT_EQ(v.cheapBefore, "7:30");
    EXPECT_EQ(v.standardRate, "1,25");
    EXPECT_TRUE(v.fridays);
    v.connectionFee = "free";
    v.cheapAfter = "late";
    editor.save(v);
    EXPECT_EQ(user("Connection Fee"), "free");
    EXPECT_EQ(user("Cheap after"), "late");
    // The names keep the spelling they were first written with.
    EXPECT_EQ(store.valueNames(RegRoot::CurrentUser, kSettingsKey).filter("Cheap Before").size(),
              1);
    EXPECT_EQ(user("FriCheap"), "true");
}

class HolidayListTest : public SettingsFixture {
protected:
    HolidayList list{store, intl, formats};
    ManualClock clock{QDateTime(QDate(2024, 12, 24), QTime(12, 0, 0))};
    CostModel model{settings, formats, clock};
};

TEST_F(HolidayListTest, ChristmasEveTwiceShowsTwoLinesStoresOneAndOneRemovalDeletesIt) {
    setUser("Standard Rate", "1.00");
    setUser("Cheap Rate", "0.10");
    setUser("One rate", "false");
    EXPECT_EQ(list.add(11, 23), "12/24");
    EXPECT_EQ(list.add(11, 23), "12/24");
    EXPECT_EQ(store.valueNames(RegRoot::CurrentUser, kHolidaysKey), QStringList{"1224"});
    EXPECT_EQ(store.readValue(RegRoot::CurrentUser, kHolidaysKey, "1224")->text, "User defined");
    EXPECT_TRUE(model.IsHoliday());
    EXPECT_DOUBLE_EQ(model.NormalRate(), 0.10);
    EXPECT_TRUE(list.remove("12/24"));
    EXPECT_TRUE(list.lines().isEmpty());
    EXPECT_FALSE(model.IsHoliday());
    EXPECT_DOUBLE_EQ(model.NormalRate(), 1.00);
}

TEST_F(HolidayListTest, LinesUseTheDateSeparatorAndTheDescriptionOfTheLanguage) {
    setUser("Language", "4"); // German
    FormatSettings german = TestFormats::forLocale("de_DE");
    HolidayList de(store, intl, german);
    EXPECT_EQ(de.add(0, 0), "01.01");
    EXPECT_EQ(store.readValue(RegRoot::CurrentUser, kHolidaysKey, "0101")->text,
              "Benutzerdefiniert");
    // No check against impossible dates.
    EXPECT_EQ(de.add(1, 30), "02.31");
    EXPECT_EQ(de.lines(), (QStringList{"01.01", "02.31"}));
    EXPECT_EQ(list.lines(), (QStringList{"01/01", "02/31"}));
    EXPECT_TRUE(de.remove("02.31"));
    EXPECT_EQ(list.lines(), QStringList{"01/01"});
}

TEST_F(HolidayListTest, AnEmptyDescriptionIsListedButNotPricedAsAHoliday) {
    store.writeValue(RegRoot::CurrentUser, kHolidaysKey, "1224", RegValue::fromString(""));
    store.writeValue(RegRoot::CurrentUser, kHolidaysKey, "0501",
                     RegValue::fromString("Labour Day"));
    EXPECT_EQ(list.lines(), (QStringList{"12/24", "05/01"}));
    EXPECT_FALSE(model.IsHoliday());
}

TEST_F(HolidayListTest, RemoveWithoutAUsableLineFailsAndNoHolidayKeyListsNothing) {
    EXPECT_TRUE(list.lines().isEmpty());
    EXPECT_FALSE(list.remove(QString()));
    EXPECT_FALSE(list.remove("12/2"));
    // Removing a line whose value is already gone is no error.
    EXPECT_TRUE(list.remove("03/03"));
    EXPECT_EQ(HolidayList::monthNames(intl).size(), 13);
    EXPECT_EQ(HolidayList::monthNames(intl).at(9), "Oktober");
}

} // namespace
