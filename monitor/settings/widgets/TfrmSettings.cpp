#include "TfrmSettings.h"

#include "AdministrationPanel.h"
#include "ChimesPanel.h"
#include "DialdartPanel.h"
#include "DialogPlacement.h"
#include "FileLogPanel.h"
#include "FormatSettings.h"
#include "IntlStrings.h"
#include "MailPanel.h"
#include "OptionsPanel.h"
#include "SettingsDialog.h"
#include "TimeAndCostPanel.h"
#include "WarningsPanel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// The page captions, in page order; 0 is the fixed "Dialdart".
const int kPageCaptions[kSettingsPageCount] = {1210, 0, 8180, 1220, 1200, 1240, 1230, 1250};

// A disabled edit looks disabled: the face of a button, grey text.
void greyDisabledEdits(QWidget& dialog) {
    QPalette p = dialog.palette();
    p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Button));
    p.setColor(QPalette::Disabled, QPalette::Text,
               p.color(QPalette::Disabled, QPalette::WindowText));
    dialog.setPalette(p);
}
} // namespace

TfrmSettings::TfrmSettings(SettingsDialog& dialog, SettingsPage page, QWidget* parent)
    : QDialog(parent), m_dialog(dialog) {
    setObjectName(QStringLiteral("TfrmSettings"));
    greyDisabledEdits(*this);
    m_pageControl1 = new QTabWidget(this);
    m_pageControl1->setObjectName(QStringLiteral("PageControl1"));
    const QString currency = dialog.context().tariff.formats.currencyString;
    m_panels = {new TimeAndCostPanel(dialog, this), new DialdartPanel(dialog, this),
                new MailPanel(dialog, this),        new WarningsPanel(dialog, currency, this),
                new ChimesPanel(dialog, this),      new AdministrationPanel(dialog, currency, this),
                new FileLogPanel(dialog, this),     new OptionsPanel(dialog, this)};
    for (SettingsPanel* panel : m_panels) {
        m_pageControl1->addTab(panel, QString());
        connect(panel, &SettingsPanel::changed, this, &TfrmSettings::controlChanged);
    }
    m_okBtn = new QPushButton(this);
    m_okBtn->setObjectName(QStringLiteral("OKBtn"));
    m_okBtn->setDefault(true);
    m_cancelBtn = new QPushButton(this);
    m_cancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    m_applyBtn = new QPushButton(this);
    m_applyBtn->setObjectName(QStringLiteral("ApplyBtn"));
    connect(m_okBtn, &QPushButton::clicked, this, &TfrmSettings::OKBtnClick);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_applyBtn, &QPushButton::clicked, this, &TfrmSettings::ApplyBtnClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);
    buttons->addWidget(m_applyBtn);
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_pageControl1, 1);
    all->addLayout(buttons);
    FormShow();
    m_pageControl1->setCurrentIndex(int(page));
    // Every page's controls at their final size now, so that the dialog does
    // not grow when a page is first shown.
    ensurePolished();
    resize(sizeHint());
    DialogPlacement::place(*this);
}

void TfrmSettings::SetLanguage() {
    const IntlStrings& intl = m_dialog.intl();
    setWindowTitle(intl.IntlStr(3500));
    for (int i = 0; i < kSettingsPageCount; ++i) {
        const int id = kPageCaptions[i];
        m_pageControl1->setTabText(i, id ? intl.IntlStr(id).trimmed() : QStringLiteral("Dialdart"));
    }
    for (SettingsPanel* panel : m_panels)
        panel->caption(intl);
    m_okBtn->setText(intl.IntlStr(1000));
    m_cancelBtn->setText(intl.IntlStr(1010));
    m_applyBtn->setText(intl.IntlStr(1020));
    // All page titles side by side, whatever the language.
    setMinimumWidth(m_pageControl1->tabBar()->sizeHint().width() + 32);
}

void TfrmSettings::FormShow() {
    SetLanguage();
    m_dialog.Show();
    m_loading = true;
    for (SettingsPanel* panel : m_panels)
        panel->load(m_dialog.values());
    m_loading = false;
    enableControls();
    m_applyBtn->setEnabled(false);
}

void TfrmSettings::collect() {
    for (SettingsPanel* panel : m_panels)
        panel->read(m_dialog.values());
}

void TfrmSettings::enableControls() {
    collect();
    const SettingsEnabling enabling = m_dialog.enabling();
    for (SettingsPanel* panel : m_panels)
        panel->enable(enabling);
}

void TfrmSettings::controlChanged() {
    if (m_loading)
        return;
    enableControls();
    m_applyBtn->setEnabled(true);
}

bool TfrmSettings::ApplyBtnClick() {
    collect();
    const auto result = m_dialog.Apply([this] { SetLanguage(); });
    if (result == SettingsDialog::ApplyResult::Exit) {
        accept();
        return false;
    }
    if (result == SettingsDialog::ApplyResult::Stopped)
        return false;
    m_applyBtn->setEnabled(false);
    return true;
}

void TfrmSettings::OKBtnClick() {
    if (ApplyBtnClick())
        accept();
}
