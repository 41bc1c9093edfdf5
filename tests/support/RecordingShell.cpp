#include "RecordingShell.h"

ShellResult RecordingShell::startProgram(const QString& program, const QStringList& arguments,
                                         const QString& workingDir) {
    started.append({program, arguments, workingDir});
    return failWith.isEmpty() ? ShellResult::success() : ShellResult::failure(failWith);
}

ShellResult RecordingShell::openUrl(const QUrl& url) {
    opened.append(url);
    return failWith.isEmpty() ? ShellResult::success() : ShellResult::failure(failWith);
}
