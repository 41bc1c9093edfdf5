#pragma once
// The e-mail programs: those the settings store names under
// HKEY_LOCAL_MACHINE "Software\Clients\Mail" (one key per program, its
// command line in "shell\open\command", as settings imported from the old
// Windows program have them), else the desktop's mailto handlers.

#include <QString>
#include <QStringList>

class RegistryStore;

struct MailProgram {
    QString name;
    // The program to start, a native path or a name looked up in PATH;
    // empty when there is none.
    QString program;
    QStringList arguments;
};

namespace MailPrograms {

inline const QString kClientsKey = QStringLiteral("Software\\Clients\\Mail");

// A stored command line taken apart the way the old program did: a quoted
// path alone (whatever follows it is dropped), else the text before the
// first "/" as the program (a space before the "/" stays in it) and the rest
// as the parameters.
struct StoredCommand {
    QString program;
    QString parameters;
};
StoredCommand splitStoredCommand(const QString& commandLine);

// The names a settings page lists: the store's keys first, then the
// desktop's handlers that are not among them.
QStringList names(const RegistryStore& store);
// The program chosen when the user chose none: the default value of the
// store's key, else the desktop's default handler.
QString defaultName(const RegistryStore& store);
// The program called name: the store's key of that name when it exists,
// else the desktop handler with that name or desktop file id, else the
// desktop's default one.
MailProgram find(const RegistryStore& store, const QString& name);

} // namespace MailPrograms
