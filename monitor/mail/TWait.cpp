#include "TWait.h"

#include "Clock.h"
#include "WaitDisplay.h"

TWait::TWait(Clock& clock, WaitDisplay* display) : m_clock(clock), m_display(display) {}

void TWait::setCaption(const QString& caption) {
    show(caption);
}

void TWait::show(const QString& caption) {
    m_caption = caption;
    if (m_display)
        m_display->showCountdown(caption, m_remaining, m_startSeconds);
}

TWait::ModalResult TWait::StartModal() {
    if (m_running)
        return NoResult;
    m_modalResult = NoResult;
    start();
    if (m_display)
        m_display->modalWaitStarted();
    // Ticks fall on whole seconds after the start, however late a loop
    // returns, so a wait of N seconds ends N seconds after it began.
    const QDateTime started = m_clock.now();
    for (int k = 1; m_running; ++k) {
        ClockWait wait;
        m_current = &wait;
        const bool ended = m_clock.runUntil(wait, started.addSecs(k));
        m_current = nullptr;
        if (!ended && m_running)
            tick();
    }
    if (m_display)
        m_display->modalWaitEnded();
    return m_modalResult;
}

void TWait::start() {
    bool ok = false;
    m_startSeconds = m_caption.trimmed().toInt(&ok);
    if (!ok || m_startSeconds == 0) {
        m_startSeconds = kDefaultSeconds;
        m_caption = QString::number(kDefaultSeconds);
    }
    m_remaining = m_startSeconds;
    m_running = true;
    show(m_caption);
    if (OnWaitStart)
        OnWaitStart();
}

void TWait::tick() {
    if (OnWait)
        OnWait(m_remaining - 1);
    if (m_remaining >= 2) {
        --m_remaining;
        show(QString::number(m_remaining));
        return;
    }
    m_running = false;
    m_remaining = 0;
    show(QStringLiteral("Timeout"));
    m_modalResult = TimedOut;
    m_remaining = m_startSeconds;
    show(QString::number(m_startSeconds));
    if (OnTimeout)
        OnTimeout();
}

void TWait::Stop() {
    if (!m_running)
        return;
    m_modalResult = Stopped;
    m_running = false;
    m_remaining = m_startSeconds;
    show(QString::number(m_startSeconds));
    if (OnWaitStop)
        OnWaitStop();
    if (m_current)
        m_current->end();
}
