#pragma once
// The engine's observer for the command-line mode: message boxes become
// lines on standard error, questions get their negative answer, and a
// warning is remembered as a failure for the exit status.

#include "CompanionObserver.h"

class ConsoleObserver : public CompanionObserver {
public:
    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    std::optional<QString> askReportFileName(const SaveDialogRequest& request) override;

    bool failed() const { return m_failed; }

private:
    bool m_failed = false;
};
