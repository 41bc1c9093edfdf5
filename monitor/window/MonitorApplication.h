#pragma once
// The desktop application object: an exception that escapes an event handler
// is handed to the monitor (AppException) instead of ending the program.

#include <QApplication>

#include <functional>

class MonitorApplication : public QApplication {
    Q_OBJECT
public:
    MonitorApplication(int& argc, char** argv);

    void setExceptionHandler(std::function<void(const QString&)> handler) {
        m_handler = std::move(handler);
    }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void(const QString&)> m_handler;
};
