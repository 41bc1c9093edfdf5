#pragma once
// The status window's menus, its tray menu and its toolbar, every item an
// action under its design name ("Exit1", "Dialdart2", "ToolbarButton972").

#include <QHash>
#include <QString>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

class MainMenus {
public:
    // onCommand is called with the design name of every item used.
    MainMenus(QMainWindow& window, std::function<void(const QString&)> onCommand);

    // nullptr for an unknown name.
    QAction* action(const QString& name) const { return m_actions.value(name, nullptr); }
    QMenu* menu(const QString& name) const { return m_menus.value(name, nullptr); }
    QMenu* trayMenu() const { return m_trayMenu; }
    QToolBar* toolbar() const { return m_toolbar; }

private:
    QAction* add(QMenu* menu, const QString& name, bool checkable = false);
    QMenu* submenu(QMenu* parent, const QString& name);
    void buildFileMenu(QMenu* file);
    void buildConnectMenu(QMenu* connect);
    void buildHelpMenu(QMenu* help);
    void buildTrayMenu();
    void buildToolbar(QMainWindow& window);

    std::function<void(const QString&)> m_onCommand;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QMenu* m_trayMenu = nullptr;
    QToolBar* m_toolbar = nullptr;
};
