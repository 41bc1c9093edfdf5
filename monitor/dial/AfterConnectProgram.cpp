#include "AfterConnectProgram.h"

#include "DosPath.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "ProgramCommandLine.h"
#include "Settings.h"
#include "Shell.h"

#include <QFileInfo>
#include <QUrl>

namespace {

// Where the program starts: the folder of drive C:.
const QString kWorkingFolder = QStringLiteral("C:\\");

} // namespace

AfterConnectProgram::AfterConnectProgram(const MonitorParts& parts, Shell& shell)
    : m_parts(parts), m_shell(shell) {}

ShellResult AfterConnectProgram::launch(const ProgramCall& call, const DosPathMapper& paths) {
    // A value such as a lone quote names no program at all.
    if (call.program.isEmpty())
        return ShellResult::failure(QString());
    // A document or a folder is opened with the desktop's program for it, as
    // "open" did with anything that was not a program.
    const QFileInfo target(call.program);
    if (call.arguments.isEmpty() && target.exists() && (target.isDir() || !target.isExecutable()))
        return m_shell.openUrl(QUrl::fromLocalFile(target.absoluteFilePath()));
    return m_shell.startProgram(call.program, call.arguments, paths.toNative(kWorkingFolder));
}

void AfterConnectProgram::RunAfterConnectProgram() {
    const QString configured =
        m_parts.settings.ReadText(kSettingsKey, QStringLiteral("Dialdart Run"), QString());
    if (configured.trimmed().isEmpty())
        return;
    const DosPathMapper paths = DosPathMapper::fromStore(m_parts.store);
    const ShellResult result = launch(ProgramCommandLine::parse(configured, paths), paths);
    if (!result.ok)
        m_parts.view.messageBox(QStringLiteral("Tollwatch"),
                                m_parts.intl.IntlStr(8340) + configured, BoxButtons::Ok,
                                BoxIcon::Warning, BoxAnswer::Ok);
}
