#pragma once
// What the poller and the start-up call while a connection is timed and when
// it ends: the per-second accounting, the close-out into the totals, the limit
// checks and the chime tick; and the switch of the chime timer.

class SessionAccounting {
public:
    virtual ~SessionAccounting() = default;

    // One accounting update of the connection being timed.
    virtual void Timer1Timer() = 0;
    // Closes the connection out (times of day); leaves Online false and the
    // chime timer off.
    virtual void EndSession(double startTime, double endTime) = 0;
    virtual void CheckTotalLimits() = 0;
    // One tick of the chime timer.
    virtual void ChimeTimer() = 0;
    // At every tick: what could not be stored or logged before (the settings
    // file or the log was not writable) is tried again, oldest first.
    virtual void SaveKept() {}
    // At the orderly end, the last try; false when something is still not
    // stored or logged (then it has been reported).
    virtual bool SaveAtExit() { return true; }
};

// The chime timer: enabling (re)starts its 61-second period.
class ChimeSwitch {
public:
    virtual ~ChimeSwitch() = default;
    virtual void setChimeEnabled(bool enabled) = 0;
    virtual bool chimeEnabled() const = 0;
};
