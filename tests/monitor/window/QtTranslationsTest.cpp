// Qt's own texts follow the monitor's language: Qt's catalogue where Debian
// ships one, the string table's button texts where it does not, English
// again without either.

#include "QtTranslations.h"
#include "IntlStrings.h"
#include "MemoryRegistryStore.h"
#include "Settings.h"
#include "SoundPlayer.h"
#include "StringTable.h"
#include "TfrmTAPIMon.h"
#include "WindowCaptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QString buttonText(QMessageBox::StandardButton which) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return box.button(which)->text();
}

const StringTable& table() {
    return StringTable::resource(QStringLiteral(":/strings/monitor.tsv"));
}

TEST(QtTranslations, StandardButtonsSpeakTheChosenLanguage) {
    QtTranslations translations(table());
    translations.apply(1);
    EXPECT_EQ(buttonText(QMessageBox::No), QStringLiteral("&Nej"));
    EXPECT_EQ(buttonText(QMessageBox::Cancel), *table().text(1011));
    translations.apply(7);
    EXPECT_EQ(buttonText(QMessageBox::No), QStringLiteral("&Não"));
    translations.apply(0);
    EXPECT_EQ(buttonText(QMessageBox::No), QStringLiteral("&No"));
    EXPECT_EQ(buttonText(QMessageBox::Cancel), QStringLiteral("Cancel"));
    translations.apply(42);
    EXPECT_EQ(buttonText(QMessageBox::Yes), QStringLiteral("&Yes"));
}

TEST(QtTranslations, QtsOwnCatalogueIsUsedWhereItExists) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    QtTranslations translations(table());
    translations.apply(2);
    EXPECT_TRUE(translations.qtCatalogueLoaded());
    EXPECT_EQ(buttonText(QMessageBox::No), QStringLiteral("&Nein"));
    // A text only Qt has: its file dialog's.
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("File &name:"));
}

class SilentSound : public SoundPlayer {
public:
    void play(const QString&, Outcome) override {}
};

TEST(QtTranslations, EveryRecaptioningOfTheWindowPassesTheLanguageOn) {
    MemoryRegistryStore store;
    Settings settings(store);
    IntlStrings intl(settings);
    SilentSound sound;
    TfrmTAPIMon window([](const QString&) {}, [](int) {}, sound);
    QList<int> seen;
    window.setLanguageHandler([&seen](int k) { seen << k; });
    settings.WriteText(kSettingsKey, QStringLiteral("Language"), QStringLiteral("4"));
    WindowCaptions::LoadIntlStr(window, window, intl);
    settings.WriteText(kSettingsKey, QStringLiteral("Language"), QStringLiteral("5"));
    WindowCaptions::LoadIntlStr(window, window, intl);
    EXPECT_EQ(seen, (QList<int>{2, 1}));
}

} // namespace
