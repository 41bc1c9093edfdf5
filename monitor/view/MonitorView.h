#pragma once
// What the monitor's behaviour shows the user, independent of how: the Qt
// window with its tray icon, the headless console view, or a recording view
// in tests. Message boxes and prompts return the user's answer.

#include "EventKind.h"

#include <QString>
#include <QStringList>

#include <optional>

enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };
enum class BoxIcon { None, Information, Warning, Error, Question };
enum class BeepKind { Default, Information, Warning, Error, Question };

// The command name of one item of a submenu filled with setCommandItems:
// "Connect2:Hometown Dial" is the entry "Hometown Dial" of the submenu
// "Connect2". The entry is everything after the first colon.
inline QString commandItemName(const QString& menuName, const QString& entry) {
    return menuName + QLatin1Char(':') + entry;
}

class MonitorView {
public:
    virtual ~MonitorView() = default;

    // The tray icon and the status picture show the picture of kind.
    virtual void setPictures(EventKind kind) = 0;
    // Appends a row to the history list and scrolls it into view.
    virtual void addHistoryRow(const QString& text, const QString& time, EventKind kind) = 0;
    // line 1..3 (Label1..Label3).
    virtual void setStatusLine(int line, const QString& text) = 0;
    virtual void setStatusLineVisible(int line, bool visible) = 0;
    virtual void setTrayHint(const QString& text) = 0;
    // The application title; the window caption follows it.
    virtual void setApplicationTitle(const QString& text) = 0;
    // The transfer-rate line (lblXfer).
    virtual void setXferText(const QString& text) = 0;
    virtual void setXferVisible(bool visible) = 0;
    // Drawn greyed while nothing has been sent since the baseline.
    virtual void setXferEnabled(bool enabled) { (void)enabled; }

    // Menu items and buttons by design name ("Disconnect1", "Dialdart1", ...).
    virtual void setCommandCaption(const QString& name, const QString& caption) = 0;
    virtual void setCommandEnabled(const QString& name, bool enabled) = 0;
    virtual void setCommandVisible(const QString& name, bool visible) = 0;
    // Fills the submenu menuName ("Connect2", "Connectusing1") with one item
    // per entry, in order, ahead of its hidden placeholder; the item shows the
    // entry as it is and runs commandItemName(menuName, entry). A later call
    // replaces the items of an earlier one.
    virtual void setCommandItems(const QString& menuName, const QStringList& entries) {
        (void)menuName;
        (void)entries;
    }

    // The texts now follow language k (0 English ... 8 Danish); the window
    // loads the toolkit's own texts (the standard buttons) for it.
    virtual void setLanguage(int languageOffset) { (void)languageOffset; }

    // Shows and restores the status window (the tray icon's click).
    virtual void showWindow() = 0;

    virtual BoxAnswer messageBox(const QString& caption, const QString& text, BoxButtons buttons,
                                 BoxIcon icon, BoxAnswer defaultAnswer) = 0;
    // Asks for the fields named by labels (a password field when its label is
    // in passwordFields); nullopt when cancelled.
    virtual std::optional<QStringList> prompt(const QString& caption, const QStringList& labels,
                                              const QStringList& initial,
                                              const QList<int>& passwordFields) = 0;

    // Hands a file to the desktop's program for it (the log viewer).
    virtual void openDocument(const QString& path) = 0;

    virtual void beep(BeepKind kind) = 0;
    // Plays a sound file without blocking; a beep when it cannot be played.
    virtual void playSound(const QString& file) = 0;
};
