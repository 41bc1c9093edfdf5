#include "EventReporter.h"

#include "Clock.h"
#include "EventObserver.h"
#include "FormatSettings.h"
#include "MonitorView.h"
#include "TrayHint.h"

EventReporter::EventReporter(MonitorView& view, const Clock& clock, const FormatSettings& formats,
                             EventObserver* observer)
    : m_view(view), m_clock(clock), m_formats(formats), m_observer(observer) {}

void EventReporter::PostEvent(const QString& text, EventKind kind) {
    if (m_observer)
        m_observer->eventPosted(text, kind);
    m_view.setPictures(kind);
    if (text.isEmpty())
        return;
    m_view.addHistoryRow(text, m_formats.formatTime(m_clock.now().time()), kind);
    m_view.setStatusLine(1, statusLineText(text));
    m_view.setTrayHint(fitTrayHint(text));
}

QString EventReporter::statusLineText(const QString& text) {
    if (text.size() <= kStatusLineLimit)
        return text;
    return text.left(kStatusLineLimit) + QStringLiteral("...");
}
