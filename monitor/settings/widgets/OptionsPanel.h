#pragma once
// The "Options" page: the language, starting with the session, and the
// transfer-rate line.

#include "SettingsPanel.h"

class QCheckBox;
class QComboBox;

class OptionsPanel : public SettingsPanel {
    Q_OBJECT
public:
    OptionsPanel(SettingsDialog& dialog, QWidget* parent);

    void caption(const IntlStrings& intl) override;
    void load(const SettingsValues& values) override;
    void read(SettingsValues& values) const override;
    void enable(const SettingsEnabling& enabling) override;

private:
    QGroupBox* m_language = nullptr;
    QComboBox* m_cmbLanguage = nullptr;
    QGroupBox* m_other = nullptr;
    QCheckBox* m_autoload = nullptr;
    QCheckBox* m_chkXfer = nullptr;
};
