#pragma once
// Shared by the window tests: dialogs answered without a user, help and
// printing that only record, and a main window on a store of the test's own.

#include "CompanionServices.h"
#include "MemoryRegistryStore.h"
#include "TfrmMain.h"

#include <QDateTime>
#include <QList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class ScriptedDialogs : public DialogPresenter {
public:
    MessageAnswer showMessage(QWidget*, const MessageBoxRequest& request) override {
        messages.append(request);
        return request.buttons == MessageButtons::YesNo ? answer : MessageAnswer::Ok;
    }
    std::optional<QString> askReportFileName(QWidget*, const SaveDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseFolder(QWidget*, const QString& title, const QString&) override {
        folderTitles.append(title);
        return folder;
    }
    std::optional<QString> chooseLogFile(QWidget*, const QString& start) override {
        fileStarts.append(start);
        return file;
    }
    int exec(QDialog& dialog) override { return onExec ? onExec(dialog) : 0; }

    QList<MessageBoxRequest> messages;
    MessageAnswer answer = MessageAnswer::No;
    std::optional<QString> folder;
    std::optional<QString> file;
    QStringList folderTitles;
    QStringList fileStarts;
    std::function<int(QDialog&)> onExec;
};

class RecordingHelp : public HelpService {
public:
    void showContents(int language) override { contents.append(language); }
    void showContext(int language, int context) override { contexts.append({language, context}); }
    QList<int> contents;
    QList<std::pair<int, int>> contexts;
};

class RecordingPrinter : public ReportPrinter {
public:
    bool print(const QString& path) override {
        printed.append(path);
        return true;
    }
    QStringList printed;
};

namespace WindowTest {

// Stockholm, 20 March 2001 10:00.
QDateTime today();
// Lines joined with CR LF, each one ended.
void writeLog(const QString& path, const QStringList& lines);
// Three Swedish-format connection lines of anna and bob.
QStringList sampleLines();

// Everything a main window needs, owned together.
struct Rig {
    Rig();
    CompanionServices services();
    std::unique_ptr<TfrmMain> window();
    // Names a log file in slot n.
    void setSlot(int n, const QString& path);
    QString read(RegRoot root, const QString& key, const QString& name) const;

    QTemporaryDir dir;
    MemoryRegistryStore store;
    ManualClock clock;
    ScriptedDialogs dialogs;
    RecordingHelp help;
    RecordingPrinter printer;
};

} // namespace WindowTest
