#pragma once
// Plays a sound file (the chime) without blocking; the outcome is reported
// later, since loading a file takes a while.

#include <QString>

#include <functional>

class SoundPlayer {
public:
    // Called once per play(): true when the file started playing, false when
    // it could not be played (a beep is given instead) or a newer play()
    // replaced it before it started.
    using Outcome = std::function<void(bool played)>;

    virtual ~SoundPlayer() = default;

    // Returns at once; outcome, when given, is called on this thread, possibly
    // before play() returns.
    virtual void play(const QString& file, Outcome outcome = {}) = 0;
};
