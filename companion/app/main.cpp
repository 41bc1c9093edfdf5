// companion: reads the monitor's connection logs into a usage report and
// chart data: the window, or with --report the command-line report mode
// (the report, its data as CSV or JSON, or chart lines).

#include "CommandLine.h"
#include "CompanionWindowMain.h"
#include "RegistryLocation.h"
#include "ReportCommand.h"
#include "TollwatchVersion.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = CommandLine::parse(RegistryLocation::withoutRegistryOption(arguments));
    // The window needs a QApplication of its own, so it starts before any other.
    if (line.action == CommandLine::Action::Window)
        return runCompanionWindow(argc, argv);
    QCoreApplication app(argc, argv);
    switch (line.action) {
    case CommandLine::Action::EndAtOnce:
        return 0;
    case CommandLine::Action::Report:
        return runReportCommand(line, RegistryLocation::resolve(arguments));
    case CommandLine::Action::Help:
        std::fputs(companionHelpText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::puts("companion " TOLLWATCH_VERSION);
        return 0;
    case CommandLine::Action::Usage:
    case CommandLine::Action::Window:
        break;
    }
    std::fprintf(stderr, "companion: %s\nTry 'companion --help' for more information.\n",
                 qPrintable(line.error));
    return 2;
}
