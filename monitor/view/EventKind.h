#pragma once
// The kinds of reported events, each with its picture, and the one routine
// through which every part of the monitor reports to the user.

#include <QString>

enum class EventKind : int {
    Information = 1,
    Connected = 2,
    Progress = 3,
    Error = 4,
    Warning = 5,
    NewMail = 6,
};

class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void PostEvent(const QString& text, EventKind kind) = 0;
};
