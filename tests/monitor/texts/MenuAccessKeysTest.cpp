// Every menu of the status window, its tray icon and its toolbar, captioned in
// each language by the window's own caption routine: no two items of a menu
// share an access key, unless their English captions, which are fixed,
// already do and the translation adds nobody to them.

#include "LanguageRig.h"
#include "WidgetAccessKeys.h"
#include "WindowCaptions.h"

#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

namespace {

using Menus = QList<QPair<QString, QList<AccessKeys::Item>>>;

Menus captionedMenus(LanguageRig& rig, int k) {
    rig.choose(k);
    WindowCaptions::LoadIntlStr(rig.window, rig.window, rig.intl);
    Menus menus = {
        {QStringLiteral("menu bar"), WidgetAccessKeys::menuBarItems(*rig.window.menuBar())}};
    const QList<QMenu*> all = rig.window.findChildren<QMenu*>();
    for (int i = 0; i < all.size(); ++i) {
        const QMenu* menu = all.at(i);
        QString name = menu->objectName().isEmpty() ? menu->title() : menu->objectName();
        if (menu == rig.window.trayIcon()->contextMenu())
            name = QStringLiteral("tray menu");
        else if (name.isEmpty())
            name = QStringLiteral("menu %1").arg(i);
        menus.append({name, WidgetAccessKeys::menuItems(*menu)});
    }
    return menus;
}

TEST(MenuAccessKeys, NoTranslationMakesTwoItemsOfAMenuShareAKey) {
    LanguageRig rig;
    const Menus english = captionedMenus(rig, 0);
    ASSERT_GE(english.size(), 8); // bar, File, View, Connect, its entries, Help, WWW, tray, ...
    for (int k = 1; k < kLanguageCount; ++k) {
        const Menus translated = captionedMenus(rig, k);
        ASSERT_EQ(translated.size(), english.size());
        for (int m = 0; m < translated.size(); ++m) {
            const QStringList clashes =
                AccessKeys::newClashes(translated.at(m).second, english.at(m).second);
            EXPECT_TRUE(clashes.isEmpty())
                << kLanguages[k].name << ", " << english.at(m).first.toStdString() << " ("
                << translated.at(m).first.toStdString()
                << "): " << clashes.join(QStringLiteral("; ")).toStdString();
        }
    }
}

TEST(MenuAccessKeys, TheFixedCaptionsTakePartAndEnglishClashesAreOnlyTolerated) {
    LanguageRig rig;
    const Menus english = captionedMenus(rig, 0);
    QStringList tray;
    for (const auto& menu : english)
        for (const AccessKeys::Item& item : menu.second)
            if (item.name == QLatin1String("Companion2"))
                for (const AccessKeys::Item& i : menu.second)
                    tray.append(i.caption);
    EXPECT_TRUE(tray.contains(QStringLiteral("&Companion")));
    EXPECT_TRUE(tray.contains(QStringLiteral("&Dialdart")));

    // The English tray menu has "&Connect to" and "&Companion"; a translation
    // may keep that pair but not add a third item to it.
    const QList<AccessKeys::Item> en = {{"Connectusing1", "&Connect to"},
                                        {"Companion2", "&Companion"},
                                        {"Wizard2", "Monitor &Wizard"}};
    EXPECT_TRUE(AccessKeys::newClashes({{"Connectusing1", "Se &connecter à"},
                                        {"Companion2", "&Companion"},
                                        {"Wizard2", "Assistant de con&figuration"}},
                                       en)
                    .isEmpty());
    EXPECT_EQ(AccessKeys::newClashes({{"Connectusing1", "Se &connecter à"},
                                      {"Companion2", "&Companion"},
                                      {"Wizard2", "Assistant de &configuration"}},
                                     en),
              QStringList{"c: Se &connecter à | &Companion | Assistant de &configuration"});
    EXPECT_EQ(AccessKeys::of(QStringLiteral("Save && &Öffnen")), QChar(u'ö'));
    EXPECT_TRUE(AccessKeys::of(QStringLiteral("R&&D")).isNull());
}

} // namespace
