#pragma once
// The record of the connection being timed, shared by the poller, the
// per-second accounting, the session end and the chime.

#include <QString>

#include <cstdint>

struct ElapsedTime {
    std::uint16_t hours = 0;
    std::uint16_t minutes = 0;
    std::uint16_t seconds = 0;
};

struct SessionState {
    // A connection is being timed.
    bool Online = false;
    // Times of day as fractions of a day (one second is 1/86400).
    double StartTime = 0.0;
    double EndTime = 0.0;
    // The phone-book entry of the connection timed last; kept for the log.
    QString ConnectionName;
    // The last status text the poller acted on; survives a disconnection.
    QString LastStatusText;
    ElapsedTime Elapsed;
    // The cost of the connection being timed, as the last accounting update
    // priced it.
    double Cost = 0.0;
    // A Dialdart dial was started in this run (or the run began with /c);
    // never cleared during a run.
    bool DialStarted = false;
};
