#pragma once
// What the engine tells the one who shows it (the window, the console mode, a
// test): status texts, progress, message boxes and the questions it asks.

#include <QString>

#include <optional>

enum class MessageIcon { Information, Warning };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageBoxRequest {
    QString caption; // always "Tollwatch Companion"
    QString text;
    MessageIcon icon = MessageIcon::Warning;
    MessageButtons buttons = MessageButtons::Ok;
    bool foreground = false; // bring the box to the front
};

// The save dialog of "Save report" when "Ask for reportname" is on.
struct SaveDialogRequest {
    QString title;            // "Save master log"
    QString filter;           // "Log text files|*.txt; *.log|All files|*.*"
    QString defaultExtension; // "txt"
    QString folder;           // native path of the report folder
    QString fileName;         // the proposed name
    bool confirmOverwrite = true;
};

class CompanionObserver {
public:
    virtual ~CompanionObserver() = default;

    // The hourglass cursor during a compile run.
    virtual void setBusy(bool) {}
    // A compile run starts: the list and report views are emptied.
    virtual void compileStarted() {}
    // Panel 0 carries messages, panel 1 the row count; repaint after each.
    virtual void setStatusText(int, const QString&) {}
    virtual void setProgressVisible(bool) {}
    // 0 to 100.
    virtual void setProgress(int) {}
    // Shows a message box and returns the button chosen.
    virtual MessageAnswer showMessage(const MessageBoxRequest& request) = 0;
    // Opens the help file at a context number.
    virtual void openHelp(int) {}
    // The save dialog; the chosen file, or nullopt on Cancel.
    virtual std::optional<QString> askReportFileName(const SaveDialogRequest& request) = 0;
};
