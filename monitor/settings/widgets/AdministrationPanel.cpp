#include "AdministrationPanel.h"

#include "IntlStrings.h"
#include "LimitedEdit.h"
#include "SettingsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kUserTimeLength = 5;
constexpr int kTotalLength = 8;
} // namespace

AdministrationPanel::AdministrationPanel(SettingsDialog& dialog, const QString& currency,
                                         QWidget* parent)
    : SettingsPanel(dialog, "TabSheet5", parent) {
    auto* all = new QVBoxLayout(this);
    all->addWidget(buildTotals(currency));
    all->addWidget(buildPassword());
    all->addStretch(1);
    connect(m_button1, &QPushButton::clicked, this, &AdministrationPanel::Button1Click);
    connect(m_button9, &QPushButton::clicked, this, [this] { m_dialog.SetPassword(); });
    // Only a tick by the user asks for a password, not loading the page.
    for (QCheckBox* box : {m_checkBox10, m_checkBox11})
        connect(box, &QCheckBox::clicked, this,
                [this](bool checked) { m_dialog.ProtectionTicked(checked); });
    watchChanges();
}

QWidget* AdministrationPanel::buildTotals(const QString& currency) {
    m_totals = group("GroupBox3");
    auto* grid = new QGridLayout(m_totals);
    const auto row = [&](int r, const char* labelName, const char* editName, QLabel*& l,
                         QLineEdit*& e, const QString& unit) {
        e = named<QLineEdit>(editName, m_totals);
        e->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000000000")) + 12);
        l = label(labelName, e, m_totals);
        grid->addWidget(l, r, 0);
        grid->addWidget(e, r, 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, m_totals), r, 2);
    };
    row(0, "Label11", "Edit2", m_userTimeLabel, m_edit2, QString());
    row(1, "Label12", "Edit4", m_userCostLabel, m_edit4, currency);
    row(2, "Label13", "txtPCTime", m_pcTimeLabel, m_txtPCTime, QString());
    row(3, "Label14", "Edit10", m_pcCostLabel, m_edit10, currency);
    m_button1 = named<QPushButton>("Button1", m_totals);
    grid->addWidget(m_button1, 4, 0, 1, 3, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);
    return m_totals;
}

QWidget* AdministrationPanel::buildPassword() {
    m_password = group("GroupBox4");
    m_checkBox10 = named<QCheckBox>("CheckBox10", m_password);
    m_checkBox11 = named<QCheckBox>("CheckBox11", m_password);
    m_button9 = named<QPushButton>("Button9", m_password);
    auto* v = new QVBoxLayout(m_password);
    v->addWidget(m_checkBox10);
    v->addWidget(m_checkBox11);
    v->addWidget(m_button9, 0, Qt::AlignLeft);
    return m_password;
}

void AdministrationPanel::caption(const IntlStrings& intl) {
    m_totals->setTitle(intl.IntlStr(1520).trimmed());
    m_userTimeLabel->setText(intl.IntlStr(1530));
    m_userCostLabel->setText(intl.IntlStr(1540));
    m_pcTimeLabel->setText(intl.IntlStr(1600));
    m_pcCostLabel->setText(intl.IntlStr(1610));
    m_button1->setText(intl.IntlStr(1550));
    m_password->setTitle(intl.IntlStr(6030).trimmed());
    m_checkBox10->setText(intl.IntlStr(6010));
    m_checkBox11->setText(intl.IntlStr(6020));
    m_button9->setText(intl.IntlStr(6000));
}

void AdministrationPanel::load(const SettingsValues& v) {
    LimitedEdit::show(*m_edit2, v.userTime, kUserTimeLength);
    m_edit4->setText(v.userCost);
    LimitedEdit::show(*m_txtPCTime, v.pcTime, kTotalLength);
    LimitedEdit::show(*m_edit10, v.pcCost, kTotalLength);
    m_checkBox10->setChecked(v.protectSettings);
    m_checkBox11->setChecked(v.protectExit);
}

void AdministrationPanel::read(SettingsValues& v) const {
    v.userTime = m_edit2->text();
    v.userCost = m_edit4->text();
    v.pcTime = m_txtPCTime->text();
    v.pcCost = m_edit10->text();
    v.protectSettings = m_checkBox10->isChecked();
    v.protectExit = m_checkBox11->isChecked();
}

void AdministrationPanel::enable(const SettingsEnabling& e) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_userTimeLabel, m_edit2, m_userCostLabel, m_edit4})
        w->setEnabled(e.userTotals);
}

void AdministrationPanel::Button1Click() {
    if (!m_dialog.ResetToZero())
        return;
    m_edit2->setText(m_dialog.values().userTime);
    m_edit4->setText(m_dialog.values().userCost);
}
