#pragma once
// The "Chimes" page: a chime every so many minutes while connected, with a
// box if wanted, and the chime's sound, chosen and tried at once.

#include "SettingsPanel.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QtSoundPlayer;
class SpinEdit;

class ChimesPanel : public SettingsPanel {
    Q_OBJECT
public:
    ChimesPanel(SettingsDialog& dialog, QWidget* parent);

    void caption(const IntlStrings& intl) override;
    void load(const SettingsValues& values) override;
    void read(SettingsValues& values) const override;
    void enable(const SettingsEnabling& enabling) override;

private:
    void Button3Click();
    void Button5Click();

    QCheckBox* m_checkBox2 = nullptr;
    QLabel* m_every = nullptr;
    SpinEdit* m_edit1 = nullptr;
    QLabel* m_minutes = nullptr;
    QCheckBox* m_remindme = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLineEdit* m_txtChimeFile = nullptr;
    QPushButton* m_button3 = nullptr;
    QPushButton* m_button5 = nullptr;
    QtSoundPlayer* m_player = nullptr;
};
