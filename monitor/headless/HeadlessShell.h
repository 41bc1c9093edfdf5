#pragma once
// The shell of a headless run: every request becomes a "shell" line. A run on
// the real clock then carries it out; a scenario run on the virtual clock only
// checks that the program could be started, so that replays stay repeatable
// and start nothing on the machine.

#include "Shell.h"

#include <functional>

class HeadlessShell : public Shell {
public:
    using LineSink = std::function<void(const QStringList& fields)>;

    // real: the shell that carries requests out; null in virtual-clock runs.
    HeadlessShell(LineSink sink, Shell* real);

    ShellResult startProgram(const QString& program, const QStringList& arguments,
                             const QString& workingDir = QString()) override;
    ShellResult openUrl(const QUrl& url) override;

private:
    ShellResult report(QStringList fields, const ShellResult& result);

    LineSink m_sink;
    Shell* m_real;
};
