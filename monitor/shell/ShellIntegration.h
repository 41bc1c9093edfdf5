#pragma once
// The monitor's place on the desktop, for the start-up, the settings dialog
// and the Monitor Wizard: the application-menu entry, the Dialdart launcher on
// the desktop (load on demand), starting with the session, and the traces of
// the earlier version. Entries are desktop entries in the shell folders.

#include "SessionAutostart.h"

#include <QString>

class IntlStrings;
class RegistryStore;

// The earlier version's uninstall registration (HKEY_LOCAL_MACHINE).
inline const QString kPreviousUninstallKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Farrowline");

class ShellIntegration {
public:
    // program: the monitor's full path; its folder also locates the icons.
    ShellIntegration(RegistryStore& store, const IntlStrings& intl, QString program);

    // The check box "Run Tollwatch every time you start your computer": the
    // Run value "Tollwatch" holds a program.
    bool startsWithSession() const;
    // On: Run value "Tollwatch" := the program and the autostart entry
    // written; off: both removed. Throws RegistryError or EPBShellLink.
    void setStartWithSession(bool on);
    // Writes or removes the autostart entry to match the Run value.
    void syncAutostart();

    // "Dialdart icon" on: "Dialdart.desktop" on the desktop starting the
    // monitor with "/C", then start with the session turned off (load on
    // demand replaces it). Throws EPBShellLink when the launcher cannot be
    // written (then nothing else changes), and EPBShellLink or RegistryError
    // when start with the session cannot be turned off. Off: the launcher is
    // deleted if it exists; failures are ignored.
    void setDialdartIcon(bool on);
    QString dialdartIconFile() const;

    // The application-menu entry "Tollwatch.desktop" in the Programs folder.
    // Throws EPBShellLink.
    void createStartMenuEntry();
    QString startMenuEntryFile() const;

    // The earlier version's "UninstallString" ("" when not installed).
    QString previousUninstallString() const;
    // Deletes its uninstall registration and its entries "Farrowline.desktop"
    // in the Programs and StartUp folders; failures are ignored.
    void removePreviousVersion();

private:
    QString comment() const;
    SessionAutostart autostart() const;

    RegistryStore& m_store;
    const IntlStrings& m_intl;
    QString m_program;
    QString m_folder;
};
