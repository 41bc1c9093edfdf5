#pragma once
// The "E-mail monitor" page: whether new mail is looked for, the POP3
// server, account, password and connection security, the e-mail program,
// and the server's time-out on a slider.

#include "SettingsPanel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;

class MailPanel : public SettingsPanel {
    Q_OBJECT
public:
    MailPanel(SettingsDialog& dialog, QWidget* parent);

    void caption(const IntlStrings& intl) override;
    void load(const SettingsValues& values) override;
    void read(SettingsValues& values) const override;
    void enable(const SettingsEnabling& enabling) override;

private:
    QWidget* buildServer();
    QWidget* buildClient();
    QWidget* buildTimeout();
    void showTimeout();

    QCheckBox* m_checkBox12 = nullptr;
    QGroupBox* m_server = nullptr;
    QLabel* m_hostLabel = nullptr;
    QLineEdit* m_edit11 = nullptr;
    QLabel* m_userLabel = nullptr;
    QLineEdit* m_edit12 = nullptr;
    QLabel* m_passwordLabel = nullptr;
    QLineEdit* m_edit13 = nullptr;
    QLabel* m_securityLabel = nullptr;
    QComboBox* m_security = nullptr;
    QGroupBox* m_client = nullptr;
    QLabel* m_clientLabel = nullptr;
    QComboBox* m_comboBox2 = nullptr;
    QGroupBox* m_timeout = nullptr;
    QLabel* m_short = nullptr;
    QSlider* m_trackBar1 = nullptr;
    QLabel* m_long = nullptr;
};
