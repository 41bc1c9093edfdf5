// The monitor's dialogs page by page, with the buttons every page shares: in
// each language no two captions shown together claim the same access key,
// unless their English captions already do and the translation adds nobody.

#include "AccessKeys.h"
#include "IntlStrings.h"
#include "LanguageRig.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Page {
    const char* name;
    std::vector<int> ids; // captions shown at once, string ids
};

// The settings dialog's pages share "&Apply" (OK and Cancel have no key);
// the wizard's pages share "< &Previous" and "&Next >", or "&Done" on the
// last page.
const Page kPages[] = {
    {"settings, time and cost", {1310, 1320, 1330, 1340, 1360, 1020}},
    {"settings, Dialdart", {4020, 4030, 1460, 4040, 4080, 1020}},
    {"settings, e-mail", {8130, 8140, 8150, 8160, 8170, 8370, 1020}},
    {"settings, warnings", {1380, 1390, 1400, 1410, 1020}},
    {"settings, chimes", {1580, 1440, 1590, 1460, 1450, 1020}},
    {"settings, administration", {1530, 1540, 1550, 6010, 6020, 6000, 1020}},
    {"settings, file log", {1480, 1490, 1500, 1460, 1510, 1020}},
    {"settings, options", {3270, 7120, 1020}},
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

} // namespace
