#pragma once
// FormCreate: the monitor's start-up, in its fixed order, from the recovery
// of an unfinished connection to marking the run as not yet ended in order.

#include "MonitorParts.h"

#include <QString>

#include <functional>

class SessionAccounting;
class WindowCommands;

class StartupSequence {
public:
    // failure reports an exception that ends one step; start-up goes on.
    StartupSequence(const MonitorParts& parts, SessionAccounting& accounting,
                    WindowCommands& window, std::function<void(const std::exception&)> failure);

    void FormCreate();

private:
    void guarded(const std::function<void()>& step);
    void installMode();
    void captionsAndToolbar();
    void firstRun();
    void startedEvent();
    void showOrHide();
    void totalsLines();
    void connectionFeatures();
    void badTerminationCheck();
    QString totalText() const;

    MonitorParts m_parts;
    SessionAccounting& m_accounting;
    WindowCommands& m_window;
    std::function<void(const std::exception&)> m_failure;
};
