#include "TfrmMain.h"

#include "ChartPanel.h"
#include "CompanionIcons.h"
#include "CompanionStartup.h"
#include "CompanionStatusBar.h"
#include "ConnectionListModel.h"
#include "MainActions.h"
#include "ReportWheel.h"
#include "RowSummary.h"
#include "SideBar.h"
#include "TfrmSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeView>
#include <QTreeWidget>

namespace {
const QString kCaption = QStringLiteral("Tollwatch Companion");
// The longest a compile step waits for a file before the window repaints.
constexpr int kCompileStepMs = 25;
} // namespace

TfrmMain::TfrmMain(const CompanionServices& services, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_settings(services.store),
      m_engine(services.store, services.clock, services.formats, *this),
      m_sorter(services.formats, services.collation), m_windowSettings(m_settings) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(CompanionIcons::chart());
    m_actions = new MainActions(this);
    m_status = new CompanionStatusBar(this);
    setStatusBar(m_status);
    buildViews();
    connectCommands();
    showView(CompanionView::Outline);
    resize(760, 520);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::buildViews() {
    auto* splitter = new QSplitter(this);
    m_sideBar = new SideBar(splitter);
    m_views = new QStackedWidget(splitter);
    m_outline = new QTreeWidget(m_views);
    m_outline->setObjectName(QStringLiteral("TreeView1"));
    m_outline->setHeaderHidden(true);
    m_report = new QPlainTextEdit(m_views);
    m_report->setObjectName(QStringLiteral("Report"));
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    new ReportWheel(m_report);
    m_list = new QTreeView(m_views);
    m_list->setObjectName(QStringLiteral("List"));
    m_model = new ConnectionListModel(m_list);
    m_model->setIcon(CompanionIcons::connection());
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(QSize(16, 16));
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);
    m_chartPanel = new ChartPanel(m_views);
    for (QWidget* w : {static_cast<QWidget*>(m_outline), static_cast<QWidget*>(m_report),
                       static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_chartPanel)})
        m_views->addWidget(w);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({118, 642});
    setCentralWidget(splitter);
}

void TfrmMain::connectCommands() {
    MainActions* a = m_actions;
    connect(a, &MainActions::viewChosen, this, &TfrmMain::showView);
    connect(m_sideBar, &SideBar::viewChosen, this, &TfrmMain::showView);
    connect(a, &MainActions::chartKindChosen, this, &TfrmMain::chooseChartKind);
    connect(a->compile, &QAction::triggered, this, &TfrmMain::UpdateListWindow);
    connect(a->save, &QAction::triggered, this,
            [this] { m_engine.SaveReport(m_report->toPlainText().split(QLatin1Char('\n'))); });
    connect(a->print, &QAction::triggered, this, [this] {
        m_engine.PrintReport(m_report->toPlainText().split(QLatin1Char('\n')), m_services.printer);
    });
    connect(a->exit, &QAction::triggered, this, &QWidget::close);
    connect(a->mainToolbar, &QAction::triggered, this, &TfrmMain::setToolbarVisible);
    connect(a->statusBar, &QAction::triggered, this, &TfrmMain::setStatusBarVisible);
    connect(a->viewMenu(), &QMenu::aboutToShow, this, [this] {
        m_actions->markBars(!m_actions->toolbar()->isHidden(), !m_status->isHidden());
    });
    connect(a->options, &QAction::triggered, this, &TfrmMain::showOptions);
    connect(a->helpIndex, &QAction::triggered, this,
            [this] { m_services.help.showContents(m_engine.strings().languageIndex()); });
    connect(a->about, &QAction::triggered, this, &TfrmMain::showAbout);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &TfrmMain::ListColumnClick);
    connect(m_list, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { ListRowClick(index.row()); });
}

void TfrmMain::LoadCaptions() {
    const CompanionStrings& s = m_engine.strings();
    setWindowTitle(kCaption);
    m_actions->retranslate(s);
    m_sideBar->retranslate(s);
    QStringList columns;
    for (int id = 2050; id <= 2110; id += 10)
        columns << s.IntlStr(id);
    m_model->setCaptions(columns);
}

void TfrmMain::FormCreate() {
    LoadCaptions();
    firstStart();
    restoreWindowSettings();
    // Shown before the first compile run so that its progress can be seen.
    show();
    UpdateListWindow();
    recordProgramPath();
    m_engine.setChartKind(ChartKind::CostMonthly);
}

void TfrmMain::firstStart() {
    if (!CompanionStartup::isFirstStart(m_services.store))
        return;
    const CompanionStrings& s = m_engine.strings();
    showMessage({kCaption, s.IntlStr(1130) + QLatin1Char('\n') + s.IntlStr(1140),
                 MessageIcon::Information, MessageButtons::Ok, false});
    try {
        CompanionStartup::seedFirstLogFile(m_services.store);
    } catch (const RegistryError& e) {
        showMessage({kCaption, QString::fromStdString(e.what()), MessageIcon::Warning,
                     MessageButtons::Ok, false});
    }
}

void TfrmMain::restoreWindowSettings() {
    const auto widths = m_windowSettings.columnWidths();
    for (int c = 0; c < MainWindowSettings::kColumns; ++c)
        m_list->header()->resizeSection(c, widths[size_t(c)]);
    setToolbarVisible(m_windowSettings.toolbarVisible());
    setStatusBarVisible(m_windowSettings.statusBarVisible());
    restorePlacement();
}

void TfrmMain::restorePlacement() {
    const auto placement = m_windowSettings.placement();
    if (!placement)
        return;
    QScreen* screen = QGuiApplication::screenAt(placement->geometry.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    setGeometry(MainWindowSettings::onScreen(placement->geometry, area));
    if (placement->state == WindowPlacement::Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmMain::recordProgramPath() {
    if (CompanionStartup::recordProgramPath(m_services.store, m_services.programFile))
        return;
    showMessage({kCaption,
                 QStringLiteral("Unable to store the Companion path to the Windows registry. "
                                "Tollwatch may not be able to access the Companion, even though "
                                "the program will run correctly."),
                 MessageIcon::Warning, MessageButtons::Ok, false});
}

void TfrmMain::saveWindowSettings() {
    std::array<int, MainWindowSettings::kColumns> widths{};
    for (int c = 0; c < MainWindowSettings::kColumns; ++c)
        widths[size_t(c)] = m_list->header()->sectionSize(c);
    WindowPlacement p;
    p.state = isMinimized()   ? WindowPlacement::Minimized
              : isMaximized() ? WindowPlacement::Maximized
                              : WindowPlacement::Normal;
    p.geometry = p.state == WindowPlacement::Normal ? geometry() : normalGeometry();
    try {
        m_windowSettings.saveAtClose(widths, !m_actions->toolbar()->isHidden(),
                                     !m_status->isHidden());
        if (p.geometry.isValid())
            m_windowSettings.savePlacement(p);
    } catch (const RegistryError&) {
        // Closing goes on: the next start falls back to the defaults.
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (m_engine.compiling()) {
        // Closed from outside while a run takes its steps: once it is over.
        m_closeAfterCompile = true;
        event->ignore();
        return;
    }
    saveWindowSettings();
    event->accept();
}

void TfrmMain::setToolbarVisible(bool visible) {
    m_actions->toolbar()->setVisible(visible);
    m_actions->markBars(visible, !m_status->isHidden());
}

void TfrmMain::setStatusBarVisible(bool visible) {
    m_status->setVisible(visible);
    m_actions->markBars(!m_actions->toolbar()->isHidden(), visible);
}

void TfrmMain::showView(CompanionView view) {
    if (view == CompanionView::Chart)
        LoadChartData();
    m_view = view;
    QWidget* shown[] = {m_outline, m_report, m_list, m_chartPanel};
    m_views->setCurrentWidget(shown[int(view)]);
    m_actions->markView(view);
    m_sideBar->markView(view);
}

void TfrmMain::chooseChartKind(int kind) {
    const auto k = ChartLines::kindFromNumber(kind);
    if (!k)
        return;
    m_engine.setChartKind(*k);
    showView(CompanionView::Chart);
}

void TfrmMain::UpdateListWindow() {
    if (m_engine.compiling())
        return; // a run is going on further up the stack
    m_engine.startCompile();
    // The files are read on worker threads; between the steps the window
    // repaints and its progress bar moves, and, as until the run is over,
    // it takes no input.
    while (!m_engine.compileStep(kCompileStepMs))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    showResults();
    if (m_closeAfterCompile)
        close();
}

void TfrmMain::showResults() {
    const ConnectionTable* rows = &m_engine.rows();
    m_model->setRows(
        rows->rowCount(), [rows](int row, int column) { return rows->text(row, column); },
        [rows](int row, int column, QByteArray& out) { rows->utf8(row, column, out); });
    showReport();
    showChart();
}

void TfrmMain::showReport() {
    const ReportText& report = m_engine.report();
    m_report->setPlainText(report.lines.join(QLatin1Char('\n')));
    m_report->moveCursor(QTextCursor::Start);
    m_report->ensureCursorVisible();
    m_outline->clear();
    if (report.outline.root.isEmpty())
        return;
    auto* root = new QTreeWidgetItem(m_outline, {report.outline.root});
    for (const ReportOutline::Section& section : report.outline.sections) {
        auto* node = new QTreeWidgetItem(root, {section.title});
        for (const QString& entry : section.entries)
            new QTreeWidgetItem(node, {entry});
    }
    root->setExpanded(true);
    m_outline->setCurrentItem(root);
}

void TfrmMain::LoadChartData() {
    m_engine.LoadChartData();
    showChart();
}

void TfrmMain::showChart() {
    const ChartData& chart = m_engine.chart();
    m_chartPanel->setTitles(chart.title, chart.subtitle);
    m_chartPanel->PieChart1()->Load(chart.lines);
}

void TfrmMain::ListColumnClick(int column) {
    const bool descending = m_sorter.nextClickDescending(column);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model->sortByClick(m_sorter, column);
    QApplication::restoreOverrideCursor();
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSortIndicator(column,
                                       descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TfrmMain::ListRowClick(int displayRow) {
    if (displayRow < 0 || displayRow >= m_model->rowCount())
        return;
    const auto text = RowSummary::text(m_model->text(displayRow, ConnectionTable::User),
                                       m_model->text(displayRow, ConnectionTable::ConnectedTo),
                                       m_model->text(displayRow, ConnectionTable::Length),
                                       m_model->text(displayRow, ConnectionTable::Cost),
                                       m_engine.strings(), m_services.formats);
    if (text)
        m_status->setPanelText(0, *text);
}

void TfrmMain::showOptions() {
    TfrmSettings dialog(m_settings, m_engine.strings(), m_services.formats, m_services.dialogs,
                        this);
    afterOptions(m_services.dialogs.exec(dialog) == QDialog::Accepted);
}

void TfrmMain::afterOptions(bool accepted) {
    if (accepted) {
        LoadCaptions();
        UpdateListWindow();
    }
    LoadChartData();
}

void TfrmMain::showAbout() {
    const QString version = QCoreApplication::applicationVersion();
    showMessage({kCaption,
                 (version.isEmpty() ? kCaption : kCaption + QLatin1Char(' ') + version) +
                     QStringLiteral("\n\nReads the Tollwatch connection logs and shows the "
                                    "connections, the usage report and its charts."),
                 MessageIcon::Information, MessageButtons::Ok, false});
}

void TfrmMain::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TfrmMain::compileStarted() {
    m_model->clear();
    // The new rows come in the files' order, whatever the last sort was.
    m_list->header()->setSortIndicatorShown(false);
    m_report->clear();
    m_outline->clear();
    m_status->setProgress(0);
    repaint();
}

void TfrmMain::setStatusText(int panel, const QString& text) {
    m_status->setPanelText(panel, text);
}

void TfrmMain::setProgressVisible(bool visible) {
    m_status->setProgressVisible(visible);
}

void TfrmMain::setProgress(int percent) {
    m_status->setProgress(percent);
}

MessageAnswer TfrmMain::showMessage(const MessageBoxRequest& request) {
    // A box during a compile run must not show the hourglass.
    const bool busy = m_busy;
    setBusy(false);
    const MessageAnswer answer = m_services.dialogs.showMessage(this, request);
    setBusy(busy);
    return answer;
}

void TfrmMain::openHelp(int context) {
    m_services.help.showContext(m_engine.strings().languageIndex(), context);
}

std::optional<QString> TfrmMain::askReportFileName(const SaveDialogRequest& request) {
    return m_services.dialogs.askReportFileName(this, request);
}
