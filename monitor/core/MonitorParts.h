#pragma once
// The services one monitor run is made of, handed to the start-up sequence,
// the shutdown handlers and the session accounting.

#include "MonitorFeatures.h"

#include <QtGlobal>

class ApplicationControl;
class ChimeSwitch;
class Clock;
class EventSink;
class IntlStrings;
class LogAppender;
class MonitorView;
class ProblemReports;
class RasApi;
class RegistryStore;
class SessionAccounting;
class Settings;
class TotalTexts;
class TransferRates;
class WindowCommands;
class WindowFrame;
struct CommandLine;
struct FormatSettings;
struct SessionState;

struct MonitorParts {
    RegistryStore& store;
    Settings& settings;
    const IntlStrings& intl;
    const FormatSettings& formats;
    Clock& clock;
    MonitorView& view;
    WindowFrame& frame;
    RasApi& ras;
    EventSink& events;
    LogAppender& log;
    const TotalTexts& totals;
    SessionState& session;
    ChimeSwitch& chime;
    TransferRates& xfer;
    MonitorFeatures features;
    const CommandLine& commandLine;
    // Problems with stored values and the settings file, each reported once.
    ProblemReports& problems;
    // The run's accounting; set once it is built, after the modules are
    // attached, so a module reads it only when one of its commands runs.
    SessionAccounting* accounting = nullptr;
    // The window's own commands; set like the accounting.
    WindowCommands* window = nullptr;
    // Ends the program in order; set before the modules are attached.
    ApplicationControl* app = nullptr;
};

// The user's total minutes ("Connected"); 0 when it cannot serve as a total.
qint64 ConnectedMinutes(const Settings& settings);
