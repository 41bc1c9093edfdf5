#pragma once
// SIGTERM and SIGINT end the monitor in order: the signal is handed to the
// event loop, which calls the handler there.

#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Only one instance per process; handler runs on this thread.
    explicit TerminationSignals(std::function<void()> handler, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void received();

    std::function<void()> m_handler;
    QSocketNotifier* m_notifier = nullptr;
};
