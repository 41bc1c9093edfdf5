#pragma once
// The user's shell folders: where the application menu, the desktop and the
// programs started with the session keep their entries. The store's
// "Shell Folders" values win when present (DOS paths mapped); otherwise the
// XDG places.

#include <QString>

class RegistryStore;

// HKEY_CURRENT_USER key with the values "Programs", "Desktop" and "StartUp".
inline const QString kShellFoldersKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

enum class ShellFolder { Programs, Desktop, StartUp };

class ShellFolders {
public:
    explicit ShellFolders(const RegistryStore& store) : m_store(store) {}

    // The folder as a native path; may not exist yet.
    QString path(ShellFolder which) const;
    // The XDG place alone: $XDG_DATA_HOME/applications, the XDG desktop
    // folder, $XDG_CONFIG_HOME/autostart.
    static QString xdgPath(ShellFolder which);
    // The value name in the store ("Programs", "Desktop", "StartUp").
    static QString valueName(ShellFolder which);

private:
    const RegistryStore& m_store;
};
