#include "MonitorApplication.h"

MonitorApplication::MonitorApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool MonitorApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (!m_handler)
            throw;
        m_handler(QString::fromUtf8(e.what()));
    }
    return false;
}
