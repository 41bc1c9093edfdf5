#include "MainMenus.h"

#include "MonitorView.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

MainMenus::MainMenus(QMainWindow& window, std::function<void(const QString&)> onCommand)
    : m_onCommand(std::move(onCommand)) {
    QMenuBar* bar = window.menuBar();
    QMenu* file = bar->addMenu(QString());
    m_menus.insert(QStringLiteral("File1"), file);
    buildFileMenu(file);
    QMenu* connect = bar->addMenu(QString());
    m_menus.insert(QStringLiteral("Connect1"), connect);
    buildConnectMenu(connect);
    QMenu* help = bar->addMenu(QString());
    m_menus.insert(QStringLiteral("Help1"), help);
    buildHelpMenu(help);
    m_trayMenu = new QMenu(&window);
    buildTrayMenu();
    buildToolbar(window);
}

QAction* MainMenus::add(QMenu* menu, const QString& name, bool checkable) {
    auto* action = new QAction(menu);
    action->setObjectName(name);
    action->setCheckable(checkable);
    // The command decides the check mark itself, so the toggle that Qt made
    // on the way is undone first.
    QObject::connect(action, &QAction::triggered, action, [this, name, action](bool checked) {
        if (action->isCheckable())
            action->setChecked(!checked);
        m_onCommand(name);
    });
    if (menu)
        menu->addAction(action);
    m_actions.insert(name, action);
    return action;
}

QMenu* MainMenus::submenu(QMenu* parent, const QString& name) {
    QMenu* menu = parent->addMenu(QString());
    menu->setObjectName(name);
    m_menus.insert(name, menu);
    // The submenu's own entry carries its caption and enabled state.
    m_actions.insert(name, menu->menuAction());
    return menu;
}

void MainMenus::buildFileMenu(QMenu* file) {
    QMenu* view = submenu(file, QStringLiteral("View1"));
    add(view, QStringLiteral("Details1"), true)->setShortcut(QKeySequence(Qt::Key_Escape));
    add(view, QStringLiteral("Toolbar1"), true);
    add(view, QStringLiteral("Ontop1"), true);
    view->addSeparator();
    add(view, QStringLiteral("Viewlog1"));
    add(view, QStringLiteral("Maillog1"), true);
    add(file, QStringLiteral("Properties1"));
    file->addSeparator();
    add(file, QStringLiteral("mnuReadMail"))->setVisible(false);
    QAction* mailSeparator = file->addSeparator();
    mailSeparator->setVisible(false);
    m_actions.insert(QStringLiteral("N6"), mailSeparator);
    add(file, QStringLiteral("Companion1"));
    add(file, QStringLiteral("Wizard1"));
    file->addSeparator();
    add(file, QStringLiteral("Exit1"));
}

void MainMenus::buildConnectMenu(QMenu* connect) {
    add(connect, QStringLiteral("Dialdart1"))->setShortcut(QKeySequence(Qt::Key_F5));
    QMenu* entries = submenu(connect, QStringLiteral("Connect2"));
    add(entries, QStringLiteral("RunOnly"))->setVisible(false);
    add(connect, QStringLiteral("Disconnect1"))->setEnabled(false);
    connect->addSeparator();
    add(connect, QStringLiteral("Properties2"));
}

void MainMenus::buildHelpMenu(QMenu* help) {
    add(help, QStringLiteral("Helpcontents1"))->setShortcut(QKeySequence(Qt::Key_F1));
    add(help, QStringLiteral("UpdateCentral1"));
    QMenu* www = submenu(help, QStringLiteral("WWW1"));
    add(www, QStringLiteral("Homepage1"));
    add(www, QStringLiteral("Support1"));
    add(www, QStringLiteral("HDef1"));
    www->addSeparator();
    add(www, QStringLiteral("VarnholtHome1"));
    help->addSeparator();
    add(help, QStringLiteral("About1"));
}

void MainMenus::buildTrayMenu() {
    QMenu* t = m_trayMenu;
    add(t, QStringLiteral("Dialdart2"));
    QMenu* entries = submenu(t, QStringLiteral("Connectusing1"));
    add(entries, QStringLiteral("ConnectUsing"))->setVisible(false);
    add(t, QStringLiteral("Disconnect2"))->setEnabled(false);
    t->addSeparator();
    add(t, QStringLiteral("Open1"));
    add(t, QStringLiteral("Readmail"))->setVisible(false);
    add(t, QStringLiteral("Companion2"));
    add(t, QStringLiteral("Wizard2"));
    add(t, QStringLiteral("Properties3"));
    t->addSeparator();
    add(t, QStringLiteral("Helpindex1"));
    add(t, QStringLiteral("About2"));
    t->addSeparator();
    add(t, QStringLiteral("Exit2"));
}

void MainMenus::buildToolbar(QMainWindow& window) {
    m_toolbar = window.addToolBar(QStringLiteral("MainToolbar"));
    m_toolbar->setObjectName(QStringLiteral("MainToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setContextMenuPolicy(Qt::CustomContextMenu);
    for (const char* name : {"ToolbarButton973", "ToolbarButton975", "toolMailClient"})
        m_toolbar->addAction(add(nullptr, QString::fromLatin1(name)));
    m_actions.value(QStringLiteral("toolMailClient"))->setVisible(false);
    m_toolbar->addSeparator();
    m_toolbar->addAction(add(nullptr, QStringLiteral("ToolbarButton972")));
    m_toolbar->addAction(add(nullptr, QStringLiteral("ToolbarButton971")));
    auto* toolbarC = new QMenu(m_toolbar);
    add(toolbarC, QStringLiteral("Toolbar2"), true);
    add(toolbarC, QStringLiteral("Details2"), true);
    QObject::connect(
        m_toolbar, &QToolBar::customContextMenuRequested, toolbarC,
        [this, toolbarC](const QPoint& at) { toolbarC->popup(m_toolbar->mapToGlobal(at)); });
}

void MainMenus::setItems(const QString& menuName, const QStringList& entries) {
    QMenu* menu = m_menus.value(menuName, nullptr);
    if (!menu)
        return;
    for (QAction* old : m_items.take(menuName)) {
        m_actions.remove(old->objectName());
        delete old;
    }
    // What is left is the placeholder; the entries go ahead of it.
    QAction* placeholder = menu->actions().value(0, nullptr);
    QList<QAction*>& items = m_items[menuName];
    for (const QString& entry : entries) {
        QAction* action = add(nullptr, commandItemName(menuName, entry));
        action->setParent(menu);
        // An ampersand in an entry name is shown, not taken for a shortcut key.
        action->setText(QString(entry).replace(QLatin1Char('&'), QStringLiteral("&&")));
        menu->insertAction(placeholder, action);
        items.append(action);
    }
}
