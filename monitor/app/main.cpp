// tollwatch: the monitor. With --headless it runs without widgets and writes
// one line per occurrence on stdout; otherwise it shows its status window and
// tray icon. --help, --version and --status answer and end.

#include "CommandLine.h"
#include "GuiSession.h"
#include "HeadlessSession.h"
#include "MonitorApplication.h"
#include "RegistryLocation.h"
#include "SingleInstance.h"
#include "StatusQuery.h"
#include "TollwatchVersion.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// The monitor answers at once from what its last tick saw; the bound only
// covers a machine under load.
constexpr int kStatusTimeoutMs = 5000;
// How often --follow looks for a monitor that is not there.
constexpr int kFollowRetryMs = 2000;

bool printLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) ==
               size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
}

int askStatus(int argc, char** argv, const CommandLine& cl, const QString& storeFile) {
    QCoreApplication app(argc, argv);
    StatusQuery query(SingleInstance::channelAddress(storeFile),
                      cl.json ? StatusQuery::Form::Json : StatusQuery::Form::Line,
                      FormatSettings::system(), printLine);
    if (cl.follow)
        return query.follow(kFollowRetryMs);
    const int status = query.askOnce(kStatusTimeoutMs);
    if (status == StatusQuery::kNoAnswer)
        std::fprintf(stderr, "tollwatch: the monitor running on %s did not answer\n",
                     qPrintable(storeFile));
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = argumentsOf(argc, argv);
    CommandLine cl;
    try {
        cl = CommandLine::parse(args);
    } catch (const CommandLineError& e) {
        std::fprintf(stderr, "tollwatch: %s\nTry 'tollwatch --help' for more information.\n",
                     e.what());
        return 2;
    }
    if (cl.help) {
        std::fputs(CommandLine::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (cl.version) {
        std::puts("tollwatch " TOLLWATCH_VERSION);
        return 0;
    }
    QCoreApplication::setApplicationName(QStringLiteral("tollwatch"));
    const QString storeFile = RegistryLocation::resolve(args);
    if (cl.status)
        return askStatus(argc, argv, cl, storeFile);
    if (cl.headless) {
        QCoreApplication app(argc, argv);
        return HeadlessSession::run(cl, storeFile);
    }
    MonitorApplication app(argc, argv);
    return GuiSession::run(app, cl, storeFile);
}
