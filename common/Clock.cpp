#include "Clock.h"

#include <QThread>

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

void SystemClock::sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
