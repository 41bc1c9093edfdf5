#pragma once
// What the user sees of the countdown wait (Wait1) and how the program's
// windows behave while it runs. The window implements it with a small bar
// that swallows key and mouse input; headless runs have none.

#include <QString>

class WaitDisplay {
public:
    virtual ~WaitDisplay() = default;
    // The countdown control is shown during a wait for a connection.
    virtual void setCountdownVisible(bool visible) = 0;
    // caption: the remaining seconds as text, or "Timeout"; remaining and
    // total give the bar's share.
    virtual void showCountdown(const QString& caption, int remaining, int total) = 0;
    // A modal wait begins or ends: key presses and mouse clicks on the
    // program's windows are refused meanwhile.
    virtual void modalWaitStarted() = 0;
    virtual void modalWaitEnded() = 0;
};
