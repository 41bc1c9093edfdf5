#include "DialdartPanel.h"

#include "IntlStrings.h"
#include "SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

DialdartPanel::DialdartPanel(SettingsDialog& dialog, QWidget* parent)
    : SettingsPanel(dialog, "TabSheet7", parent) {
    m_cmbEntries = namesCombo("cmbEntries");
    m_usingLabel = label("Label17", m_cmbEntries);
    m_button7 = named<QPushButton>("Button7");
    m_edit8 = named<QLineEdit>("Edit8");
    m_runLabel = label("Label18", m_edit8);
    m_button8 = named<QPushButton>("Button8");
    m_checkBox8 = named<QCheckBox>("CheckBox8");
    m_checkBox9 = named<QCheckBox>("CheckBox9");

    auto* grid = new QGridLayout;
    grid->addWidget(m_usingLabel, 0, 0, 1, 2);
    grid->addWidget(m_cmbEntries, 1, 0);
    grid->addWidget(m_button7, 1, 1);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(m_runLabel, 3, 0, 1, 2);
    grid->addWidget(m_edit8, 4, 0);
    grid->addWidget(m_button8, 4, 1);
    grid->setColumnStretch(0, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(grid);
    all->addSpacing(8);
    all->addWidget(m_checkBox8);
    all->addWidget(m_checkBox9);
    all->addStretch(1);
    connect(m_button7, &QPushButton::clicked, this, &DialdartPanel::Button7Click);
    connect(m_button8, &QPushButton::clicked, this, &DialdartPanel::Button8Click);
    watchChanges();
}

void DialdartPanel::caption(const IntlStrings& intl) {
    m_usingLabel->setText(intl.IntlStr(4020));
    m_button7->setText(intl.IntlStr(500));
    m_runLabel->setText(intl.IntlStr(4030));
    m_button8->setText(intl.IntlStr(1460));
    m_checkBox8->setText(intl.IntlStr(4040));
    m_checkBox9->setText(intl.IntlStr(4080));
}

void DialdartPanel::load(const SettingsValues& v) {
    m_cmbEntries->clear();
    m_cmbEntries->addItems(v.entries);
    m_cmbEntries->setCurrentIndex(v.entry);
    m_edit8->setText(v.runProgram);
    m_checkBox8->setChecked(v.dialdartIcon);
    m_checkBox9->setChecked(v.oneClick);
}

void DialdartPanel::read(SettingsValues& v) const {
    v.entry = m_cmbEntries->currentIndex();
    v.runProgram = m_edit8->text();
    v.dialdartIcon = m_checkBox8->isChecked();
    v.oneClick = m_checkBox9->isChecked();
}

void DialdartPanel::Button7Click() {
    m_dialog.values().entry = m_cmbEntries->currentIndex();
    m_dialog.EditEntry();
}

void DialdartPanel::Button8Click() {
    const QString filter = m_dialog.intl().IntlStr(3630) + QStringLiteral(" (*)");
    const QString file = QFileDialog::getOpenFileName(
        this, m_button8->text().remove(QLatin1Char('&')), m_edit8->text(), filter);
    if (!file.isEmpty())
        m_edit8->setText(file);
}
