// The main window: its views and captions, the compile run's results, the
// row summary, the list's sorting by header, the Options dialog round trip,
// the mouse wheel on the report, and the settings kept between runs.

#include "ChartPanel.h"
#include "CompanionSettings.h"
#include "CompanionStatusBar.h"
#include "ConnectionListModel.h"
#include "MainActions.h"
#include "ReportWheel.h"
#include "SideBar.h"
#include "TfrmSettings.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QWheelEvent>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        log = rig.dir.filePath("access.txt");
        WindowTest::writeLog(log, WindowTest::sampleLines());
        rig.setSlot(1, log);
    }
    std::unique_ptr<TfrmMain> started() {
        auto w = rig.window();
        w->FormCreate();
        return w;
    }
    QString companionValue(const char* name) const {
        return rig.read(RegRoot::CurrentUser, kCompanionKey, QString::fromLatin1(name));
    }

    WindowTest::Rig rig;
    QString log;
};

TEST_F(MainWindowTest, TheFirstCompileFillsEveryView) {
    auto w = started();
    EXPECT_EQ(w->windowTitle(), "Tollwatch Companion");
    EXPECT_TRUE(rig.dialogs.messages.isEmpty());
    EXPECT_EQ(w->listModel()->rowCount(), 3);
    EXPECT_EQ(w->listModel()->text(1, 0), "bob");
    EXPECT_EQ(w->listModel()->text(0, 1), "2001-02-03 10:00:00");
    EXPECT_EQ(w->StatusBar()->panelText(0), "Compile complete.");
    EXPECT_EQ(w->StatusBar()->panelText(1), " 3 entries");
    EXPECT_TRUE(w->StatusBar()->progress()->isHidden());
    EXPECT_TRUE(w->Report()->toPlainText().startsWith("Report compiled "));
    QTreeWidgetItem* root = w->TreeView1()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "Companion");
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(w->TreeView1()->currentItem(), root);
    EXPECT_EQ(root->childCount(), 3);
    // The report outline is shown first; the chart waits with kind 5.
    EXPECT_EQ(w->currentView(), CompanionView::Outline);
    EXPECT_EQ(w->engine().chartKind(), ChartKind::CostMonthly);
    EXPECT_EQ(w->Graphpanel()->title(), "Connection cost");
    EXPECT_EQ(w->Graphpanel()->subtitle(), "Monthly");
    EXPECT_EQ(w->Graphpanel()->PieChart1()->data().count(), 2);
}

// The window's event loop goes on during a compile run of many files: a
// timer that fires meanwhile sees the progress bar shown and moving, and a
// close request waits for the run's end instead of pulling the window away.
TEST_F(MainWindowTest, TheEventLoopRunsAndTheProgressBarMovesDuringACompile) {
    QStringList lines;
    for (int i = 0; i < 400; ++i)
        lines << QStringLiteral("user%1;2001-02-03;10:00:00;12;3,40;1,00;2,00;Office").arg(i % 7);
    for (int slot = 1; slot <= 30; ++slot) {
        const QString path = rig.dir.filePath(QStringLiteral("log%1.txt").arg(slot));
        WindowTest::writeLog(path, lines);
        rig.setSlot(slot, path);
    }
    auto w = started();
    QList<int> seen;
    bool closeAsked = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QProgressBar* bar = w->StatusBar()->progress();
        if (!bar->isVisible())
            return;
        seen << bar->value();
        if (!closeAsked) {
            closeAsked = true;
            w->close();
        }
    });
    timer.start(0);
    w->UpdateListWindow();
    timer.stop();
    EXPECT_EQ(w->listModel()->rowCount(), 30 * 400);
    QList<int> distinct;
    for (int value : seen)
        if (!distinct.contains(value))
            distinct << value;
    // 15 a file up to 100: the loop sees it at 15, 30, ... and often at each.
    EXPECT_GE(distinct.size(), 5) << "the loop saw the progress at only " << distinct.size()
                                  << " values";
    EXPECT_GE(seen.size(), 10);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    ASSERT_TRUE(closeAsked);
    EXPECT_FALSE(w->isVisible()); // closed once the run was over
}

TEST_F(MainWindowTest, ViewCommandsShowOneViewAndCheckOnlyItsItem) {
    auto w = started();
    MainActions* a = w->actions();
    auto checks = [&] {
        return QList<bool>{a->Lista1->isChecked(), a->Reports1->isChecked(),
                           a->ConnectionList1->isChecked(), a->Chart1->isChecked(),
                           a->toolGraph()->isChecked()};
    };
    a->ConnectionList1->trigger();
    EXPECT_EQ(w->currentView(), CompanionView::Connections);
    EXPECT_EQ(checks(), QList<bool>({false, false, true, false, false}));
    QListWidget* side = w->sideBar()->items();
    emit side->itemClicked(side->item(1));
    EXPECT_EQ(w->currentView(), CompanionView::Report);
    EXPECT_EQ(checks(), QList<bool>({false, true, false, false, false}));
    a->toolGraph()->click();
    EXPECT_EQ(w->currentView(), CompanionView::Chart);
    EXPECT_EQ(checks(), QList<bool>({false, false, false, true, true}));
    a->Lista1->trigger();
    EXPECT_EQ(checks(), QList<bool>({true, false, false, false, false}));
}

TEST_F(MainWindowTest, ChoosingAChartKindLoadsItAndShowsTheChart) {
    auto w = started();
    w->actions()->chartKinds[0]->trigger();
    EXPECT_EQ(w->currentView(), CompanionView::Chart);
    EXPECT_EQ(w->engine().chartKind(), ChartKind::TimeUsers);
    EXPECT_EQ(w->Graphpanel()->title(), "Connection time");
    EXPECT_EQ(w->Graphpanel()->subtitle(), "Users");
    EXPECT_EQ(w->Graphpanel()->PieChart1()->data().lines(),
              QStringList({"30 anna 50%", "30 bob 50%"}));
    w->actions()->chartKinds[4]->trigger();
    EXPECT_EQ(w->Graphpanel()->title(), "Connection cost");
    EXPECT_EQ(w->Graphpanel()->subtitle(), "Internet service providers");
    // The drop-down has a separator between the time and the cost kinds.
    const QList<QAction*> items = w->actions()->PopupMenu1()->actions();
    ASSERT_EQ(items.size(), 7);
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[0]->text(), "Connection time (user)");
}

TEST_F(MainWindowTest, ClickingARowSummarisesItInTheStatusBar) {
    auto w = started();
    w->ListRowClick(1);
    EXPECT_EQ(w->StatusBar()->panelText(0), "bob connected to 'Home' for 30 minutes / 6,60 kr");
    // anna's 3.40 has the other separator: the report counts that row invalid,
    // so the summary does not read it either and the panel stays as it was.
    w->ListRowClick(0);
    EXPECT_EQ(w->StatusBar()->panelText(0), "bob connected to 'Home' for 30 minutes / 6,60 kr");
    WindowTest::writeLog(log, {"carl;2001-02-03;10:00:00;5;gratis;1;2;Office"});
    w->UpdateListWindow();
    w->ListRowClick(0); // a cost that is no number leaves the panel as it was
    EXPECT_EQ(w->StatusBar()->panelText(0), "Compile complete.");
    w->ListRowClick(5);
    EXPECT_EQ(w->StatusBar()->panelText(0), "Compile complete.");
}

TEST_F(MainWindowTest, HeaderClicksSortTheListAndKeepTheSelectedRow) {
    auto w = started();
    QTreeView* list = w->List();
    list->setCurrentIndex(w->listModel()->index(1, 0)); // bob
    emit list->header()->sectionClicked(0);
    EXPECT_EQ(w->listModel()->text(0, 0), "bob");
    EXPECT_EQ(w->listModel()->text(1, 0), "anna");
    EXPECT_EQ(list->currentIndex().row(), 0);
    EXPECT_EQ(list->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    emit list->header()->sectionClicked(3);
    EXPECT_EQ(w->listModel()->text(0, 3), "3.40");
    EXPECT_EQ(w->listModel()->text(2, 3), "10,00");
    EXPECT_EQ(list->currentIndex().row(), 1);
}

TEST_F(MainWindowTest, CaptionsFollowTheMonitorsLanguage) {
    rig.store.writeValue(RegRoot::CurrentUser, kSettingsKey, "Language", RegValue::fromString("9"));
    auto w = started();
    EXPECT_EQ(w->actions()->compile->text(), "&Opret rapport");
    EXPECT_EQ(w->listModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Bruger");
    EXPECT_EQ(w->sideBar()->itemText(0), "Visninger");
    rig.store.writeValue(RegRoot::CurrentUser, kSettingsKey, "Language", RegValue::fromString("3"));
    w->LoadCaptions();
    EXPECT_EQ(w->actions()->compile->text(), "&Compile report");
    EXPECT_EQ(w->sideBar()->itemText(0), "Views");
}

TEST_F(MainWindowTest, OptionsOkReloadsCaptionsAndCompilesAgain) {
    auto w = started();
    const QString second = rig.dir.filePath("second.txt");
    WindowTest::writeLog(second, {"dora;2001-03-01;09:00:00;5;1,00;1;1;Home"});
    rig.dialogs.file = second;
    rig.dialogs.onExec = [this](QDialog& dialog) {
        auto& options = static_cast<TfrmSettings&>(dialog);
        options.AddClick();
        rig.store.writeValue(RegRoot::CurrentUser, kSettingsKey, "Language",
                             RegValue::fromString("5"));
        options.OkClick();
        return int(options.result());
    };
    w->showOptions();
    EXPECT_EQ(w->listModel()->rowCount(), 4);
    EXPECT_EQ(w->actions()->compile->text(), "Sa&mmanställ rapport");
}

TEST_F(MainWindowTest, OptionsCancelOnlyReloadsTheChart) {
    auto w = started();
    w->actions()->chartKinds[0]->trigger();
    rig.dialogs.onExec = [this](QDialog&) {
        WindowTest::writeLog(log, {"eve;2001-03-01;09:00:00;5;1,00;1;1;Home"});
        return int(QDialog::Rejected);
    };
    w->showOptions();
    EXPECT_EQ(w->listModel()->rowCount(), 3);
    EXPECT_EQ(w->Graphpanel()->PieChart1()->data().count(), 2);
}

TEST_F(MainWindowTest, AnEmptyReportOffersTheSetupHelp) {
    WindowTest::writeLog(log, {});
    rig.dialogs.answer = MessageAnswer::Yes;
    auto w = started();
    ASSERT_EQ(rig.dialogs.messages.size(), 1);
    EXPECT_EQ(rig.dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(rig.dialogs.messages[0].foreground);
    ASSERT_EQ(rig.help.contexts.size(), 1);
    EXPECT_EQ(rig.help.contexts[0], std::make_pair(0, 1));
    w->actions()->helpIndex->trigger();
    EXPECT_EQ(rig.help.contents, QList<int>({0}));
}

TEST_F(MainWindowTest, TheWheelScrollsTheReportByLines) {
    EXPECT_EQ(ReportWheel::linesFor(-120), 2);
    EXPECT_EQ(ReportWheel::linesFor(120), -2);
    EXPECT_EQ(ReportWheel::linesFor(-360), 4);
    EXPECT_EQ(ReportWheel::linesFor(-30), 1);
    EXPECT_EQ(ReportWheel::linesFor(0), 0);
    auto w = started();
    w->resize(600, 300);
    w->showView(CompanionView::Report);
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QString::number(i);
    w->Report()->setPlainText(lines.join('\n'));
    QScrollBar* bar = w->Report()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 10);
    bar->setValue(5);
    QWidget* viewport = w->Report()->viewport();
    QWheelEvent towardsUser(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(),
                            QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                            false);
    QApplication::sendEvent(viewport, &towardsUser);
    EXPECT_EQ(bar->value(), 7);
}

} // namespace
