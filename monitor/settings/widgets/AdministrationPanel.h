#pragma once
// The "Administration" page: the user's and this computer's totals, edited
// by hand or reset, and the administrator's password with what it locks.

#include "SettingsPanel.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class AdministrationPanel : public SettingsPanel {
    Q_OBJECT
public:
    AdministrationPanel(SettingsDialog& dialog, const QString& currency, QWidget* parent);

    void caption(const IntlStrings& intl) override;
    void load(const SettingsValues& values) override;
    void read(SettingsValues& values) const override;
    void enable(const SettingsEnabling& enabling) override;

private:
    QWidget* buildTotals(const QString& currency);
    QWidget* buildPassword();
    void Button1Click();

    QGroupBox* m_totals = nullptr;
    QLabel* m_userTimeLabel = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QLabel* m_userCostLabel = nullptr;
    QLineEdit* m_edit4 = nullptr;
    QLabel* m_pcTimeLabel = nullptr;
    QLineEdit* m_txtPCTime = nullptr;
    QLabel* m_pcCostLabel = nullptr;
    QLineEdit* m_edit10 = nullptr;
    QPushButton* m_button1 = nullptr;
    QGroupBox* m_password = nullptr;
    QCheckBox* m_checkBox10 = nullptr;
    QCheckBox* m_checkBox11 = nullptr;
    QPushButton* m_button9 = nullptr;
};
