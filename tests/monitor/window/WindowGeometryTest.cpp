// The status window's geometry: the compact and detailed heights of the
// Details command, a width that long texts do not change, the Event column
// taking the room the Time column leaves, and long lines elided with the
// whole text as a tool tip.

#include "ElidedLabel.h"
#include "IntlStrings.h"
#include "MemoryRegistryStore.h"
#include "MonitorFeatures.h"
#include "Settings.h"
#include "SoundPlayer.h"
#include "TfrmTAPIMon.h"
#include "WindowCommands.h"

#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class SilentSound : public SoundPlayer {
public:
    void play(const QString&, Outcome outcome) override {
        if (outcome)
            outcome(false);
    }
};

class WindowGeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        QApplication::processEvents();
    }
    int scaled(int hundredths) const { return int(window.logicalDpiY() * 0.01 * hundredths); }
    void settle() { QApplication::processEvents(); }
    ElidedLabel* label(const char* name) { return window.findChild<ElidedLabel*>(name); }

    MemoryRegistryStore store;
    Settings settings{store};
    IntlStrings intl{settings};
    SilentSound sound;
    UnbuiltFeatures features;
    TfrmTAPIMon window{[](const QString&) {}, [](int) {}, sound};
    WindowCommands commands{settings, window, window, intl, features};
};

TEST_F(WindowGeometryTest, DetailsTogglesBetweenTheCompactAndTheDetailedHeight) {
    ASSERT_EQ(window.logicalDpiY(), 96);
    commands.IEButton2Click();
    settle();
    EXPECT_FALSE(window.historyVisible());
    EXPECT_EQ(window.frameGeometry().height(), scaled(132));
    commands.IEButton2Click();
    settle();
    EXPECT_TRUE(window.historyVisible());
    EXPECT_EQ(window.frameGeometry().height(), scaled(254));
    commands.IEButton2Click();
    settle();
    EXPECT_EQ(window.frameGeometry().height(), scaled(132));
    // What is saved is the compact height, so the next start has no blank band.
    commands.SavePlacement();
    EXPECT_EQ(settings.ReadText(kSettingsKey, QStringLiteral("Height"), QString()),
              QString::number(scaled(132)));
}

TEST_F(WindowGeometryTest, LongTextsKeepTheWidthAndAreElidedWithATooltip) {
    window.setFrameSize(320, scaled(254));
    settle();
    const QString rate = QStringLiteral(
        "Durchschnittliche Übertragungsrate: senden 8,72 kB/s, empfangen 41,96 kB/s");
    window.setXferText(rate);
    window.setStatusLine(1,
                         QStringLiteral("Tollwatch wurde gestartet, Anrufe werden überwacht..."));
    window.setStatusLine(2, QStringLiteral("short"));
    settle();
    EXPECT_EQ(window.frameGeometry().width(), 320);
    EXPECT_TRUE(label("lblXfer")->isElided());
    EXPECT_EQ(label("lblXfer")->toolTip(), rate);
    EXPECT_TRUE(label("Label1")->shownText().endsWith(QChar(0x2026)));
    EXPECT_FALSE(label("Label2")->isElided());
    EXPECT_TRUE(label("Label2")->toolTip().isEmpty());
    // Room again: the whole text, no tool tip.
    window.setFrameSize(900, scaled(254));
    settle();
    EXPECT_FALSE(label("lblXfer")->isElided());
    EXPECT_TRUE(label("lblXfer")->toolTip().isEmpty());
}

TEST_F(WindowGeometryTest, TheEventColumnTakesTheWidthTheTimeColumnLeaves) {
    window.setFrameSize(320, scaled(254));
    const QString event =
        QStringLiteral("Average transfer rate: send 8.72 kB/s, receive 41.96 kB/s");
    window.addHistoryRow(event, QStringLiteral("23:59:59"), EventKind::Information);
    settle();
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("listHistoria"));
    const QHeaderView* header = list->header();
    const int time = header->sectionSize(1);
    EXPECT_GE(time, list->fontMetrics().horizontalAdvance(QStringLiteral("23:59:59")));
    EXPECT_EQ(header->sectionSize(0) + time, list->viewport()->width());
    EXPECT_GT(header->sectionSize(0), 245 - 60);
    EXPECT_EQ(list->topLevelItem(0)->toolTip(0), event);
    window.setFrameSize(500, scaled(254));
    settle();
    EXPECT_EQ(header->sectionSize(1), time);
    EXPECT_EQ(header->sectionSize(0) + time, list->viewport()->width());
}

} // namespace
