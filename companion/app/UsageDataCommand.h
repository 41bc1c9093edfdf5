#pragma once
// `companion --report --format csv|json`: the usage figures of a compile run
// as data, on standard output or in a file; and the observer that keeps the
// text report's own complaints (no rows, a share it cannot form) out of it,
// since the data states those cases itself.

#include "CommandLine.h"
#include "CompanionEngine.h"

#include <QStringList>

// Passes every message on, except those whose text is one of the given ones.
class MessageFilter : public CompanionObserver {
public:
    explicit MessageFilter(CompanionObserver& next) : m_next(next) {}

    void leaveOut(const QStringList& texts) { m_leftOut = texts; }

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    std::optional<QString> askReportFileName(const SaveDialogRequest& request) override {
        return m_next.askReportFileName(request);
    }

private:
    CompanionObserver& m_next;
    QStringList m_leftOut;
};

// The texts of the report's own messages, in the engine's language.
QStringList reportMessages(const CompanionEngine& engine);

// Writes the data of the last compile run; false (after a message on standard
// error) when the output could not be written.
bool writeUsageData(const CompanionEngine& engine, const CommandLine& line,
                    const QDateTime& compiled);
