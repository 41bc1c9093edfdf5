#pragma once
// Shared by the companion tests: an observer that records what the engine
// shows, the fixed "today" of the tests, and small file helpers.

#include "CompanionObserver.h"
#include "ConnectionTable.h"
#include "FormatSettings.h"
#include "UsageTables.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

class RecordingObserver : public CompanionObserver {
public:
    void setStatusText(int panel, const QString& text) override;
    void setProgressVisible(bool visible) override { progressVisible.append(visible); }
    void setProgress(int value) override { progress.append(value); }
    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    void openHelp(int context) override { helpContexts.append(context); }
    std::optional<QString> askReportFileName(const SaveDialogRequest& request) override;

    // Panel 0 and panel 1 texts in the order shown ("0:Opening ...").
    QStringList statuses;
    QList<bool> progressVisible;
    QList<int> progress;
    QList<MessageBoxRequest> messages;
    QList<int> helpContexts;
    QList<SaveDialogRequest> saveRequests;
    MessageAnswer answer = MessageAnswer::No;
    std::optional<QString> chosenFile;
};

namespace CompanionTest {

// 20 March 2001, 10:00: the "today" of the purge example.
QDateTime today();
// Lines joined with CR LF, each one ended.
QByteArray crlf(const QStringList& lines);
void writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);

// Rows, counters and tables of one log content (Swedish formats unless given).
struct Compiled {
    ConnectionTable rows;
    RunCounters counters;
    UsageTables tables;
};
Compiled compile(const QStringList& lines, const FormatSettings& fmt);
Compiled compile(const QStringList& lines);

} // namespace CompanionTest
