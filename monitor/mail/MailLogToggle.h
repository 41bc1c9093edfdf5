#pragma once
// View > Mail monitor log (Maillog1Click): shows the mail log over the event
// list, or the event list again. A window in its small form first takes the
// detailed height, so that there is room for the log.

class MailView;
class WindowFrame;

class MailLogToggle {
public:
    MailLogToggle(WindowFrame& frame, MailView& view) : m_frame(frame), m_view(view) {}

    void Maillog1Click();

private:
    WindowFrame& m_frame;
    MailView& m_view;
};
