#include "ShellModule.h"

#include "AboutBox.h"
#include "CommandTable.h"
#include "HelpPages.h"
#include "InstallSteps.h"
#include "MonitorParts.h"
#include "ShellCommands.h"
#include "ShellIntegration.h"

#include <QFileInfo>

struct ShellModule::Parts {
    Parts(const ShellModuleSetup& s, MonitorParts& p)
        : help(s.helpFolder), integration(p.store, p.intl, s.program),
          install(integration, p.view, p.events, p.intl),
          commands(s.shell, p.view, p.events, p.intl, p.store, help,
                   QFileInfo(s.program).absolutePath()),
          messageAbout(p.view) {}

    HelpPages help;
    ShellIntegration integration;
    InstallSteps install;
    ShellCommands commands;
    MessageBoxAbout messageAbout;
};

ShellModule::ShellModule(ShellModuleSetup setup) : m_setup(std::move(setup)) {}

ShellModule::~ShellModule() = default;

void ShellModule::attach(MonitorParts& parts, CommandTable& commands) {
    m_parts = std::make_unique<Parts>(m_setup, parts);
    parts.features.install = &m_parts->install;
    ShellCommands& c = m_parts->commands;
    commands.add({"Companion1", "Companion2", "ToolbarButton975"}, [&c] { c.Companion1Click(); });
    commands.add({"Helpcontents1"}, [&c] { c.Helpcontents1Click(); });
    commands.add({"Helpindex1"}, [&c] { c.Helpindex1Click(); });
    commands.add({"UpdateCentral1"}, [&c] { c.UpdateCentral1Click(); });
    commands.add({"Homepage1"}, [&c] { c.Homepage1Click(); });
    commands.add({"Support1"}, [&c] { c.Support1Click(); });
    commands.add({"HDef1"}, [&c] { c.HDefClick(); });
    commands.add({"VarnholtHome1"}, [&c] { c.VarnholtHome1Click(); });
    AboutPresenter* about = m_setup.about ? m_setup.about : &m_parts->messageAbout;
    const IntlStrings& intl = parts.intl;
    commands.add({"About1", "About2"},
                 [about, &intl] { about->showAbout(AboutFacts::current(intl)); });
    try {
        // tollreg or another program may have changed the Run value.
        m_parts->integration.syncAutostart();
    } catch (const std::exception&) {
        // Tried again at the next start; the check box still shows the value.
    }
}

void ShellModule::syncAutostart() {
    if (m_parts)
        m_parts->integration.syncAutostart();
}
