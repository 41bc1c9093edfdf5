#pragma once
// The mail monitor as a feature of a run: the POP3 client with its
// countdown wait, the new-mail check in the MailFeature seam, and the
// commands it answers: the mail log (Maillog1) and the e-mail program
// (Readmail, mnuReadMail, toolMailClient).

#include "FeatureModule.h"
#include "TPop3Client.h"

#include <memory>

class MailCheck;
class MailClientStarter;
class MailLogToggle;
class MailView;
class Shell;
class TWait;
class WaitDisplay;

class MailModule : public FeatureModule {
public:
    // display: the window's countdown bar; null in headless runs.
    MailModule(Shell& shell, MailView& view, WaitDisplay* display = nullptr);
    ~MailModule() override;

    void attach(MonitorParts& parts, CommandTable& commands) override;

    TPop3Client& client() { return m_pop3; }

private:
    Shell& m_shell;
    MailView& m_view;
    WaitDisplay* m_display;
    std::unique_ptr<TWait> m_wait;
    TPop3Client m_pop3;
    std::unique_ptr<MailCheck> m_check;
    std::unique_ptr<MailClientStarter> m_starter;
    std::unique_ptr<MailLogToggle> m_logToggle;
};
