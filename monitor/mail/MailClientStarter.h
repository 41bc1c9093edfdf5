#pragma once
// Starting the e-mail program (mnuReadMailClick, behind "Read N new e-mail
// message(s)" and the toolbar's e-mail button): the program that "Mail
// client" names, after a confirmation the user can switch off.

class MailView;
class Shell;
struct MonitorParts;

class MailClientStarter {
public:
    MailClientStarter(MonitorParts& parts, MailView& view, Shell& shell);

    void mnuReadMailClick();

private:
    bool confirmed();

    MonitorParts& m_parts;
    MailView& m_view;
    Shell& m_shell;
};
