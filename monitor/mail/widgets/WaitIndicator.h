#pragma once
// Wait1, the countdown bar of the status window: a white box whose bar
// shrinks with the remaining seconds, the seconds written at its left. While
// a modal wait runs, key presses and mouse clicks on the program's windows
// are swallowed with a beep; timers, sockets and painting go on.

#include "WaitDisplay.h"

#include <QWidget>

class WaitIndicator : public QWidget, public WaitDisplay {
    Q_OBJECT
public:
    explicit WaitIndicator(QWidget* parent = nullptr);
    ~WaitIndicator() override;

    // WaitDisplay
    void setCountdownVisible(bool visible) override;
    void showCountdown(const QString& caption, int remaining, int total) override;
    void modalWaitStarted() override;
    void modalWaitEnded() override;

    QString caption() const { return m_caption; }
    bool swallowingInput() const { return m_depth > 0; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeInParent();

    QString m_caption;
    int m_remaining = 0;
    int m_total = 0;
    int m_depth = 0;
};
