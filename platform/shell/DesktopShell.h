#pragma once
// The shell on a Linux desktop: programs started with QProcess, documents and
// addresses opened by the desktop (QDesktopServices in a widget program,
// xdg-open otherwise).

#include "Shell.h"

class DesktopShell : public Shell {
public:
    ShellResult startProgram(const QString& program, const QStringList& arguments,
                             const QString& workingDir = QString()) override;
    ShellResult openUrl(const QUrl& url) override;
};
