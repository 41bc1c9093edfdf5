#pragma once
// The About box: what it tells (version, licence, the Qt it runs on) and who
// shows it: a dialog in the window, a message box line in a headless run.

#include <QString>

class IntlStrings;
class MonitorView;

struct AboutFacts {
    QString caption;
    QString program;
    QString version;
    QString description;
    QString licence;
    QString qtVersion;
    // The caption of the box's button.
    QString closeText;

    // The facts of this build in the current language.
    static AboutFacts current(const IntlStrings& intl);
    // All of it as plain text lines.
    QString text() const;
};

class AboutPresenter {
public:
    virtual ~AboutPresenter() = default;
    // Shows the box modally.
    virtual void showAbout(const AboutFacts& facts) = 0;
};

// The box as a message box of the monitor's view (headless runs, tests).
class MessageBoxAbout : public AboutPresenter {
public:
    explicit MessageBoxAbout(MonitorView& view) : m_view(view) {}
    void showAbout(const AboutFacts& facts) override;

private:
    MonitorView& m_view;
};
