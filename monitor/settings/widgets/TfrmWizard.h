#pragma once
// The Monitor Wizard's window: five pages in one dialog with Previous, Next
// (Done on the last page) and Cancel. It only shows what MonitorWizard holds
// and hands the controls back to it; More... opens the holidays dialog.

#include "MonitorWizard.h"
#include "TariffDialogContext.h"

#include <QDialog>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class WizardPagesUi;

class TfrmWizard : public QDialog {
    Q_OBJECT
public:
    TfrmWizard(MonitorWizard& wizard, const TariffDialogContext& context,
               QWidget* parent = nullptr);
    ~TfrmWizard() override;

    // Every caption in the current language (also after the language page).
    void LoadIntl();

private:
    void Button1Click(); // Previous
    void Button2Click(); // Next / Done
    void showState();
    void collect();

    MonitorWizard& m_wizard;
    TariffDialogContext m_context;
    std::unique_ptr<WizardPagesUi> m_ui;
};
