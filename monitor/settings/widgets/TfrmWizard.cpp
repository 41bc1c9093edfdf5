#include "TfrmWizard.h"

#include "DialogPlacement.h"
#include "FormatSettings.h"
#include "IntlStrings.h"
#include "TfrmHolidays.h"
#include "WizardPagesUi.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
// Wide enough for the longest tariff choice of every language on one line.
constexpr int kMinimumWidth = 540;
} // namespace

TfrmWizard::TfrmWizard(MonitorWizard& wizard, const TariffDialogContext& context, QWidget* parent)
    : QDialog(parent), m_wizard(wizard), m_context(context),
      m_ui(std::make_unique<WizardPagesUi>(this, context.formats.currencyString)) {
    setObjectName(QStringLiteral("TfrmWizard"));
    connect(m_ui->Button1, &QPushButton::clicked, this, &TfrmWizard::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TfrmWizard::Button2Click);
    connect(m_ui->Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->Button4, &QPushButton::clicked, this, [this] {
        TfrmHolidays holidays(m_context, this);
        holidays.exec();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ui->Button1);
    buttons->addWidget(m_ui->Button2);
    buttons->addSpacing(12);
    buttons->addWidget(m_ui->Button3);
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_ui->pages, 1);
    all->addLayout(buttons);
    setMinimumWidth(kMinimumWidth);
    LoadIntl();
    showState();
    DialogPlacement::place(*this);
}

TfrmWizard::~TfrmWizard() = default;

void TfrmWizard::LoadIntl() {
    setWindowTitle(m_context.intl.IntlStr(680));
    m_ui->caption(m_context.intl);
}

void TfrmWizard::showState() {
    m_ui->show(m_wizard.values(), m_wizard.flow(), m_context.intl);
}

void TfrmWizard::collect() {
    m_ui->read(m_wizard.values());
}

void TfrmWizard::Button1Click() {
    collect();
    m_wizard.previous();
    showState();
}

void TfrmWizard::Button2Click() {
    collect();
    const bool leavingLanguage = m_wizard.flow().page() == WizardPage::Noll;
    if (m_wizard.next()) {
        accept();
        return;
    }
    if (leavingLanguage) {
        LoadIntl();
        adjustSize();
    }
    showState();
}
