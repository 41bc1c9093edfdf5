#include "OptionsPanel.h"

#include "IntlStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QVBoxLayout>

OptionsPanel::OptionsPanel(SettingsDialog& dialog, QWidget* parent)
    : SettingsPanel(dialog, "TabSheet2", parent) {
    m_language = group("GroupBox9");
    m_cmbLanguage = named<QComboBox>("cmbLanguage", m_language);
    m_cmbLanguage->addItems(IntlStrings::languageList());
    auto* top = new QVBoxLayout(m_language);
    top->addWidget(m_cmbLanguage, 0, Qt::AlignLeft);
    m_other = group("GroupBox10");
    m_autoload = named<QCheckBox>("Autoload", m_other);
    m_chkXfer = named<QCheckBox>("chkXfer", m_other);
    auto* bottom = new QVBoxLayout(m_other);
    bottom->addWidget(m_autoload);
    bottom->addWidget(m_chkXfer);
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_language);
    all->addWidget(m_other);
    all->addStretch(1);
    watchChanges();
}

void OptionsPanel::caption(const IntlStrings& intl) {
    m_language->setTitle(intl.IntlStr(1560).trimmed());
    m_other->setTitle(intl.IntlStr(7130).trimmed());
    m_autoload->setText(intl.IntlStr(3270));
    m_chkXfer->setText(intl.IntlStr(7120));
}

void OptionsPanel::load(const SettingsValues& v) {
    m_cmbLanguage->setCurrentIndex(v.language);
    m_autoload->setChecked(v.autoload);
    m_chkXfer->setChecked(v.monitorXfer);
}

void OptionsPanel::read(SettingsValues& v) const {
    v.language = m_cmbLanguage->currentIndex();
    v.autoload = m_autoload->isChecked();
    v.monitorXfer = m_chkXfer->isChecked();
}

void OptionsPanel::enable(const SettingsEnabling& e) {
    m_chkXfer->setEnabled(e.xfer);
}
