#include "TimeAndCostPanel.h"

#include "IntlStrings.h"
#include "SettingsDialog.h"
#include "TfrmRates.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// The tariff choices sit under "cost", indented like a sub-choice.
constexpr int kIndent = 24;
} // namespace

TimeAndCostPanel::TimeAndCostPanel(SettingsDialog& dialog, QWidget* parent)
    : SettingsPanel(dialog, "TabSheet1", parent) {
    m_display = group("GroupBox1");
    m_radioTime = named<QRadioButton>("radioTime", m_display);
    m_radioCost = named<QRadioButton>("radioCost", m_display);
    m_radioButton3 = named<QRadioButton>("RadioButton3", m_display);
    m_radioButton4 = named<QRadioButton>("RadioButton4", m_display);
    m_txtRate = named<QLineEdit>("txtRate", m_display);
    m_txtRate->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")) + 12);
    m_perMinute = named<QLabel>("Label1", m_display);
    m_btnRates = named<QPushButton>("btnRates", m_display);
    // Two pairs of choices in one group box.
    auto* mode = new QButtonGroup(this);
    mode->addButton(m_radioTime);
    mode->addButton(m_radioCost);
    auto* rates = new QButtonGroup(this);
    rates->addButton(m_radioButton3);
    rates->addButton(m_radioButton4);

    auto* grid = new QGridLayout(m_display);
    grid->addWidget(m_radioTime, 0, 0, 1, 4);
    grid->addWidget(m_radioCost, 1, 0, 1, 4);
    grid->setColumnMinimumWidth(0, kIndent);
    grid->addWidget(m_radioButton3, 2, 1);
    grid->addWidget(m_txtRate, 2, 2);
    grid->addWidget(m_perMinute, 2, 3);
    grid->addWidget(m_radioButton4, 3, 1);
    grid->addWidget(m_btnRates, 3, 2, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(4, 1);

    m_checkBox5 = named<QCheckBox>("CheckBox5");
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_display);
    all->addWidget(m_checkBox5);
    all->addStretch(1);
    connect(m_btnRates, &QPushButton::clicked, this, &TimeAndCostPanel::btnRatesClick);
    watchChanges();
}

void TimeAndCostPanel::caption(const IntlStrings& intl) {
    m_display->setTitle(intl.IntlStr(1300).trimmed());
    m_radioTime->setText(intl.IntlStr(1310));
    m_radioCost->setText(intl.IntlStr(1320));
    m_radioButton3->setText(intl.IntlStr(1330));
    m_radioButton4->setText(intl.IntlStr(1340));
    m_perMinute->setText(intl.IntlStr(1350));
    m_btnRates->setText(intl.IntlStr(1110));
    m_checkBox5->setText(intl.IntlStr(1360));
}

void TimeAndCostPanel::load(const SettingsValues& v) {
    (v.showCost ? m_radioCost : m_radioTime)->setChecked(true);
    (v.oneRate ? m_radioButton3 : m_radioButton4)->setChecked(true);
    m_txtRate->setText(v.rate);
    m_checkBox5->setChecked(v.resetEachMonth);
}

void TimeAndCostPanel::read(SettingsValues& v) const {
    v.showCost = m_radioCost->isChecked();
    v.oneRate = m_radioButton3->isChecked();
    v.rate = m_txtRate->text();
    v.resetEachMonth = m_checkBox5->isChecked();
}

void TimeAndCostPanel::enable(const SettingsEnabling& e) {
    m_radioButton3->setEnabled(e.rateChoice);
    m_radioButton4->setEnabled(e.rateChoice);
    m_txtRate->setEnabled(e.rateEdit);
    m_perMinute->setEnabled(e.rateEdit);
    m_btnRates->setEnabled(e.ratesButton);
}

void TimeAndCostPanel::btnRatesClick() {
    TfrmRates rates(m_dialog.context().tariff, this);
    if (rates.exec() != QDialog::Accepted)
        return;
    m_dialog.values().rate = m_txtRate->text();
    m_dialog.RatesStored();
    m_txtRate->setText(m_dialog.values().rate);
}
