#pragma once
// PostEvent: the one routine through which the monitor reports to the user.
// It keeps the tray icon, the status picture, the first status line, the
// history list and the tray hint consistent.

#include "EventKind.h"

#include <QString>

class Clock;
class EventObserver;
class MonitorView;
struct FormatSettings;

// The first status line shows at most this many characters and then "...".
constexpr int kStatusLineLimit = 48;

class EventReporter : public EventSink {
public:
    // observer, when given, hears of every event before the view changes.
    EventReporter(MonitorView& view, const Clock& clock, const FormatSettings& formats,
                  EventObserver* observer = nullptr);

    // An empty text changes only the two pictures.
    void PostEvent(const QString& text, EventKind kind) override;

    // text, or its first 48 characters and "..." when it is longer.
    static QString statusLineText(const QString& text);

private:
    MonitorView& m_view;
    const Clock& m_clock;
    const FormatSettings& m_formats;
    EventObserver* m_observer;
};
