#pragma once
// The "Dialdart" page: the phone-book entry that Dialdart dials and its
// editor, the program started once connected, the desktop launcher and the
// single click on the tray icon. "Dialdart Status" has no box here: nothing
// reads it, and its stored value passes through.

#include "SettingsPanel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class DialdartPanel : public SettingsPanel {
    Q_OBJECT
public:
    DialdartPanel(SettingsDialog& dialog, QWidget* parent);

    void caption(const IntlStrings& intl) override;
    void load(const SettingsValues& values) override;
    void read(SettingsValues& values) const override;
    void enable(const SettingsEnabling&) override {}

private:
    void Button7Click();
    void Button8Click();

    QLabel* m_usingLabel = nullptr;
    QComboBox* m_cmbEntries = nullptr;
    QPushButton* m_button7 = nullptr;
    QLabel* m_runLabel = nullptr;
    QLineEdit* m_edit8 = nullptr;
    QPushButton* m_button8 = nullptr;
    QCheckBox* m_checkBox8 = nullptr;
    QCheckBox* m_checkBox9 = nullptr;
};
