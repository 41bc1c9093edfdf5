// tollwatch: the monitor. With --headless it runs without widgets and writes
// one line per occurrence on stdout; otherwise it shows its status window and
// tray icon. --help, --version and --status answer and end.

#include "CommandLine.h"
#include "GuiSession.h"
#include "HeadlessSession.h"
#include "MonitorApplication.h"
#include "RegistryLocation.h"
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
    if (cl.headless) {
        QCoreApplication app(argc, argv);
        return HeadlessSession::run(cl, storeFile);
    }
    MonitorApplication app(argc, argv);
    return GuiSession::run(app, cl, storeFile);
}
