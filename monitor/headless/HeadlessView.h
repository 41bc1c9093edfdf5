#pragma once
// The monitor without widgets: every reported event, message box and prompt
// (with the answer it got) is one line on the output, stamped with the
// clock's date and time; with tracing also every change of a visible text,
// every beep and every sound. Boxes take their answers from a queue, else
// their default.

#include "EventObserver.h"
#include "MonitorView.h"
#include "Scenario.h"
#include "StringTable.h"
#include "WindowFrame.h"

#include <QHash>
#include <QList>
#include <QRect>
#include <QSet>

#include <functional>

class Clock;

class HeadlessView : public MonitorView, public WindowFrame, public EventObserver {
public:
    using LineSink = std::function<void(const QString& line)>;

    // sink receives each line without its line end.
    HeadlessView(const Clock& clock, bool trace, LineSink sink);

    // Answers for the next boxes and prompts, used in order.
    void setAnswers(const QList<ScenarioAnswer>& answers) { m_answers = answers; }
    // Keeps the program going (its timers ticking) while a box stays open for
    // an answer's wait, as a modal box's own event loop does.
    void setBoxWait(std::function<void(int seconds)> wait) { m_boxWait = std::move(wait); }
    // A diagnostic of our own ("info" line).
    void info(const QString& text);
    // A line of another kind ("shell", "mail", ...) from a feature of the run.
    void record(const QString& type, const QStringList& fields) { line(type, fields); }

    // Tab, CR, LF and backslash as \t, \r, \n and \\, as in the string tables.
    static QString escaped(const QString& text) { return StringTable::escape(text); }

    // EventObserver
    void eventPosted(const QString& text, EventKind kind) override;

    // MonitorView
    void setPictures(EventKind) override {}
    void addHistoryRow(const QString&, const QString&, EventKind) override {}
    void setStatusLine(int line, const QString& text) override;
    void setStatusLineVisible(int line, bool visible) override;
    void setTrayHint(const QString& text) override;
    void setApplicationTitle(const QString& text) override;
    void setXferText(const QString& text) override;
    void setXferVisible(bool visible) override;
    void setXferEnabled(bool enabled) override;
    void setCommandCaption(const QString& name, const QString& caption) override;
    void setCommandEnabled(const QString& name, bool enabled) override;
    void setCommandVisible(const QString& name, bool visible) override;
    // Traced as "NAME.Items" with the entries one a line.
    void setCommandItems(const QString& menuName, const QStringList& entries) override;
    void showWindow() override { restoreWindow(); }
    BoxAnswer messageBox(const QString& caption, const QString& text, BoxButtons buttons,
                         BoxIcon icon, BoxAnswer defaultAnswer) override;
    std::optional<QStringList> prompt(const QString& caption, const QStringList& labels,
                                      const QStringList& initial,
                                      const QList<int>& passwordFields) override;
    void openDocument(const QString& path) override;
    void beep(BeepKind kind) override;
    void playSound(const QString& file) override;

    // WindowFrame: a window of the design size on a 1024 x 768 screen.
    QRect frameGeometry() const override { return m_geometry; }
    void setFramePosition(int left, int top) override { m_geometry.moveTo(left, top); }
    void setFrameSize(int width, int height) override;
    QSize screenSize() const override { return {1024, 768}; }
    int pixelsPerInch() const override { return 96; }
    bool historyVisible() const override { return m_historyVisible; }
    void setHistoryVisible(bool visible) override { m_historyVisible = visible; }
    void setHistoryHeight(int) override {}
    bool toolbarVisible() const override { return m_toolbarVisible; }
    void setToolbarVisible(bool visible) override { m_toolbarVisible = visible; }
    void setCommandChecked(const QString& name, bool checked) override;
    bool commandChecked(const QString& name) const override { return m_checked.contains(name); }
    void setCommandHint(const QString&, const QString&) override {}
    void setTrayDefaultCommand(const QString& name) override;
    void setStayOnTop(bool) override {}
    void restoreWindow() override;
    void hideToTray() override;
    void processPendingEvents() override {}

private:
    void line(const QString& type, const QStringList& fields);
    // A "view" line when tracing and the value differs from the last one.
    void traceView(const QString& name, const QString& value);
    std::optional<ScenarioAnswer> nextAnswer();
    void waitFor(const std::optional<ScenarioAnswer>& answer);

    const Clock& m_clock;
    bool m_trace;
    LineSink m_sink;
    QList<ScenarioAnswer> m_answers;
    std::function<void(int seconds)> m_boxWait;
    QHash<QString, QString> m_shown;
    QSet<QString> m_checked;
    QRect m_geometry{10, 10, 320, 243};
    bool m_historyVisible = true;
    bool m_toolbarVisible = true;
};
