#pragma once
// The "File log" page: where the connection log is written, and the log
// viewer.

#include "SettingsPanel.h"

class QLineEdit;
class QPushButton;

class FileLogPanel : public SettingsPanel {
    Q_OBJECT
public:
    FileLogPanel(SettingsDialog& dialog, QWidget* parent);

    void caption(const IntlStrings& intl) override;
    void load(const SettingsValues& values) override;
    void read(SettingsValues& values) const override;
    void enable(const SettingsEnabling&) override {}

private:
    void Button4Click();

    QGroupBox* m_log = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLineEdit* m_logFile = nullptr;
    QPushButton* m_button4 = nullptr;
    QPushButton* m_button2 = nullptr;
};
