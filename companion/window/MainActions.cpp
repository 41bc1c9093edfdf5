#include "MainActions.h"

#include "CompanionIcons.h"

#include <QMainWindow>
#include <QMenuBar>

namespace {
const char* const kKindNames[MainActions::kChartKinds] = {
    "Connectiontimeuser1",  "ConnectiontimeISP1", "Connectiontimemonthly1",
    "Connectioncostusers1", "ConnectioncostISP1", "Connectioncostmonthly1"};
} // namespace

MainActions::MainActions(QMainWindow* window) : QObject(window) {
    buildMenus(window);
    buildToolbar(window);
}

QAction* MainActions::add(QMenu* menu, const char* name, bool checkable) {
    QAction* a = menu->addAction(QString());
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    return a;
}

void MainActions::buildMenus(QMainWindow* window) {
    m_file = window->menuBar()->addMenu(QString());
    compile = add(m_file, "CompileReport1");
    compile->setShortcut(QKeySequence::Refresh);
    save = add(m_file, "SaveReport1");
    save->setShortcut(QKeySequence::Save);
    print = add(m_file, "Print1");
    print->setShortcut(QKeySequence::Print);
    m_file->addSeparator();
    exit = add(m_file, "Exit1");
    exit->setShortcut(QKeySequence::Quit);

    m_view = window->menuBar()->addMenu(QString());
    Lista1 = add(m_view, "Lista1", true);
    Reports1 = add(m_view, "Reports1", true);
    ConnectionList1 = add(m_view, "ConnectionList1", true);
    Chart1 = add(m_view, "Chart1", true);
    m_view->addSeparator();
    m_toolbars = m_view->addMenu(QString());
    mainToolbar = add(m_toolbars, "Main1", true);
    statusBar = add(m_toolbars, "StatusBar1", true);
    m_view->addSeparator();
    options = add(m_view, "Options1");

    m_help = window->menuBar()->addMenu(QString());
    helpIndex = add(m_help, "HelpIndex1");
    helpIndex->setShortcut(QKeySequence::HelpContents);
    about = add(m_help, "About1");

    connect(Lista1, &QAction::triggered, this, [this] { emit viewChosen(CompanionView::Outline); });
    connect(Reports1, &QAction::triggered, this,
            [this] { emit viewChosen(CompanionView::Report); });
    connect(ConnectionList1, &QAction::triggered, this,
            [this] { emit viewChosen(CompanionView::Connections); });
    connect(Chart1, &QAction::triggered, this, [this] { emit viewChosen(CompanionView::Chart); });
}

void MainActions::buildToolbar(QMainWindow* window) {
    m_toolbar = window->addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("MainToolbar"));
    m_toolbar->setMovable(false);
    m_toolOptions = m_toolbar->addAction(CompanionIcons::options(), QString());
    m_toolCompile = m_toolbar->addAction(CompanionIcons::compile(), QString());
    m_toolCompile->setObjectName(QStringLiteral("ToolbarButton975"));
    m_toolSave = m_toolbar->addAction(CompanionIcons::save(), QString());
    m_toolPrint = m_toolbar->addAction(CompanionIcons::print(), QString());
    connect(m_toolOptions, &QAction::triggered, options, &QAction::trigger);
    connect(m_toolCompile, &QAction::triggered, compile, &QAction::trigger);
    connect(m_toolSave, &QAction::triggered, save, &QAction::trigger);
    connect(m_toolPrint, &QAction::triggered, print, &QAction::trigger);

    m_kinds = new QMenu(window);
    m_kinds->setObjectName(QStringLiteral("PopupMenu1"));
    for (int k = 0; k < kChartKinds; ++k) {
        if (k == 3)
            m_kinds->addSeparator();
        chartKinds[size_t(k)] = add(m_kinds, kKindNames[k]);
        connect(chartKinds[size_t(k)], &QAction::triggered, this,
                [this, k] { emit chartKindChosen(k); });
    }
    m_toolGraph = new QToolButton(m_toolbar);
    m_toolGraph->setObjectName(QStringLiteral("toolGraph"));
    m_toolGraph->setIcon(CompanionIcons::chart());
    m_toolGraph->setCheckable(true);
    m_toolGraph->setMenu(m_kinds);
    m_toolGraph->setPopupMode(QToolButton::MenuButtonPopup);
    m_toolbar->addWidget(m_toolGraph);
    connect(m_toolGraph, &QToolButton::clicked, this,
            [this] { emit viewChosen(CompanionView::Chart); });
}

void MainActions::retranslate(const CompanionStrings& s) {
    m_file->setTitle(s.IntlStr(240));
    compile->setText(s.IntlStr(200));
    save->setText(s.IntlStr(210));
    print->setText(s.IntlStr(220));
    exit->setText(s.IntlStr(230));
    m_view->setTitle(s.IntlStr(250));
    Lista1->setText(s.IntlStr(7100));
    Reports1->setText(s.IntlStr(7070));
    ConnectionList1->setText(s.IntlStr(270));
    Chart1->setText(s.IntlStr(280));
    m_toolbars->setTitle(s.IntlStr(290));
    mainToolbar->setText(s.IntlStr(300));
    statusBar->setText(s.IntlStr(310));
    options->setText(s.IntlStr(320));
    m_help->setTitle(s.IntlStr(260));
    helpIndex->setText(s.IntlStr(330));
    about->setText(s.IntlStr(340));
    m_toolOptions->setText(s.IntlStr(3030));
    m_toolCompile->setText(s.IntlStr(3000));
    m_toolSave->setText(s.IntlStr(3010));
    m_toolPrint->setText(s.IntlStr(3020));
    m_toolGraph->setToolTip(s.IntlStr(3110));
    for (int k = 0; k < kChartKinds; ++k)
        chartKinds[size_t(k)]->setText(s.IntlStr(3050 + 10 * k));
}

void MainActions::markView(CompanionView view) {
    Lista1->setChecked(view == CompanionView::Outline);
    Reports1->setChecked(view == CompanionView::Report);
    ConnectionList1->setChecked(view == CompanionView::Connections);
    Chart1->setChecked(view == CompanionView::Chart);
    m_toolGraph->setChecked(view == CompanionView::Chart);
}

void MainActions::markBars(bool toolbar, bool status) {
    mainToolbar->setChecked(toolbar);
    statusBar->setChecked(status);
}
