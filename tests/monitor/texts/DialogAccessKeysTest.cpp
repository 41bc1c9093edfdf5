// The monitor's dialogs page by page, with the buttons every page shares: in
// each language no two captions shown together claim the same access key,
// unless their English captions already do and the translation adds nobody.
// The settings dialog is checked on its own widgets, the other dialogs on
// the captions their pages show.

#include "AccessKeys.h"
#include "IntlStrings.h"
#include "LanguageRig.h"
#include "SettingsDialogRig.h"
#include "SettingsPanel.h"
#include "TfrmSettings.h"
#include "WidgetAccessKeys.h"

#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Page {
    const char* name;
    std::vector<int> ids; // captions shown at once, string ids
};

// The other dialogs by their captions; the wizard's pages share "< &Previous"
// and "&Next >", or "&Done" on the last page.
const Page kPages[] = {
    {"rates", {820, 850, 860, 870, 880, 890, 900, 3280}},
    {"holidays", {5140, 5150, 5170}},
    {"wizard, tariff kind", {3220, 3230, 3240, 3310, 3300}},
    {"wizard, cheap periods", {3180, 3190, 3200, 3310, 3300}},
    {"wizard, amounts", {880, 890, 3280, 820, 900, 3310, 3300}},
    {"wizard, finish", {3270, 3310, 3320}},
    {"Dialdart credentials", {4060, 4070}},
};

QList<AccessKeys::Item> captions(const IntlStrings& intl, const Page& page) {
    QList<AccessKeys::Item> items;
    for (int id : page.ids)
        items.append({QString::number(id), intl.IntlStr(id)});
    return items;
}

TEST(DialogAccessKeys, NoTranslationMakesTwoCaptionsOfAPageShareAKey) {
    MemoryRegistryStore store;
    Settings settings(store);
    const IntlStrings intl(settings);
    for (const Page& page : kPages) {
        settings.WriteText(kSettingsKey, QStringLiteral("Language"), QStringLiteral("1"));
        const QList<AccessKeys::Item> english = captions(intl, page);
        for (int k = 1; k < kLanguageCount; ++k) {
            settings.WriteText(kSettingsKey, QStringLiteral("Language"),
                               QString::number(kLanguages[k].index));
            const QStringList clashes = AccessKeys::newClashes(captions(intl, page), english);
            EXPECT_TRUE(clashes.isEmpty()) << kLanguages[k].name << ", " << page.name << ": "
                                           << clashes.join(QStringLiteral("; ")).toStdString();
        }
    }
}

// Each page of the settings dialog with the Apply button under it (OK and
// Cancel have no key), in the language chosen.
QList<QList<AccessKeys::Item>> settingsPages(int k) {
    SettingsDialogRig rig;
    rig.setUser("Language", QString::number(kLanguages[k].index));
    SettingsDialog dialog(rig.context());
    TfrmSettings form(dialog, SettingsPage::TimeAndCost);
    const auto* apply = form.findChild<QPushButton*>("ApplyBtn");
    QList<QList<AccessKeys::Item>> pages;
    for (int page = 0; page < kSettingsPageCount; ++page) {
        QList<AccessKeys::Item> items = WidgetAccessKeys::controls(*form.panel(SettingsPage(page)));
        items.append({apply->objectName(), apply->text()});
        pages.append(items);
    }
    return pages;
}

TEST(DialogAccessKeys, NoTranslationMakesTwoControlsOfASettingsPageShareAKey) {
    const auto english = settingsPages(0);
    ASSERT_EQ(english.size(), kSettingsPageCount);
    EXPECT_GE(english.at(2).size(), 8) << "the e-mail page's captions are all there";
    for (int k = 1; k < kLanguageCount; ++k) {
        const auto translated = settingsPages(k);
        for (int page = 0; page < kSettingsPageCount; ++page) {
            const QStringList clashes =
                AccessKeys::newClashes(translated.at(page), english.at(page));
            EXPECT_TRUE(clashes.isEmpty())
                << kLanguages[k].name << ", settings page " << page + 1 << ": "
                << clashes.join(QStringLiteral("; ")).toStdString();
        }
    }
}

} // namespace
