#pragma once
// The settings dialog as a command of the run: File > Properties, the tray's
// Properties and the toolbar button (Properties1, Properties3,
// ToolbarButton971, IEButton1), and Connect > Properties (Properties2), which
// opens it on the Dialdart page. Both ask the administrator's gate first,
// open one dialog at a time and refresh the window after it closes.

#include "FeatureModule.h"
#include "SettingsDialogContext.h"
#include "SettingsValues.h"

#include <QString>

class DialdartIcon;
class RunEntry;
class SettingsFrontEnd;

struct PropertiesSetup {
    SettingsFrontEnd& frontEnd;
    RunEntry& runEntry;
    DialdartIcon& dialdartIcon;
    // What the start-with-the-session entry and the launcher run.
    QString programPath;
    // Where a chime sound stored without a folder lies.
    QString soundFolder;
};

class PropertiesModule : public FeatureModule {
public:
    explicit PropertiesModule(PropertiesSetup setup);

    void attach(MonitorParts& parts, CommandTable& commands) override;

    // The main command: the dialog, then the window re-captioned, the
    // status lines, mail time-out, tray default, totals event, limits and
    // transfer-rate line brought up to date.
    void IEButton1Click();
    // The dialog on its Dialdart page, then the captions and status lines only.
    void Properties2Click();

    // Whether a settings dialog is open now.
    bool dialogOpen() const { return m_open; }
    // What a dialog of this run works with; valid after attach.
    SettingsDialogContext dialogContext() const;

private:
    void runDialog(SettingsPage page);
    void refreshStatusLines(bool firstLine);
    void refreshAfterMainCommand();

    PropertiesSetup m_setup;
    MonitorParts* m_parts = nullptr;
    const CommandTable* m_commands = nullptr;
    bool m_open = false;
};
