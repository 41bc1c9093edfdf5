#pragma once
// The recording fake of the monitor's view and window frame: it keeps what
// it was shown, in order, and answers boxes and prompts from a queue.

#include "MonitorView.h"
#include "WindowFrame.h"

#include <QHash>
#include <QList>
#include <QRect>
#include <QSet>
#include <QStringList>

#include <functional>
#include <optional>
#include <ostream>

// Failures show texts as text.
void PrintTo(const QString& text, std::ostream* os);

class RecordingView : public MonitorView, public WindowFrame {
public:
    struct Box {
        QString caption;
        QString text;
        BoxIcon icon = BoxIcon::None;
        BoxButtons buttons = BoxButtons::Ok;
    };
    struct Prompt {
        QString caption;
        QStringList labels;
        QStringList initial;
        QList<int> passwordFields;
    };
    struct Row {
        QString text;
        QString time;
        EventKind kind;
    };

    // What was shown, the latest first where only the latest counts.
    QString lines[4];
    bool lineVisible[4] = {true, true, true, true};
    QString trayHint;
    QString title;
    QString xferText;
    bool xferVisible = true;
    bool xferEnabled = true;
    QList<EventKind> pictures;
    QList<Row> rows;
    QList<Box> boxes;
    QList<Prompt> prompts;
    QList<BeepKind> beeps;
    QStringList sounds;
    QStringList openedDocuments;
    QHash<QString, QString> captions;
    QHash<QString, bool> enabled;
    QHash<QString, bool> visible;
    QHash<QString, QString> hints;
    // The entries of submenus filled with setCommandItems.
    QHash<QString, QStringList> items;
    QString trayDefault;
    int windowShows = 0;
    int hides = 0;
    // Every occurrence in order, as "kind:detail" (for order checks).
    QStringList journal;

    // Answers for the next boxes; the default answer when none is left.
    QList<BoxAnswer> answers;
    // What the next prompts answered OK return, in order, instead of their
    // initial fields (typed credentials).
    QList<QStringList> promptValues;
    // Called as a box is shown, before it returns (to look at the store then).
    std::function<void(const Box&)> onBox;

    // The frame.
    QRect geometry{10, 10, 320, 243};
    QSize screen{1024, 768};
    int ppi = 96;
    bool history = true;
    bool toolbar = true;
    bool onTop = false;
    QSet<QString> checked;

    void setPictures(EventKind kind) override;
    void addHistoryRow(const QString& text, const QString& time, EventKind kind) override;
    void setStatusLine(int line, const QString& text) override;
    void setStatusLineVisible(int line, bool shown) override;
    void setTrayHint(const QString& text) override;
    void setApplicationTitle(const QString& text) override;
    void setXferText(const QString& text) override { xferText = text; }
    void setXferVisible(bool shown) override { xferVisible = shown; }
    void setXferEnabled(bool on) override { xferEnabled = on; }
    void setCommandCaption(const QString& name, const QString& caption) override;
    void setCommandEnabled(const QString& name, bool on) override { enabled[name] = on; }
    void setCommandVisible(const QString& name, bool shown) override { visible[name] = shown; }
    void setCommandItems(const QString& menuName, const QStringList& entries) override {
        items[menuName] = entries;
    }
    void showWindow() override { restoreWindow(); }
    BoxAnswer messageBox(const QString& caption, const QString& text, BoxButtons buttons,
                         BoxIcon icon, BoxAnswer defaultAnswer) override;
    std::optional<QStringList> prompt(const QString& caption, const QStringList& labels,
                                      const QStringList& initial,
                                      const QList<int>& passwordFields) override;
    void openDocument(const QString& path) override { openedDocuments << path; }
    void beep(BeepKind kind) override;
    void playSound(const QString& file) override;

    QRect frameGeometry() const override { return geometry; }
    void setFramePosition(int left, int top) override { geometry.moveTo(left, top); }
    void setFrameSize(int width, int height) override { geometry.setSize({width, height}); }
    QSize screenSize() const override { return screen; }
    int pixelsPerInch() const override { return ppi; }
    bool historyVisible() const override { return history; }
    void setHistoryVisible(bool shown) override { history = shown; }
    void setHistoryHeight(int) override {}
    bool toolbarVisible() const override { return toolbar; }
    void setToolbarVisible(bool shown) override { toolbar = shown; }
    void setCommandChecked(const QString& name, bool on) override;
    bool commandChecked(const QString& name) const override { return checked.contains(name); }
    void setCommandHint(const QString& name, const QString& hint) override { hints[name] = hint; }
    void setTrayDefaultCommand(const QString& name) override { trayDefault = name; }
    void setStayOnTop(bool on) override { onTop = on; }
    void restoreWindow() override;
    void hideToTray() override;
    void processPendingEvents() override {}

    // The texts of the history rows, in order.
    QStringList rowTexts() const;
};
