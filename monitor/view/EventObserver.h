#pragma once
// Told of every reported event as it is posted, before the window changes;
// the headless view writes each one as a line.

#include "EventKind.h"

#include <QString>

class EventObserver {
public:
    virtual ~EventObserver() = default;
    virtual void eventPosted(const QString& text, EventKind kind) = 0;
};
