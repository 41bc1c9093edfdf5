#include "TfrmSettings.h"

#include "DosPath.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileIconProvider>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

TfrmSettings::TfrmSettings(Settings& settings, const CompanionStrings& mainStrings,
                           const FormatSettings& fmt, DialogPresenter& dialogs, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_strings(settings, mainStrings),
      m_logic(settings, DosPathMapper::fromStore(settings.store()), fmt), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmSettings"));
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->addTab(buildReportsPage(), QString());
    m_pages->addTab(buildLogFilesPage(), QString());
    layout->addWidget(m_pages);
    buildButtons();
    LoadCaptions();
    for (const LogFileRow& row : m_logic.loadRows())
        appendRow(row);
    loadValues();
    resize(560, 400);
}

QWidget* TfrmSettings::buildReportsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_folderGroup = new QGroupBox(page);
    auto* folder = new QGridLayout(m_folderGroup);
    m_folderLabel = new QLabel(m_folderGroup);
    m_edit2 = new QLineEdit(m_folderGroup);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_folderLabel->setBuddy(m_edit2);
    m_change = new QPushButton(m_folderGroup);
    folder->addWidget(m_folderLabel, 0, 0, 1, 2);
    folder->addWidget(m_edit2, 1, 0);
    folder->addWidget(m_change, 1, 1);
    m_ask = new QCheckBox(page);
    m_purgeGroup = new QGroupBox(page);
    auto* purge = new QHBoxLayout(m_purgeGroup);
    m_purge = new QCheckBox(m_purgeGroup);
    m_edit1 = new QSpinBox(m_purgeGroup);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setRange(1, 12);
    m_months = new QLabel(m_purgeGroup);
    purge->addWidget(m_purge);
    purge->addWidget(m_edit1);
    purge->addWidget(m_months);
    purge->addStretch(1);
    layout->addWidget(m_folderGroup);
    layout->addWidget(m_ask);
    layout->addWidget(m_purgeGroup);
    layout->addStretch(1);
    connect(m_change, &QPushButton::clicked, this, &TfrmSettings::ChangeClick);
    connect(m_edit2, &QLineEdit::textEdited, this, &TfrmSettings::changed);
    connect(m_edit1, &QSpinBox::valueChanged, this, [this] {
        m_purgeAfterEdited = true;
        changed();
    });
    connect(m_ask, &QCheckBox::clicked, this, &TfrmSettings::changed);
    connect(m_purge, &QCheckBox::clicked, this, &TfrmSettings::changed);
    return page;
}

QWidget* TfrmSettings::buildLogFilesPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    m_filesLabel = new QLabel(page);
    m_iconsButton = new QToolButton(page);
    m_iconsButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogListView));
    m_detailsButton = new QToolButton(page);
    m_detailsButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    top->addWidget(m_filesLabel, 1);
    top->addWidget(m_iconsButton);
    top->addWidget(m_detailsButton);
    m_files = new QStandardItemModel(0, 4, page);
    m_details = new QTreeView(page);
    m_details->setObjectName(QStringLiteral("LogList"));
    m_details->setModel(m_files);
    m_details->setRootIsDecorated(false);
    m_details->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_details->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_icons = new QListView(page);
    m_icons->setModel(m_files);
    m_icons->setSelectionModel(m_details->selectionModel());
    m_icons->setViewMode(QListView::ListMode);
    m_icons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_icons->hide();
    m_removeMenu = new QAction(this);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_details), static_cast<QAbstractItemView*>(m_icons)}) {
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        view->addAction(m_removeMenu);
    }
    auto* buttons = new QHBoxLayout;
    m_add = new QPushButton(page);
    m_remove = new QPushButton(page);
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    layout->addLayout(top);
    layout->addWidget(m_details, 1);
    layout->addWidget(m_icons, 1);
    layout->addLayout(buttons);
    connect(m_add, &QPushButton::clicked, this, &TfrmSettings::AddClick);
    connect(m_remove, &QPushButton::clicked, this, &TfrmSettings::RemoveClick);
    connect(m_removeMenu, &QAction::triggered, this, &TfrmSettings::RemoveClick);
    connect(m_iconsButton, &QToolButton::clicked, this, [this] { showDetails(false); });
    connect(m_detailsButton, &QToolButton::clicked, this, [this] { showDetails(true); });
    return page;
}

void TfrmSettings::buildButtons() {
    auto* row = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_apply = new QPushButton(this);
    row->addStretch(1);
    row->addWidget(m_ok);
    row->addWidget(m_cancel);
    row->addWidget(m_apply);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(m_ok, &QPushButton::clicked, this, &TfrmSettings::OkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] { ApplyClick(); });
}

void TfrmSettings::LoadCaptions() {
    const OptionsStrings& s = m_strings;
    setWindowTitle(s.IntlStr(3030));
    m_pages->setTabText(0, s.IntlStr(4000));
    m_pages->setTabText(1, s.IntlStr(4010));
    m_folderGroup->setTitle(s.IntlStr(4030));
    m_folderLabel->setText(s.IntlStr(4040));
    m_change->setText(s.IntlStr(4050));
    m_ask->setText(s.IntlStr(4060));
    m_purgeGroup->setTitle(s.IntlStr(4070));
    m_purge->setText(s.IntlStr(4080));
    m_months->setText(s.IntlStr(4090));
    m_filesLabel->setText(s.IntlStr(4100));
    m_add->setText(s.IntlStr(4110));
    m_remove->setText(s.IntlStr(4120));
    m_removeMenu->setText(s.IntlStr(4120));
    m_files->setHorizontalHeaderLabels(
        {s.IntlStr(4160), s.IntlStr(4170), s.IntlStr(4180), s.IntlStr(4190)});
    m_cancel->setText(s.IntlStr(4200));
    m_apply->setText(s.IntlStr(4210));
}

void TfrmSettings::loadValues() {
    const OptionsValues v = m_logic.loadValues();
    m_edit2->setText(v.reportPath);
    bool ok = false;
    const int months = v.purgeAfter.trimmed().toInt(&ok);
    m_edit1->setValue(ok ? months : 6);
    m_purge->setChecked(v.purge);
    m_ask->setChecked(v.askForReportName);
    m_storedPurgeAfter = v.purgeAfter;
    m_purgeAfterEdited = false;
    m_apply->setEnabled(false);
}

void TfrmSettings::appendRow(const LogFileRow& row) {
    m_rows.push_back(row);
    const QFileIconProvider icons;
    auto* name = new QStandardItem(icons.icon(QFileIconProvider::File), row.name);
    name->setToolTip(row.path);
    auto* size = new QStandardItem(row.size);
    size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_files->appendRow(
        {name, new QStandardItem(row.location), new QStandardItem(row.lastUpdated), size});
    for (int column = 0; column < 3; ++column)
        m_details->resizeColumnToContents(column);
}

int TfrmSettings::selectedRow() const {
    const QModelIndexList rows = m_details->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TfrmSettings::changed() {
    m_apply->setEnabled(true);
}

void TfrmSettings::showDetails(bool details) {
    m_details->setVisible(details);
    m_icons->setVisible(!details);
}

void TfrmSettings::ChangeClick() {
    const auto folder = m_dialogs.chooseFolder(
        this, QStringLiteral("Select the folder you would like to store reports in:"), QString());
    if (!folder)
        return;
    const QString native = QDir::toNativeSeparators(*folder);
    m_edit2->setText(native);
    m_logic.storeReportPath(native);
}

void TfrmSettings::AddClick() {
    const auto file = m_dialogs.chooseLogFile(this, m_logic.lastLogFolder());
    if (!file)
        return;
    // Only the controls of the "Reports" page enable "&Apply"; OK writes the list too.
    appendRow(m_logic.addFile(*file));
}

void TfrmSettings::RemoveClick() {
    const int row = selectedRow();
    if (row < 0 || row >= int(m_rows.size()))
        return;
    m_rows.erase(m_rows.begin() + row);
    m_files->removeRow(row);
}

bool TfrmSettings::ApplyClick() {
    OptionsValues v;
    v.reportPath = m_edit2->text().trimmed();
    v.askForReportName = m_ask->isChecked();
    v.purge = m_purge->isChecked();
    v.purgeAfter = m_purgeAfterEdited || m_storedPurgeAfter.trimmed().isEmpty()
                       ? m_edit1->text()
                       : m_storedPurgeAfter;
    try {
        m_logic.apply(m_rows, v);
    } catch (const RegistryError& e) {
        m_dialogs.showMessage(this, {QStringLiteral("Tollwatch Companion"),
                                     QString::fromLocal8Bit(e.what()), MessageIcon::Warning,
                                     MessageButtons::Ok, false});
        return false;
    }
    m_storedPurgeAfter = v.purgeAfter;
    m_purgeAfterEdited = false;
    LoadCaptions();
    m_apply->setEnabled(false);
    return true;
}

void TfrmSettings::OkClick() {
    // The dialog stays open when the settings could not be written.
    if (ApplyClick())
        accept();
}
