#pragma once
// The settings features of a run: the Monitor Wizard (at first start and by
// its menu items, Wizard1 and Wizard2) and the administrator's gate before the
// settings window, the wizard, the log viewer and the exit command. The
// window and the headless run differ only in their SettingsFrontEnd.

#include "AdminLock.h"
#include "FeatureModule.h"
#include "MonitorFeatures.h"
#include "TariffDialogContext.h"

#include <QString>

#include <memory>

class RunEntry;
class SettingsFrontEnd;
struct MonitorParts;

class SettingsModule : public FeatureModule, public WizardFeature {
public:
    // programPath is what the start-with-the-session entry runs.
    SettingsModule(SettingsFrontEnd& frontEnd, RunEntry& runEntry, QString programPath);
    ~SettingsModule() override;

    void attach(MonitorParts& parts, CommandTable& commands) override;

    // WizardFeature: the wizard alone, as at first start.
    void ShowWizard() override;
    // The menu command: the gate, the wizard, then the window re-captioned
    // and its totals refreshed.
    void Wizard1Click();

    // What the rates, holidays and wizard dialogs need, for the settings
    // dialog too; valid after attach.
    TariffDialogContext dialogContext() const { return dialogContextFor(*m_parts, *m_commands); }
    // The same for any module of a run: the holiday download is offered when
    // the run has its web command.
    static TariffDialogContext dialogContextFor(MonitorParts& parts, const CommandTable& commands);
    AdminLock& lock() { return *m_lock; }

private:
    void refreshDisplay();

    SettingsFrontEnd& m_frontEnd;
    RunEntry& m_runEntry;
    QString m_programPath;
    MonitorParts* m_parts = nullptr;
    const CommandTable* m_commands = nullptr;
    std::unique_ptr<AdminLock> m_lock;
};
