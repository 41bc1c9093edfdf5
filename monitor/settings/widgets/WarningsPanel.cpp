#include "WarningsPanel.h"

#include "IntlStrings.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr int kLargestLimit = 32000;
constexpr int kStep = 5;
} // namespace

WarningsPanel::WarningsPanel(SettingsDialog& dialog, const QString& currency, QWidget* parent)
    : SettingsPanel(dialog, "TabSheet3", parent) {
    m_warn = group("GroupBox2");
    m_checkBox3 = named<QCheckBox>("CheckBox3", m_warn);
    m_edit3 = new SpinEdit(1, kLargestLimit, kStep, m_warn);
    m_edit3->setObjectName(QStringLiteral("Edit3"));
    m_minutes = named<QLabel>("Label5", m_warn);
    m_checkBox6 = named<QCheckBox>("CheckBox6", m_warn);
    m_edit5 = new SpinEdit(1, kLargestLimit, kStep, m_warn);
    m_edit5->setObjectName(QStringLiteral("Edit5"));
    // The unit is the locale's currency string, not a text of the table.
    m_currency = named<QLabel>("Label6", m_warn);
    m_currency->setText(currency);
    auto* grid = new QGridLayout(m_warn);
    grid->addWidget(m_checkBox3, 0, 0);
    grid->addWidget(m_edit3, 0, 1);
    grid->addWidget(m_minutes, 0, 2);
    grid->addWidget(m_checkBox6, 1, 0);
    grid->addWidget(m_edit5, 1, 1);
    grid->addWidget(m_currency, 1, 2);
    grid->setColumnStretch(3, 1);

    m_warnMsg = named<QLineEdit>("WarnMsg");
    m_messageLabel = label("Label7", m_warnMsg);
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_warn);
    all->addWidget(m_messageLabel);
    all->addWidget(m_warnMsg);
    all->addStretch(1);
    watchChanges();
}

void WarningsPanel::caption(const IntlStrings& intl) {
    m_warn->setTitle(intl.IntlStr(1370).trimmed());
    m_checkBox3->setText(intl.IntlStr(1380));
    m_minutes->setText(intl.IntlStr(1420));
    m_checkBox6->setText(intl.IntlStr(1390));
    m_messageLabel->setText(intl.IntlStr(1410));
}

void WarningsPanel::load(const SettingsValues& v) {
    m_checkBox3->setChecked(v.timeWarning);
    m_edit3->setValue(v.warningTime);
    m_checkBox6->setChecked(v.costWarning);
    m_edit5->setValue(v.warningCost);
    m_warnMsg->setText(v.warningMessage);
}

void WarningsPanel::read(SettingsValues& v) const {
    v.timeWarning = m_checkBox3->isChecked();
    v.warningTime = m_edit3->value();
    v.costWarning = m_checkBox6->isChecked();
    v.warningCost = m_edit5->value();
    v.warningMessage = m_warnMsg->text();
}

void WarningsPanel::enable(const SettingsEnabling& e) {
    m_edit3->setEnabled(e.warningTime);
    m_minutes->setEnabled(e.warningTime);
    m_edit5->setEnabled(e.warningCost);
    m_currency->setEnabled(e.warningCost);
}
