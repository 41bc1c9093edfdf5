#pragma once
// The settings features in the status window: the wizard as TfrmWizard and
// the password as TfrmSupervisorPW, both modal over the window.

#include "SettingsFrontEnd.h"
#include "SupervisorPasswordPrompt.h"

class QWidget;

class WidgetSettingsFrontEnd : public SettingsFrontEnd {
public:
    explicit WidgetSettingsFrontEnd(QWidget* parent) : m_parent(parent), m_password(parent) {}

    void runWizard(MonitorWizard& wizard, const TariffDialogContext& context) override;
    PasswordPrompt& passwordPrompt() override { return m_password; }

private:
    QWidget* m_parent;
    SupervisorPasswordPrompt m_password;
};
