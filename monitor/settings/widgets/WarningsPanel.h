#pragma once
// The "Warnings" page: a warning after so many minutes connected or when
// the cost passes an amount, and the warning's text. "Warning Daily" has no
// box here: the limits know no days, and its stored value passes through.

#include "SettingsPanel.h"

class QCheckBox;
class QLineEdit;
class SpinEdit;

class WarningsPanel : public SettingsPanel {
    Q_OBJECT
public:
    WarningsPanel(SettingsDialog& dialog, const QString& currency, QWidget* parent);

    void caption(const IntlStrings& intl) override;
    void load(const SettingsValues& values) override;
    void read(SettingsValues& values) const override;
    void enable(const SettingsEnabling& enabling) override;

private:
    QGroupBox* m_warn = nullptr;
    QCheckBox* m_checkBox3 = nullptr;
    SpinEdit* m_edit3 = nullptr;
    QLabel* m_minutes = nullptr;
    QCheckBox* m_checkBox6 = nullptr;
    SpinEdit* m_edit5 = nullptr;
    QLabel* m_currency = nullptr;
    QLabel* m_messageLabel = nullptr;
    QLineEdit* m_warnMsg = nullptr;
};
