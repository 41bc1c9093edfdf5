#pragma once
// The modal parts of the companion's window: message boxes, the save, open
// and folder dialogs, and running the Options dialog. The Qt implementation
// shows them; tests answer them without a user.

#include "CompanionObserver.h"

#include <QString>

#include <optional>

class QDialog;
class QWidget;

class DialogPresenter {
public:
    virtual ~DialogPresenter() = default;

    virtual MessageAnswer showMessage(QWidget* parent, const MessageBoxRequest& request) = 0;
    virtual std::optional<QString> askReportFileName(QWidget* parent,
                                                     const SaveDialogRequest& request) = 0;
    // The folder browser of "&Change...".
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                                const QString& start) = 0;
    // The open dialog of "&Add...": an existing log file.
    virtual std::optional<QString> chooseLogFile(QWidget* parent, const QString& startFolder) = 0;
    // Runs a dialog modally; QDialog::Accepted or Rejected.
    virtual int exec(QDialog& dialog) = 0;
};

class QtDialogPresenter : public DialogPresenter {
public:
    MessageAnswer showMessage(QWidget* parent, const MessageBoxRequest& request) override;
    std::optional<QString> askReportFileName(QWidget* parent,
                                             const SaveDialogRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& start) override;
    std::optional<QString> chooseLogFile(QWidget* parent, const QString& startFolder) override;
    int exec(QDialog& dialog) override;

    // A filter of the form "Text|*.txt|All|*.*" as Qt writes it.
    static QString qtFilter(const QString& filter);
};
