// The companion's menus and Options dialog captioned in each of its four
// languages: no two captions shown together claim the same access key,
// unless their English captions already do and the translation adds nobody.

#include "CompanionStrings.h"
#include "TestFormats.h"
#include "TfrmSettings.h"
#include "WidgetAccessKeys.h"
#include "WindowTestSupport.h"

#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

using Groups = QList<QPair<QString, QList<AccessKeys::Item>>>;

// The monitor's language codes of the companion's four languages.
const struct {
    const char* code;
    const char* name;
} kLanguages[] = {{"2", "en"}, {"5", "sv"}, {"4", "de"}, {"9", "da"}};

Groups menus(TfrmMain& window) {
    window.LoadCaptions();
    Groups groups = {
        {QStringLiteral("menu bar"), WidgetAccessKeys::menuBarItems(*window.menuBar())}};
    const QList<QMenu*> all = window.findChildren<QMenu*>();
    for (int i = 0; i < all.size(); ++i)
        groups.append({QStringLiteral("menu %1 ").arg(i) + all.at(i)->objectName(),
                       WidgetAccessKeys::menuItems(*all.at(i))});
    return groups;
}

// Each page with the tab titles and the buttons under the pages.
Groups optionsPages(TfrmSettings& dialog) {
    dialog.LoadCaptions();
    const auto* pages = dialog.findChild<QTabWidget*>();
    Groups groups;
    for (int i = 0; pages && i < pages->count(); ++i) {
        QList<AccessKeys::Item> items = WidgetAccessKeys::controls(*pages->widget(i));
        items += WidgetAccessKeys::controls(dialog, pages);
        for (int t = 0; t < pages->count(); ++t)
            items.append({QStringLiteral("tab %1").arg(t), pages->tabText(t)});
        groups.append({QStringLiteral("Options page %1").arg(i), items});
    }
    return groups;
}

void expectNoNewClashes(const Groups& translated, const Groups& english, const char* language) {
    ASSERT_EQ(translated.size(), english.size());
    for (int g = 0; g < translated.size(); ++g) {
        const QStringList clashes =
            AccessKeys::newClashes(translated.at(g).second, english.at(g).second);
        EXPECT_TRUE(clashes.isEmpty()) << language << ", " << english.at(g).first.toStdString()
                                       << ": " << clashes.join(QStringLiteral("; ")).toStdString();
    }
}

TEST(CompanionAccessKeys, NoTranslationMakesTwoCaptionsShownTogetherShareAKey) {
    WindowTest::Rig rig;
    auto window = rig.window();
    Settings settings(rig.store);
    CompanionStrings strings(settings);
    TfrmSettings options(settings, strings, TestFormats::svSE(), rig.dialogs);
    Groups english;
    for (const auto& language : kLanguages) {
        settings.WriteText(kSettingsKey, QStringLiteral("Language"),
                           QString::fromLatin1(language.code));
        Groups groups = menus(*window) + optionsPages(options);
        if (english.isEmpty()) {
            ASSERT_GE(groups.size(), 7); // bar, File, View, Toolbars, Help, chart kinds, 2 pages
            english = groups;
        }
        expectNoNewClashes(groups, english, language.name);
    }
}

} // namespace
