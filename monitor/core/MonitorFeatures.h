#pragma once
// The features that the start-up sequence, the poller and the window commands
// hand work to: Dialdart and the connection menus, the new-mail check, the
// installation steps, the Monitor Wizard and the administrator lock. Each is a small interface so
// the spine runs before and after they exist.

class CommandTable;
class MonitorView;
struct MonitorFeatures;

class DialFeature {
public:
    virtual ~DialFeature() = default;
    // Dials the configured entry unless a Dialdart call is held.
    virtual void DialdartMenu() = 0;
    // true: the Disconnect items on, the dial items off; false the reverse.
    virtual void SetDialMenus(bool dialling) = 0;
    // Forgets the Dialdart call after the connection ended.
    virtual void ClearDialHandle() = 0;
    // The "Dialdart Run" program, at a connection start after a Dialdart dial.
    virtual void RunAfterConnectProgram() = 0;
    // Fills the Connect and Connect using submenus from the phone book.
    virtual void PopulateConnections() = 0;
};

class MailFeature {
public:
    virtual ~MailFeature() = default;
    // The new-mail check.
    virtual void Button1Click() = 0;
    virtual void SetTimeout(int seconds) = 0;
};

class InstallFeature {
public:
    virtual ~InstallFeature() = default;
    virtual void LookForPreviousVersions() = 0;
    // The Start-menu entry pointing at the program; false when it failed.
    virtual bool CreateStartMenuShortcut() = 0;
};

class WizardFeature {
public:
    virtual ~WizardFeature() = default;
    // Shows the Monitor Wizard modally.
    virtual void ShowWizard() = 0;
};

class AdminGate {
public:
    virtual ~AdminGate() = default;
    // true when the action must not go ahead (the password was refused).
    virtual bool IsItProtected(bool exitCommand) = 0;
};

// The stand-ins used until each feature exists: no Dialdart (its menus stay
// disabled), no mail check, no installation steps, no wizard, no
// administrator lock.
class UnbuiltFeatures : public DialFeature,
                        public MailFeature,
                        public InstallFeature,
                        public WizardFeature,
                        public AdminGate {
public:
    void DialdartMenu() override {}
    void SetDialMenus(bool) override {}
    void ClearDialHandle() override {}
    void RunAfterConnectProgram() override {}
    void PopulateConnections() override {}
    void Button1Click() override {}
    void SetTimeout(int) override {}
    void LookForPreviousVersions() override {}
    bool CreateStartMenuShortcut() override { return true; }
    void ShowWizard() override {}
    bool IsItProtected(bool) override { return false; }

    // Points every seam that nothing filled at stand-in and disables the menu
    // items and buttons of what is not there: the items of an unfilled seam
    // (Dialdart and the connection menus, the mail log, the wizard), and every
    // other feature command (the settings dialog, the companion, help, the web
    // pages) that no module added to commands.
    void fillGaps(MonitorFeatures& features, MonitorView& view, const CommandTable& commands);
};

// Where each feature is found; a null seam is filled with UnbuiltFeatures
// when the core is made.
struct MonitorFeatures {
    DialFeature* dial = nullptr;
    MailFeature* mail = nullptr;
    InstallFeature* install = nullptr;
    WizardFeature* wizard = nullptr;
    AdminGate* admin = nullptr;

    static MonitorFeatures allFrom(UnbuiltFeatures& f) { return {&f, &f, &f, &f, &f}; }
};
