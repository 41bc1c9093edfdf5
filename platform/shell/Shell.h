#pragma once
// The desktop shell as the programs see it: start another program, open a
// file or an address with the desktop's program for it. The real one is
// DesktopShell; headless runs and tests have their own.

#include <QString>
#include <QStringList>

class QUrl;

struct ShellResult {
    bool ok = true;
    // Why it failed, for the user: "mutt: No such file or directory".
    QString message;

    static ShellResult success() { return {}; }
    static ShellResult failure(const QString& why) { return {false, why}; }
};

class Shell {
public:
    virtual ~Shell() = default;
    // Starts program (a path, or a name looked up in PATH) as a process of its
    // own that lives on by itself; never through a command interpreter.
    // workingDir empty: the caller's.
    virtual ShellResult startProgram(const QString& program, const QStringList& arguments,
                                     const QString& workingDir = QString()) = 0;
    // Opens a file, folder or address (file:, http:, https:, mailto:).
    virtual ShellResult openUrl(const QUrl& url) = 0;
};
