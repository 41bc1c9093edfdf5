#include "DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

ShellResult DesktopShell::startProgram(const QString& program, const QStringList& arguments,
                                       const QString& workingDir) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    if (!process.startDetached())
        return ShellResult::failure(QFileInfo(program).fileName() + QStringLiteral(": ") +
                                    process.errorString());
    return ShellResult::success();
}

ShellResult DesktopShell::openUrl(const QUrl& url) {
    // QDesktopServices needs the platform integration of a GUI application;
    // the headless monitor runs on a QCoreApplication.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QDesktopServices::openUrl(url))
            return ShellResult::success();
        return ShellResult::failure(url.toDisplayString() +
                                    QStringLiteral(": no program to open it"));
    }
    return startProgram(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}
