#pragma once
// Which connection source a run uses: "--ras", else the store value
// "Connection source", else "auto"; a simulated source names its scenario.

#include "CommandLine.h"

#include <QString>

class Settings;

struct ConnectionSourceChoice {
    // "sim:FILE", "auto", "networkmanager" or "ppp".
    QString source;
    // The FILE of "sim:FILE"; empty for a real source.
    QString scenarioFile;

    // Throws CommandLineError naming a source that is not one we know.
    static ConnectionSourceChoice choose(const CommandLine& cl, const Settings& settings);
};
