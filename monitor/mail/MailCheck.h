#pragma once
// The new-mail check (Button1Click): while on line, asks the POP3 mailbox
// how many messages wait and shows "Read N new e-mail message(s)" in the
// tray menu, the File menu and the toolbar, or hides those again when none
// wait. Each check opens its own POP3 connection and closes it; every
// protocol line goes to the mail log, the password never.

#include "MonitorFeatures.h"

#include <QString>

class MailView;
class TPop3Client;
struct MonitorParts;

class MailCheck : public MailFeature {
public:
    // Before the check talks to the server.
    static constexpr int kPauseMs = 2000;

    MailCheck(MonitorParts& parts, TPop3Client& pop3, MailView& view);

    // A check that starts while one is running (a timer tick during its
    // waits) does nothing.
    void Button1Click() override;
    void SetTimeout(int seconds) override;
    // The client's OnDisplay: each line into the mail log, filtered.
    void POP3Display(const QString& msg);
    // A line with "PASS" anywhere in it is logged as "> PASS ******".
    static QString MailLogLine(const QString& msg);
    bool running() const { return m_running; }

private:
    bool configure();
    void check();
    void showNewMail(qint32 count);

    MonitorParts& m_parts;
    TPop3Client& m_pop3;
    MailView& m_view;
    bool m_running = false;
    // The count the new-mail commands show; 0 while they are hidden.
    qint32 m_shown = 0;
};
