#pragma once
// The "Time and cost" page: time or cost monitored, one rate or the rates
// dialog, the rate per minute, and the monthly reset question.

#include "SettingsPanel.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TimeAndCostPanel : public SettingsPanel {
    Q_OBJECT
public:
    TimeAndCostPanel(SettingsDialog& dialog, QWidget* parent);

    void caption(const IntlStrings& intl) override;
    void load(const SettingsValues& values) override;
    void read(SettingsValues& values) const override;
    void enable(const SettingsEnabling& enabling) override;

private:
    void btnRatesClick();

    QGroupBox* m_display = nullptr;
    QRadioButton* m_radioTime = nullptr;
    QRadioButton* m_radioCost = nullptr;
    QRadioButton* m_radioButton3 = nullptr;
    QRadioButton* m_radioButton4 = nullptr;
    QLineEdit* m_txtRate = nullptr;
    QLabel* m_perMinute = nullptr;
    QPushButton* m_btnRates = nullptr;
    QCheckBox* m_checkBox5 = nullptr;
};
