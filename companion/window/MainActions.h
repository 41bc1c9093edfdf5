#pragma once
// The main window's commands: the File, View and Help menus, the main
// toolbar with the chart button (`toolGraph`) and its drop-down of the six
// chart kinds (`PopupMenu1`), and their captions and hints.

#include "CompanionStrings.h"
#include "CompanionView.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <array>

class QMainWindow;

class MainActions : public QObject {
    Q_OBJECT

public:
    static constexpr int kChartKinds = 6;

    explicit MainActions(QMainWindow* window);

    // Every caption and hint in the current language.
    void retranslate(const CompanionStrings& strings);
    // Only the chosen view's menu item is checked; the chart button is down
    // only for the chart.
    void markView(CompanionView view);
    // The "&Main" and "&Status bar" check marks.
    void markBars(bool toolbar, bool statusBar);

    QToolBar* toolbar() const { return m_toolbar; }
    QToolButton* toolGraph() const { return m_toolGraph; }
    QMenu* viewMenu() const { return m_view; }
    QMenu* PopupMenu1() const { return m_kinds; }

    QAction* compile = nullptr;
    QAction* save = nullptr;
    QAction* print = nullptr;
    QAction* exit = nullptr;
    QAction* Lista1 = nullptr;
    QAction* Reports1 = nullptr;
    QAction* ConnectionList1 = nullptr;
    QAction* Chart1 = nullptr;
    QAction* mainToolbar = nullptr;
    QAction* statusBar = nullptr;
    QAction* options = nullptr;
    QAction* helpIndex = nullptr;
    QAction* about = nullptr;
    std::array<QAction*, kChartKinds> chartKinds{};

signals:
    void viewChosen(CompanionView view);
    void chartKindChosen(int kind);

private:
    QAction* add(QMenu* menu, const char* name, bool checkable = false);
    void buildMenus(QMainWindow* window);
    void buildToolbar(QMainWindow* window);

    QMenu* m_file = nullptr;
    QMenu* m_view = nullptr;
    QMenu* m_toolbars = nullptr;
    QMenu* m_help = nullptr;
    QMenu* m_kinds = nullptr;
    QToolBar* m_toolbar = nullptr;
    QToolButton* m_toolGraph = nullptr;
    // The toolbar's own copies of the commands, which carry the hints.
    QAction* m_toolOptions = nullptr;
    QAction* m_toolCompile = nullptr;
    QAction* m_toolSave = nullptr;
    QAction* m_toolPrint = nullptr;
};
