#include "ReportWheel.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdlib>

ReportWheel::ReportWheel(QPlainTextEdit* report) : QObject(report), m_report(report) {
    report->viewport()->installEventFilter(this);
}

int ReportWheel::linesFor(int angleDelta) {
    if (angleDelta == 0)
        return 0;
    const int lines = std::abs(angleDelta) / 120 + 1;
    return angleDelta < 0 ? lines : -lines;
}

bool ReportWheel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || watched != m_report->viewport())
        return QObject::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const int lines = linesFor(wheel->angleDelta().y());
    if (lines == 0)
        return QObject::eventFilter(watched, event);
    QScrollBar* bar = m_report->verticalScrollBar();
    // The report scrolls by text lines: one scroll-bar step is one line.
    bar->setValue(bar->value() + lines * bar->singleStep());
    return true;
}
