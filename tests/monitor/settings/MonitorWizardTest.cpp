// The Monitor Wizard without widgets: which page it opens on, where Next and
// Previous lead for each kind of tariff, what it loads, and what Done,
// Cancel and the language page leave in the store.

#include "MonitorWizard.h"
#include "RunEntry.h"
#include "SettingsTestSupport.h"

namespace {

class MonitorWizardTest : public SettingsFixture {
protected:
    StoreRunEntry run{store};
    std::unique_ptr<MonitorWizard> open() {
        store.writes.clear();
        return std::make_unique<MonitorWizard>(settings, intl, run, "/opt/tw/tollwatch");
    }
    // Steps with Next until the page is reached; fails after five steps.
    static void nextTo(MonitorWizard& w, WizardPage page) {
        for (int i = 0; i < 5 && w.flow().page() != page; ++i)
            ASSERT_FALSE(w.next());
        ASSERT_EQ(w.flow().page(), page);
    }
};

TEST_F(MonitorWizardTest, AFirstRunOpensOnTheLanguagePageAndStoresTheChoiceWhenLeft) {
    auto w = open();
    EXPECT_EQ(w->flow().page(), WizardPage::Noll);
    EXPECT_EQ(w->values().language, 2);
    EXPECT_FALSE(w->flow().previousEnabled());
    w->values().language = 4;
    EXPECT_FALSE(w->next());
    EXPECT_EQ(w->flow().page(), WizardPage::First);
    EXPECT_FALSE(w->flow().previousEnabled());
    EXPECT_EQ(store.writes, QStringList{"Language"});
    EXPECT_EQ(user("Language"), "4");
    EXPECT_EQ(intl.IntlStr(3300), "&Weiter >");
    // The language page cannot be reached again.
    w->previous();
    EXPECT_EQ(w->flow().page(), WizardPage::First);
    // A later run opens on the tariff page.
    EXPECT_EQ(open()->flow().page(), WizardPage::First);
}

TEST_F(MonitorWizardTest, AStoredLanguageOf50OrMoreOrNoNumberCountsAsAFirstRun) {
    setUser("Language", "50");
    EXPECT_EQ(open()->flow().page(), WizardPage::Noll);
    setUser("Language", "49");
    auto w = open();
    EXPECT_EQ(w->flow().page(), WizardPage::First);
    // No such list entry: the default one is selected.
    EXPECT_EQ(w->values().language, 2);
    setUser("Language", "9");
    EXPECT_EQ(open()->values().language, 9);
}

TEST_F(MonitorWizardTest, AFreshStoreShowsTheWizardDefaults) {
    setUser("Cheap Rate", "0.15");
    const WizardValues v = open()->values();
    EXPECT_EQ(v.kind, TariffKind::Fixed);
    EXPECT_EQ(v.tariff.connectionFee, "0.35");
    EXPECT_EQ(v.tariff.minimumCost, "0.00");
    EXPECT_EQ(v.tariff.standardRate, "0.20");
    // The cheap-day rate follows the stored cheap rate until it has its own.
    EXPECT_EQ(v.tariff.weekendRate, "0.15");
    EXPECT_TRUE(v.tariff.saturdays);
    EXPECT_TRUE(v.tariff.sundays);
    EXPECT_FALSE(v.tariff.fridays);
    EXPECT_FALSE(v.autoload);
    setUser("Show cost", "true");
    setUser("One rate", "false");
    EXPECT_EQ(open()->values().kind, TariffKind::Different);
    setUser("Show cost", "false");
    EXPECT_EQ(open()->values().kind, TariffKind::TimeOnly);
}

TEST_F(MonitorWizardTest, FixedRateSkipsTheCheapPeriodsAndPreviousReturnsToTheTariffPage) {
    setUser("Language", "2");
    auto w = open();
    w->values().kind = TariffKind::Fixed;
    EXPECT_FALSE(w->next());
    EXPECT_EQ(w->flow().page(), WizardPage::Third);
    EXPECT_FALSE(w->flow().cheapEditsShown());
    EXPECT_TRUE(w->flow().previousEnabled());
    EXPECT_FALSE(w->flow().nextIsDone());
    w->next();
    EXPECT_EQ(w->flow().page(), WizardPage::Fourth);
    EXPECT_TRUE(w->flow().nextIsDone());
    w->previous();
    EXPECT_EQ(w->flow().page(), WizardPage::Third);
    EXPECT_FALSE(w->flow().nextIsDone());
    w->previous();
    EXPECT_EQ(w->flow().page(), WizardPage::First);
    EXPECT_FALSE(w->flow().previousEnabled());
    // Different rates show the cheap periods and the cheap rates again.
    w->values().kind = TariffKind::Different;
    w->next();
    EXPECT_EQ(w->flow().page(), WizardPage::Second);
    w->next();
    EXPECT_TRUE(w->flow().cheapEditsShown());
    w->previous();
    EXPECT_EQ(w->flow().page(), WizardPage::Second);
    EXPECT_TRUE(w->flow().previousEnabled());
    w->previous();
    EXPECT_EQ(w->flow().page(), WizardPage::First);
    EXPECT_TRUE(store.writes.isEmpty());
}

TEST_F(MonitorWizardTest, TimeOnlyGoesToTheLastPageAndStoresNoCostAndNoOneRate) {
    setUser("Language", "2");
    setUser("Cheap after", "19:00:30");
    auto w = open();
    w->values().kind = TariffKind::TimeOnly;
    w->next();
    EXPECT_EQ(w->flow().page(), WizardPage::Fourth);
    EXPECT_TRUE(w->flow().nextIsDone());
    w->previous();
    EXPECT_EQ(w->flow().page(), WizardPage::First);
    w->next();
    EXPECT_TRUE(w->next());
    EXPECT_EQ(user("Show cost"), "false");
    EXPECT_EQ(user("One rate"), "false");
    // The hidden values are stored as they were loaded.
    EXPECT_EQ(user("Cheap after"), "19:00:30");
    EXPECT_EQ(user("Connection Fee"), "0.35");
}

TEST_F(MonitorWizardTest, DoneStoresEveryValueInOrderAndTheRunEntry) {
    setUser("Language", "2");
    auto w = open();
    w->values().kind = TariffKind::Different;
    nextTo(*w, WizardPage::Second);
    w->values().tariff.cheapBefore = "07.00";
    w->values().tariff.fridays = true;
    nextTo(*w, WizardPage::Third);
    w->values().tariff.weekendRate = "0.05";
    nextTo(*w, WizardPage::Fourth);
    w->values().autoload = true;
    EXPECT_TRUE(w->next());
    EXPECT_EQ(store.writes,
              (QStringList{"Satcheap", "Suncheap", "Fricheap", "One rate", "Show cost",
                           "Cheap before", "Cheap after", "Standard rate", "Cheap rate",
                           "Weekend rate", "Connection Fee", "Minimum cost", "Tollwatch"}));
    EXPECT_EQ(user("One rate"), "false");
    EXPECT_EQ(user("Show cost"), "true");
    EXPECT_EQ(user("Cheap before"), "07.00");
    EXPECT_EQ(user("Fricheap"), "true");
    EXPECT_EQ(user("Weekend rate"), "0.05");
    EXPECT_EQ(run.read(), "/opt/tw/tollwatch");
    // Cleared again by a later run's Done.
    auto again = open();
    EXPECT_TRUE(again->values().autoload);
    again->values().autoload = false;
    nextTo(*again, WizardPage::Fourth);
    EXPECT_TRUE(again->next());
    EXPECT_TRUE(run.read().isEmpty());
}

TEST_F(MonitorWizardTest, LeavingTheLanguagePageReloadsTheAmountsAndCancelKeepsTheLanguage) {
    auto w = open();
    w->values().tariff.standardRate = "9.99";
    w->values().language = 0;
    w->next();
    EXPECT_EQ(w->values().tariff.standardRate, "0.20");
    w->next();
    // Closing here is Cancel: nothing but the language was written.
    w.reset();
    EXPECT_EQ(user("Language"), "0");
    EXPECT_EQ(user("Standard rate"), "<missing>");
    EXPECT_EQ(store.writes, QStringList{"Language"});
}

} // namespace
