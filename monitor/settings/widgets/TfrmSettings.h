#pragma once
// The settings dialog's window: eight pages and OK, Cancel and Apply. It
// shows what SettingsDialog loads, applies the enabling rules on every
// change, and hands the controls back for Apply. Apply stays disabled until
// something changes.

#include "SettingsValues.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTabWidget;
class SettingsDialog;
class SettingsPanel;

class TfrmSettings : public QDialog {
    Q_OBJECT
public:
    TfrmSettings(SettingsDialog& dialog, SettingsPage page, QWidget* parent = nullptr);

    // Every caption in the current language.
    void SetLanguage();
    QTabWidget* pages() const { return m_pageControl1; }
    SettingsPanel* panel(SettingsPage page) const { return m_panels.at(size_t(page)); }

private:
    void FormShow();
    void controlChanged();
    void enableControls();
    void collect();
    // Apply; false when it stopped or the program is to end.
    bool ApplyBtnClick();
    void OKBtnClick();

    SettingsDialog& m_dialog;
    QTabWidget* m_pageControl1 = nullptr;
    std::vector<SettingsPanel*> m_panels;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    QPushButton* m_applyBtn = nullptr;
    bool m_loading = false;
};
