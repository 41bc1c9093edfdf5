#pragma once
// A feature of the monitor that plugs into a run once the run's services
// exist: Dialdart and the connection menus, the mail check, the shell
// commands, the settings dialogs. A session hands its modules to the core,
// which attaches each before it builds the accounting, the poller and the
// window commands.

struct MonitorParts;
class CommandTable;

class FeatureModule {
public:
    virtual ~FeatureModule() = default;
    // Called once. A module fills the seams it implements in parts.features
    // (the others stay as they are) and adds the commands it answers.
    // parts outlives the module's use of it.
    virtual void attach(MonitorParts& parts, CommandTable& commands) = 0;
};
