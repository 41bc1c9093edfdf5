#pragma once
// The monitor's commands by design name ("Exit1", "Dialdart2", "Properties1"):
// what a menu item, button, tray action or scenario click runs. The core adds
// the window's own commands; each feature module adds its own.

#include <QHash>
#include <QString>

#include <functional>

class CommandTable {
public:
    using Handler = std::function<void()>;

    // A later add of the same name replaces the earlier handler.
    void add(const QString& name, Handler handler);
    // The same handler under several names (a menu item, its tray twin, a button).
    void add(std::initializer_list<const char*> names, const Handler& handler);
    bool contains(const QString& name) const { return m_handlers.contains(name); }
    // Runs the command; false when no command has that name.
    bool run(const QString& name) const;

private:
    QHash<QString, Handler> m_handlers;
};
