#pragma once
// The dialling feature of a run: Dialdart, the connection menus, hang-up and
// the program started after a Dialdart connection comes up. It fills the
// run's dial seam and answers Disconnect1, Disconnect2 and the entries of the
// Connect and Connect using submenus.

#include "FeatureModule.h"
#include "MonitorFeatures.h"

#include <memory>

class AfterConnectProgram;
class ConnectionMenus;
class DialdartDialler;
class CredentialsPrompt;
class Shell;
class ViewCredentialsPrompt;

class DialModule : public FeatureModule, public DialFeature {
public:
    // shell starts the "Dialdart Run" program; prompt is the credentials
    // form, null to ask through the run's view. Both outlive the module.
    explicit DialModule(Shell& shell, CredentialsPrompt* prompt = nullptr);
    ~DialModule() override;
    DialModule(const DialModule&) = delete;
    DialModule& operator=(const DialModule&) = delete;

    void attach(MonitorParts& parts, CommandTable& commands) override;

    void DialdartMenu() override;
    void SetDialMenus(bool dialling) override;
    void ClearDialHandle() override;
    void RunAfterConnectProgram() override;
    void PopulateConnections() override;

    // The dialler once attached; null before.
    DialdartDialler* dialler() const { return m_dialler.get(); }

private:
    Shell& m_shell;
    CredentialsPrompt* m_prompt;
    std::unique_ptr<ViewCredentialsPrompt> m_viewPrompt;
    std::unique_ptr<DialdartDialler> m_dialler;
    std::unique_ptr<AfterConnectProgram> m_program;
    std::unique_ptr<ConnectionMenus> m_menus;
};
