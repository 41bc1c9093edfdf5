#include "ConnectionSourceChoice.h"

#include "RasApiFactory.h"

namespace {
const QString kSimPrefix = QStringLiteral("sim:");
}

ConnectionSourceChoice ConnectionSourceChoice::choose(const CommandLine& cl,
                                                      const Settings& settings) {
    ConnectionSourceChoice choice;
    choice.source = RasApiFactory::chosenSource(cl.connectionSource, settings).trimmed();
    if (!RasApiFactory::isValidSource(choice.source)) {
        const QString from = cl.connectionSource.isEmpty()
                                 ? QStringLiteral("the stored \"Connection source\" ")
                                 : QStringLiteral("--ras ");
        throw CommandLineError((from + choice.source +
                                QStringLiteral(": unknown connection source (expected auto, "
                                               "networkmanager, ppp or sim:FILE)"))
                                   .toStdString());
    }
    if (choice.source.startsWith(kSimPrefix))
        choice.scenarioFile = choice.source.mid(kSimPrefix.size());
    return choice;
}
