#include "HeadlessShell.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

// What starting program would find, without starting it.
ShellResult startable(const QString& program) {
    const QString name = QFileInfo(program).fileName();
    const QString path =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return ShellResult::failure(name + QStringLiteral(": No such file or directory"));
    if (!info.isFile() || !info.isExecutable())
        return ShellResult::failure(name + QStringLiteral(": Permission denied"));
    return ShellResult::success();
}

} // namespace

HeadlessShell::HeadlessShell(LineSink sink, Shell* real) : m_sink(std::move(sink)), m_real(real) {}

ShellResult HeadlessShell::startProgram(const QString& program, const QStringList& arguments,
                                        const QString& workingDir) {
    const ShellResult result =
        m_real ? m_real->startProgram(program, arguments, workingDir) : startable(program);
    return report(QStringList{QStringLiteral("start"), program} + arguments, result);
}

ShellResult HeadlessShell::openUrl(const QUrl& url) {
    const ShellResult result = m_real ? m_real->openUrl(url) : ShellResult::success();
    return report({QStringLiteral("open"), url.toString()}, result);
}

ShellResult HeadlessShell::report(QStringList fields, const ShellResult& result) {
    if (!result.ok)
        fields << QStringLiteral("failed: ") + result.message;
    m_sink(fields);
    return result;
}
