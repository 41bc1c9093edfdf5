#pragma once
// One monitor run without its widgets: the session record, PostEvent, the
// poller, the start-up sequence, the window commands and the orderly end, on
// an injected clock, store, connection source, view and features. The Qt
// window, the headless runner and the tests drive it alike.

#include "CommandLine.h"
#include "CommandTable.h"
#include "ConnectionLogAppender.h"
#include "ConnectionPoller.h"
#include "EventReporter.h"
#include "IntlStrings.h"
#include "MonitorParts.h"
#include "ProblemReports.h"
#include "SessionAccounting.h"
#include "SessionState.h"
#include "Settings.h"
#include "StatusBoard.h"
#include "TotalTexts.h"
#include "TransferRates.h"
#include "WindowCommands.h"

#include <functional>
#include <memory>
#include <vector>

class ApplicationControl;
class EventObserver;
class FeatureModule;

struct MonitorEnvironment {
    RegistryStore& store;
    const FormatSettings& formats;
    Clock& clock;
    MonitorView& view;
    WindowFrame& frame;
    RasApi& ras;
    ChimeSwitch& chime;
    // Seams given directly (tests); a module may fill them as well.
    MonitorFeatures features;
    ApplicationControl& app;
    CommandLine commandLine;
    EventObserver* observer = nullptr;
    // Where a chime sound stored without a folder is looked for.
    QString soundFolder;
    // The feature modules of the run, attached in this order.
    std::vector<FeatureModule*> modules = {};
};

// Builds the session accounting from the run's services; the default builds
// MonitorAccounting.
using AccountingFactory = std::function<std::unique_ptr<SessionAccounting>(const MonitorParts&)>;

class MonitorCore : private PollerHost {
public:
    // The exit status of a run that ended in order but could not store or
    // log everything it timed (it was reported).
    static constexpr int kUnsavedExitStatus = 3;

    explicit MonitorCore(const MonitorEnvironment& env,
                         const AccountingFactory& makeAccounting = {});
    ~MonitorCore() override;
    MonitorCore(const MonitorCore&) = delete;
    MonitorCore& operator=(const MonitorCore&) = delete;

    void FormCreate();
    // Timer1; the state `--status` reports follows each tick.
    void MinTimer();
    // The chime timer; only while a connection is timed.
    void ChimeTick();
    // The orderly end: "Shut down", the window's placement and the marker
    // that the run ended in order, and the last try to store what is kept.
    void FormDestroy();
    // 0, or kUnsavedExitStatus after an end that left something unstored.
    int exitStatus() const { return m_exitStatus; }
    void Exit1Click();
    // An exception that escaped a handler: a warning beep and event.
    void AppException(const QString& message);
    // Another start of the monitor on the same store asked for the window.
    void SecondStartRequest() { m_window->TrayIcon1Click(); }

    // A command by its design name (menu item, button, tray action); false
    // when the name is unknown. An escaping exception goes to AppException.
    bool click(const QString& command);

    WindowCommands& window() { return *m_window; }
    SessionState& session() { return m_session; }
    EventSink& events() { return m_events; }
    const MonitorParts& parts() const { return m_parts; }
    StatusBoard& statusBoard() { return m_status; }

private:
    void TrayIcon1Click() override { m_window->TrayIcon1Click(); }
    void EndAfterDialledConnection() override;
    void addOwnCommands();
    void About1Click();
    void Viewlog1Click();
    void guarded(const std::function<void()>& handler);
    void reportFailure(const std::exception& e);

    MonitorEnvironment m_env;
    Settings m_settings;
    IntlStrings m_intl;
    EventReporter m_events;
    ProblemReports m_problems;
    ConnectionLogAppender m_log;
    TotalTexts m_totals;
    TransferRates m_xfer;
    SessionState m_session;
    MonitorParts m_parts;
    UnbuiltFeatures m_unbuilt;
    CommandTable m_commands;
    std::unique_ptr<SessionAccounting> m_accounting;
    std::unique_ptr<WindowCommands> m_window;
    std::unique_ptr<ConnectionPoller> m_poller;
    StatusBoard m_status;
    int m_exitStatus = 0;
};
