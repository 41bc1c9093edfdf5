#include "Clock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <limits>

namespace {

// Runs a nested event loop for at most ms real milliseconds, or until the
// wait ends.
void runNestedLoop(ClockWait& wait, qint64 ms) {
    if (wait.ended() || ms <= 0)
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(int(qMin<qint64>(ms, std::numeric_limits<int>::max())));
    wait.setLoop(&loop);
    loop.exec();
    wait.setLoop(nullptr);
}

// Lets every event that is ready run, without blocking. Bounded, so that a
// timer of zero interval cannot keep the wait from ever finishing.
void settle(ClockWait& wait) {
    constexpr int kMaxRounds = 1000;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (int round = 0; round < kMaxRounds && !wait.ended(); ++round) {
        QCoreApplication::sendPostedEvents();
        if (!dispatcher || !dispatcher->processEvents(QEventLoop::AllEvents))
            break;
    }
}

} // namespace

void ClockWait::end() {
    m_ended = true;
    if (m_loop)
        m_loop->quit();
}

bool Clock::runUntil(ClockWait& wait, const QDateTime& deadline) {
    // A deadline already passed still lets what is ready end the wait.
    settle(wait);
    runNestedLoop(wait, now().msecsTo(deadline));
    return wait.ended();
}

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

void SystemClock::sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

bool ManualClock::runUntil(ClockWait& wait, const QDateTime& deadline) {
    settle(wait);
    if (!wait.ended() && m_waitPatienceMs > 0 && m_now < deadline) {
        runNestedLoop(wait, m_waitPatienceMs);
        settle(wait);
    }
    if (wait.ended())
        return true;
    if (m_now < deadline)
        m_now = deadline;
    return false;
}
