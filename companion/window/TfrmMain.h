#pragma once
// The companion's main window: the report outline, the report text, the
// connection list and the pie chart as four views, chosen from the side bar,
// the View menu or the chart button; the compile run's progress in the status
// bar; the window's settings kept in the store.

#include "CompanionEngine.h"
#include "CompanionServices.h"
#include "CompanionView.h"
#include "ConnectionSorter.h"
#include "MainWindowSettings.h"

#include <QMainWindow>

class ChartPanel;
class CompanionStatusBar;
class ConnectionListModel;
class MainActions;
class QPlainTextEdit;
class QStackedWidget;
class QTreeView;
class QTreeWidget;
class SideBar;

class TfrmMain : public QMainWindow, public CompanionObserver {
    Q_OBJECT

public:
    explicit TfrmMain(const CompanionServices& services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The creation steps: captions, the first start, the kept settings, the
    // window shown, the first compile run, the program's path, chart kind 5.
    void FormCreate();

    void LoadCaptions();
    // The compile run; the window goes on repainting while it takes its steps.
    void UpdateListWindow();
    void LoadChartData();
    void showView(CompanionView view);
    void chooseChartKind(int kind);
    void ListColumnClick(int column);
    void ListRowClick(int displayRow);
    // Opens the Options dialog; after OK the captions are reloaded and the
    // logs compiled again, and in every case the chart is reloaded.
    void showOptions();
    void afterOptions(bool accepted);
    void setToolbarVisible(bool visible);
    void setStatusBarVisible(bool visible);
    // Writes the widths, the bars and the placement.
    void saveWindowSettings();

    CompanionView currentView() const { return m_view; }
    CompanionEngine& engine() { return m_engine; }
    MainActions* actions() const { return m_actions; }
    SideBar* sideBar() const { return m_sideBar; }
    QTreeWidget* TreeView1() const { return m_outline; }
    QPlainTextEdit* Report() const { return m_report; }
    QTreeView* List() const { return m_list; }
    ConnectionListModel* listModel() const { return m_model; }
    ChartPanel* Graphpanel() const { return m_chartPanel; }
    CompanionStatusBar* StatusBar() const { return m_status; }

    // CompanionObserver: what the compile run shows.
    void setBusy(bool busy) override;
    void compileStarted() override;
    void setStatusText(int panel, const QString& text) override;
    void setProgressVisible(bool visible) override;
    void setProgress(int percent) override;
    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    void openHelp(int context) override;
    std::optional<QString> askReportFileName(const SaveDialogRequest& request) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildViews();
    void connectCommands();
    void firstStart();
    void restoreWindowSettings();
    void restorePlacement();
    void recordProgramPath();
    void showResults();
    void showReport();
    void showChart();
    void showAbout();

    CompanionServices m_services;
    Settings m_settings;
    CompanionEngine m_engine;
    ConnectionSorter m_sorter;
    MainWindowSettings m_windowSettings;
    CompanionView m_view = CompanionView::Outline;

    MainActions* m_actions = nullptr;
    SideBar* m_sideBar = nullptr;
    QStackedWidget* m_views = nullptr;
    QTreeWidget* m_outline = nullptr;
    QPlainTextEdit* m_report = nullptr;
    QTreeView* m_list = nullptr;
    ConnectionListModel* m_model = nullptr;
    ChartPanel* m_chartPanel = nullptr;
    CompanionStatusBar* m_status = nullptr;
    bool m_busy = false;
    bool m_closeAfterCompile = false;
};
