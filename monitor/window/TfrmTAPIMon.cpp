#include "TfrmTAPIMon.h"

#include "ElidedLabel.h"
#include "EventPictures.h"
#include "PromptDialog.h"
#include "SoundPlayer.h"
#include "TrayHint.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {
constexpr int kPictureSize = 32;
constexpr int kDesignWidth = 320;
constexpr int kToolbarIconSize = 16;
} // namespace

TfrmTAPIMon::TfrmTAPIMon(CommandHandler onCommand, WheelHandler onWheel, SoundPlayer& sound)
    : m_onCommand(std::move(onCommand)), m_onWheel(std::move(onWheel)), m_sound(sound) {
    setObjectName(QStringLiteral("TfrmTAPIMon"));
    setWindowTitle(QStringLiteral("Tollwatch"));
    setWindowIcon(EventPictures::icon(EventKind::Information));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    m_menus = std::make_unique<MainMenus>(*this, m_onCommand);
    const QStyle* s = style();
    m_menus->action(QStringLiteral("ToolbarButton973"))
        ->setIcon(EventPictures::icon(EventKind::Progress));
    m_menus->action(QStringLiteral("ToolbarButton975"))
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    m_menus->action(QStringLiteral("toolMailClient"))
        ->setIcon(EventPictures::icon(EventKind::NewMail));
    m_menus->action(QStringLiteral("ToolbarButton972"))
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_menus->action(QStringLiteral("ToolbarButton971"))
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogInfoView));
    m_menus->toolbar()->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    setCentralWidget(buildCentral());
    buildTray();
    resize(kDesignWidth, int(logicalDpiY() * 0.01 * 254));
}

TfrmTAPIMon::~TfrmTAPIMon() = default;

QWidget* TfrmTAPIMon::buildCentral() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(5, 3, 5, 3);
    layout->setSpacing(3);
    auto* top = new QHBoxLayout;
    m_imgStatus = new QLabel(central);
    m_imgStatus->setObjectName(QStringLiteral("imgStatus"));
    m_imgStatus->setFixedSize(kPictureSize, kPictureSize);
    top->addWidget(m_imgStatus, 0, Qt::AlignTop);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(0);
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = new ElidedLabel(central);
        m_labels[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        lines->addWidget(m_labels[i]);
    }
    lines->addStretch();
    top->addLayout(lines, 1);
    layout->addLayout(top);
    layout->addWidget(buildDetails(central), 1);
    // Takes the room below the status lines while the details are hidden,
    // so a taller window keeps its lines at the top.
    layout->addStretch(0);
    return central;
}

QWidget* TfrmTAPIMon::buildDetails(QWidget* parent) {
    m_details = new QWidget(parent);
    m_details->setObjectName(QStringLiteral("details"));
    auto* layout = new QVBoxLayout(m_details);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    // The mail log lies over the event list, in the same place and size.
    m_historyArea = new QWidget(m_details);
    auto* overlay = new QGridLayout(m_historyArea);
    overlay->setContentsMargins(0, 0, 0, 0);
    m_listHistoria = new QTreeWidget(m_historyArea);
    m_listHistoria->setObjectName(QStringLiteral("listHistoria"));
    m_listHistoria->setColumnCount(2);
    m_listHistoria->setHeaderLabels({QStringLiteral("Event"), QStringLiteral("Time")});
    m_listHistoria->setRootIsDecorated(false);
    m_listHistoria->setIconSize(QSize(16, 16));
    m_listHistoria->setSelectionMode(QAbstractItemView::NoSelection);
    m_listHistoria->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listHistoria->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The Event column takes whatever the Time column does not need.
    QHeaderView* header = m_listHistoria->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    overlay->addWidget(m_listHistoria, 0, 0);
    m_memoMailLog = new QPlainTextEdit(m_historyArea);
    m_memoMailLog->setObjectName(QStringLiteral("memoMailLog"));
    m_memoMailLog->setReadOnly(true);
    m_memoMailLog->hide();
    overlay->addWidget(m_memoMailLog, 0, 0);
    layout->addWidget(m_historyArea, 1);
    m_lblXfer = new ElidedLabel(m_details);
    m_lblXfer->setObjectName(QStringLiteral("lblXfer"));
    layout->addWidget(m_lblXfer);
    return m_details;
}

void TfrmTAPIMon::buildTray() {
    m_tray = new QSystemTrayIcon(EventPictures::icon(EventKind::Information), this);
    m_tray->setObjectName(QStringLiteral("TrayIcon1"));
    m_tray->setContextMenu(m_menus->trayMenu());
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    m_onCommand(QStringLiteral("TrayConn"));
                else if (reason == QSystemTrayIcon::DoubleClick)
                    m_onCommand(QStringLiteral("TrayIcon1Click"));
            });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_tray->show();
}

ElidedLabel* TfrmTAPIMon::statusLine(int line) const {
    return (line >= 1 && line <= 3) ? m_labels[line - 1] : nullptr;
}

void TfrmTAPIMon::setPictures(EventKind kind) {
    const QIcon icon = EventPictures::icon(kind);
    m_tray->setIcon(icon);
    m_imgStatus->setPixmap(icon.pixmap(kPictureSize, kPictureSize));
}

void TfrmTAPIMon::addHistoryRow(const QString& text, const QString& time, EventKind kind) {
    auto* row = new QTreeWidgetItem(m_listHistoria, {text, time});
    row->setIcon(0, EventPictures::icon(kind));
    // A long event is cut at the column's edge; the whole text is one hover away.
    row->setToolTip(0, text);
    m_listHistoria->scrollToItem(row);
}

void TfrmTAPIMon::setStatusLine(int line, const QString& text) {
    if (ElidedLabel* label = statusLine(line))
        label->setText(text);
}

void TfrmTAPIMon::setStatusLineVisible(int line, bool visible) {
    if (ElidedLabel* label = statusLine(line))
        label->setVisible(visible);
}

void TfrmTAPIMon::setTrayHint(const QString& text) {
    m_tray->setToolTip(fitTrayHint(text));
}

void TfrmTAPIMon::setApplicationTitle(const QString& text) {
    QApplication::setApplicationDisplayName(text);
    setWindowTitle(text);
}

void TfrmTAPIMon::setXferText(const QString& text) {
    m_lblXfer->setText(text);
}

void TfrmTAPIMon::setXferVisible(bool visible) {
    m_lblXfer->setVisible(visible);
}

void TfrmTAPIMon::setXferEnabled(bool enabled) {
    m_lblXfer->setEnabled(enabled);
}

void TfrmTAPIMon::setCommandCaption(const QString& name, const QString& caption) {
    if (name == QLatin1String("listHistoria.Event") || name == QLatin1String("listHistoria.Time")) {
        m_listHistoria->headerItem()->setText(name.endsWith(QLatin1String("Event")) ? 0 : 1,
                                              caption);
    } else if (QMenu* menu = m_menus->menu(name)) {
        menu->setTitle(caption);
    } else if (QAction* action = m_menus->action(name)) {
        action->setText(caption);
    }
}

void TfrmTAPIMon::setCommandEnabled(const QString& name, bool enabled) {
    if (QAction* action = m_menus->action(name))
        action->setEnabled(enabled);
}

void TfrmTAPIMon::setCommandVisible(const QString& name, bool visible) {
    if (QAction* action = m_menus->action(name))
        action->setVisible(visible);
}

void TfrmTAPIMon::setCommandItems(const QString& menuName, const QStringList& entries) {
    m_menus->setItems(menuName, entries);
}

void TfrmTAPIMon::setLanguage(int languageOffset) {
    if (m_onLanguage)
        m_onLanguage(languageOffset);
}

BoxAnswer TfrmTAPIMon::messageBox(const QString& caption, const QString& text, BoxButtons buttons,
                                  BoxIcon icon, BoxAnswer defaultAnswer) {
    static const QHash<int, QMessageBox::StandardButtons> kButtons = {
        {int(BoxButtons::Ok), QMessageBox::Ok},
        {int(BoxButtons::OkCancel), QMessageBox::Ok | QMessageBox::Cancel},
        {int(BoxButtons::YesNo), QMessageBox::Yes | QMessageBox::No},
        {int(BoxButtons::YesNoCancel), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel}};
    static const QHash<int, QMessageBox::Icon> kIcons = {
        {int(BoxIcon::None), QMessageBox::NoIcon},
        {int(BoxIcon::Information), QMessageBox::Information},
        {int(BoxIcon::Warning), QMessageBox::Warning},
        {int(BoxIcon::Error), QMessageBox::Critical},
        {int(BoxIcon::Question), QMessageBox::Question}};
    static const QHash<int, QMessageBox::StandardButton> kAnswers = {
        {int(BoxAnswer::Ok), QMessageBox::Ok},
        {int(BoxAnswer::Cancel), QMessageBox::Cancel},
        {int(BoxAnswer::Yes), QMessageBox::Yes},
        {int(BoxAnswer::No), QMessageBox::No}};
    QMessageBox box(kIcons.value(int(icon)), caption, text, kButtons.value(int(buttons)),
                    isVisible() ? this : nullptr);
    box.setDefaultButton(kAnswers.value(int(defaultAnswer)));
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const int result = box.exec();
    for (auto it = kAnswers.constBegin(); it != kAnswers.constEnd(); ++it)
        if (it.value() == result)
            return BoxAnswer(it.key());
    return defaultAnswer;
}

std::optional<QStringList> TfrmTAPIMon::prompt(const QString& caption, const QStringList& labels,
                                               const QStringList& initial,
                                               const QList<int>& passwordFields) {
    PromptDialog dialog(caption, labels, initial, passwordFields, isVisible() ? this : nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.values();
}

void TfrmTAPIMon::openDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TfrmTAPIMon::beep(BeepKind) {
    QApplication::beep();
}

void TfrmTAPIMon::playSound(const QString& file) {
    m_sound.play(file);
}

QRect TfrmTAPIMon::frameGeometry() const {
    return QRect(pos(), size());
}

QSize TfrmTAPIMon::screenSize() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->size() : QSize(1024, 768);
}

bool TfrmTAPIMon::historyVisible() const {
    return !m_details->isHidden();
}

void TfrmTAPIMon::setFrameSize(int width, int height) {
    m_requestedSize = QSize(width, height);
    resize(width, height);
}

void TfrmTAPIMon::setHistoryVisible(bool visible) {
    m_details->setVisible(visible);
    // The window's least height follows the details only once its layout is
    // activated; until then a compact height asked for would be refused.
    centralWidget()->layout()->activate();
    centralWidget()->updateGeometry();
    layout()->activate();
    if (m_requestedSize.isValid())
        resize(m_requestedSize);
}

void TfrmTAPIMon::setHistoryHeight(int height) {
    // The layout gives the list the room the window leaves; this is its least.
    m_listHistoria->setMinimumHeight(qMin(height, m_listHistoria->minimumSizeHint().height()));
}

bool TfrmTAPIMon::toolbarVisible() const {
    return !m_menus->toolbar()->isHidden();
}

void TfrmTAPIMon::setToolbarVisible(bool visible) {
    m_menus->toolbar()->setVisible(visible);
}

void TfrmTAPIMon::setCommandChecked(const QString& name, bool checked) {
    if (QAction* action = m_menus->action(name))
        action->setChecked(checked);
}

bool TfrmTAPIMon::commandChecked(const QString& name) const {
    const QAction* action = m_menus->action(name);
    return action && action->isChecked();
}

void TfrmTAPIMon::setCommandHint(const QString& name, const QString& hint) {
    if (QAction* action = m_menus->action(name))
        action->setToolTip(hint);
}

void TfrmTAPIMon::setTrayDefaultCommand(const QString& name) {
    m_menus->trayMenu()->setDefaultAction(m_menus->action(name));
}

void TfrmTAPIMon::setStayOnTop(bool onTop) {
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing the flags hides the window; it comes back where it was.
    if (shown)
        show();
}

void TfrmTAPIMon::restoreWindow() {
    showNormal();
    raise();
    activateWindow();
}

void TfrmTAPIMon::hideToTray() {
    // Without a tray there is no icon to come back by: the window is only
    // minimised then.
    if (QSystemTrayIcon::isSystemTrayAvailable() && m_tray->isVisible())
        hide();
    else
        showMinimized();
}

void TfrmTAPIMon::processPendingEvents() {
    QCoreApplication::processEvents();
}

void TfrmTAPIMon::closeEvent(QCloseEvent* event) {
    event->ignore();
    m_onCommand(QStringLiteral("FormClose"));
}

void TfrmTAPIMon::wheelEvent(QWheelEvent* event) {
    // Reaches the window only where no child scrolls (the history list does).
    m_onWheel(event->angleDelta().y());
    event->accept();
}
