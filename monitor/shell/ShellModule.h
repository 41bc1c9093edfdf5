#pragma once
// The monitor's shell feature: the installation steps of "/I", starting with
// the session kept in step, the companion, help, the web commands and the
// About box.

#include "FeatureModule.h"

#include <QString>

#include <memory>

class AboutPresenter;
class Shell;

struct ShellModuleSetup {
    // The shell that starts the companion and opens pages.
    Shell& shell;
    // Shows the About box; null: a message box of the run's view.
    AboutPresenter* about = nullptr;
    // The monitor's full path; its folder holds the companion.
    QString program;
    // The folder of the help pages.
    QString helpFolder;
};

class ShellModule : public FeatureModule {
public:
    explicit ShellModule(ShellModuleSetup setup);
    ~ShellModule() override;

    void attach(MonitorParts& parts, CommandTable& commands) override;
    // Writes or removes the autostart entry to match the Run value; nothing
    // before the module is attached. Throws RegistryError or EPBShellLink.
    void syncAutostart();

private:
    struct Parts;
    ShellModuleSetup m_setup;
    std::unique_ptr<Parts> m_parts;
};
