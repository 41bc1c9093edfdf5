#pragma once
// Chooses and makes the connection source: "--ras" on the command line, else
// the store value "Connection source", else "auto".

#include "RasApi.h"

#include <QString>

#include <memory>

class Clock;
class Settings;

// The store value naming the connection source.
inline const QString kConnectionSourceValue = QStringLiteral("Connection source");

namespace RasApiFactory {

// The source to use: commandLine when given, else the stored choice, else "auto".
QString chosenSource(const QString& commandLine, const Settings& settings);
// Whether source is one of "auto", "networkmanager", "ppp" or "sim:FILE".
bool isValidSource(const QString& source);

} // namespace RasApiFactory

// Makes the connection source named ("auto": NetworkManager when it answers
// on the system bus, else ppp); an empty name goes through chosenSource.
// On failure (unknown source, unreadable scenario) returns null and sets *error.
// sim:FILE runs on simClock when given (it must outlive the result), else on
// the system clock with the file's times counted from now; callers that apply
// the scenario's timed directives reach the sim through dynamic_cast<SimRasApi*>.
// settings must outlive the result (NetworkManager reads "Connection types").
std::unique_ptr<RasApi> createRasApi(const QString& source, const Settings& settings,
                                     QString* error = nullptr, Clock* simClock = nullptr);
