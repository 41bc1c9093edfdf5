#pragma once
// Starting a program with the session: the store's Run value is the setting
// (tollreg and the dialogs read it), and an XDG autostart entry of the same
// name exists exactly while that value is non-empty.

#include "ShellFolders.h"

#include <QString>
#include <QStringList>

class RegistryStore;

// HKEY_LOCAL_MACHINE key of the programs started with the session.
inline const QString kRunKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");

// What the autostart entry says besides the program it starts.
struct AutostartLook {
    QString comment;
    QString icon;
};

class SessionAutostart {
public:
    // valueName names the Run value and the entry ("Tollwatch" gives
    // "Tollwatch.desktop" in the StartUp folder).
    SessionAutostart(RegistryStore& store, QString valueName, AutostartLook look = {});

    // The Run value holds a program.
    bool isOn() const;
    // The stored program ("" when off).
    QString program() const;
    // Run value := program, then the entry. Throws RegistryError when the
    // value cannot be written, EPBShellLink when the entry cannot.
    void turnOn(const QString& program);
    // Deletes the value and the entry. Throws RegistryError when the value
    // cannot be deleted; a missing entry is no failure.
    void turnOff();
    // Writes or removes the entry to match the value (after tollreg or
    // another program changed it). Throws EPBShellLink.
    void sync();
    QString entryFile() const;

private:
    void writeEntry(const QString& program) const;
    void removeEntry() const;

    RegistryStore& m_store;
    QString m_valueName;
    AutostartLook m_look;
};
