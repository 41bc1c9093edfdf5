// companion: reads the monitor's connection logs into a usage report and
// chart data. The window comes later; for now the report mode only.

#include "CommandLine.h"
#include "RegistryLocation.h"
#include "ReportCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    const CommandLine line = CommandLine::parse(RegistryLocation::withoutRegistryOption(arguments));
    switch (line.action) {
    case CommandLine::Action::EndAtOnce:
        return 0;
    case CommandLine::Action::Report:
        return runReportCommand(line, RegistryLocation::resolve(arguments));
    case CommandLine::Action::Help:
        std::fputs(kCompanionUsage, stdout);
        return 0;
    case CommandLine::Action::Usage:
        if (!line.error.isEmpty())
            std::fprintf(stderr, "companion: %s\n", qPrintable(line.error));
        std::fputs(kCompanionUsage, stderr);
        return 2;
    case CommandLine::Action::Window:
        break;
    }
    std::fputs(kCompanionUsage, stderr);
    return 2;
}
