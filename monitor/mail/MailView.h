#pragma once
// What the new-mail check shows besides the status window's common parts:
// the mail log (memoMailLog), the new-mail state as a whole, and the
// confirmation before the e-mail program starts (TfrmConfirm). The window
// and the headless run implement it.

#include <QString>

class MailView {
public:
    struct ConfirmTexts {
        QString caption;
        QString text;
        QString skip;
        QString ok;
        QString cancel;
    };
    struct Confirmation {
        bool ok = false;
        // "Skip this message in the future" was ticked.
        bool skipInFuture = false;
    };

    virtual ~MailView() = default;
    // One more line at the end of the mail log.
    virtual void appendMailLog(const QString& line) = 0;
    // The mail log lies over the event list while shown.
    virtual void setMailLogVisible(bool visible) = 0;
    // The new-mail commands now show count messages; 0 when they were
    // hidden. Called only when the state changes.
    virtual void newMailChanged(int count, const QString& caption) = 0;
    virtual Confirmation confirmMailClient(const ConfirmTexts& texts) = 0;
};
