#pragma once
// The status window's menus, its tray menu and its toolbar, every item an
// action under its design name ("Exit1", "Dialdart2", "ToolbarButton972").

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

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
    // Replaces the entry items of the submenu menuName, ahead of its hidden
    // placeholder; each item is an action named commandItemName(menuName, entry).
    void setItems(const QString& menuName, const QStringList& entries);

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
    // The entry items setItems made, per submenu.
    QHash<QString, QList<QAction*>> m_items;
    QMenu* m_trayMenu = nullptr;
    QToolBar* m_toolbar = nullptr;
};
