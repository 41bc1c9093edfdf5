#pragma once
// The mail log and the confirmation form in the status window.

#include "MailView.h"

class QPlainTextEdit;
class QWidget;

class WindowMailView : public MailView {
public:
    // memoMailLog lies over the event list; owner is the parent of the form.
    WindowMailView(QPlainTextEdit& memoMailLog, QWidget* owner);

    void appendMailLog(const QString& line) override;
    void setMailLogVisible(bool visible) override;
    void newMailChanged(int, const QString&) override {}
    Confirmation confirmMailClient(const ConfirmTexts& texts) override;

private:
    QPlainTextEdit& m_memo;
    QWidget* m_owner;
};
