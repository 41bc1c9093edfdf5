#pragma once
// What differs between the status window and a headless run for the
// settings features: how the Monitor Wizard is shown and how a password is
// asked for. Widgets implement it in the window; the headless run answers
// from the scenario.

class MonitorWizard;
class PasswordPrompt;
struct TariffDialogContext;

class SettingsFrontEnd {
public:
    virtual ~SettingsFrontEnd() = default;
    // Shows the wizard modally until Done, Cancel or the close box.
    virtual void runWizard(MonitorWizard& wizard, const TariffDialogContext& context) = 0;
    virtual PasswordPrompt& passwordPrompt() = 0;
};
