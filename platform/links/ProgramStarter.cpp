#include "ProgramStarter.h"

#include <QFileInfo>
#include <QProcess>

namespace {

// Time for exec() to succeed or fail; a failure is known at once.
constexpr int kStartTimeoutMs = 10000;

QString failure(const QString& program, const QProcess& process) {
    return QFileInfo(program).fileName() + QStringLiteral(": ") + process.errorString();
}

} // namespace

namespace ProgramStarter {

ProgramStart startDetached(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return {false, failure(program, process)};
    return {true, QString()};
}

ProgramStart start(const QString& program, const QStringList& arguments, QObject* context,
                   std::function<void(int, const QString&)> finished) {
    auto* process = new QProcess(context);
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(kStartTimeoutMs)) {
        const QString message = failure(program, *process);
        delete process;
        return {false, message};
    }
    QObject::connect(process, &QProcess::finished, context,
                     [process, finished](int exitCode, QProcess::ExitStatus status) {
                         const QString output =
                             QString::fromLocal8Bit(process->readAll()).trimmed();
                         process->deleteLater();
                         finished(status == QProcess::NormalExit ? exitCode : -1, output);
                     });
    return {true, QString()};
}

} // namespace ProgramStarter
