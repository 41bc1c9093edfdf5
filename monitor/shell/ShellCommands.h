#pragma once
// The monitor's commands that hand work to the desktop: starting the
// companion, the help pages and the web commands of the Help menu.

#include <QString>

class EventSink;
class HelpPages;
class IntlStrings;
class MonitorView;
class QUrl;
class RegistryStore;
class Shell;
enum class WebPage;

class ShellCommands {
public:
    // programFolder holds the companion; help holds the help pages.
    ShellCommands(Shell& shell, MonitorView& view, EventSink& events, const IntlStrings& intl,
                  const RegistryStore& store, const HelpPages& help, QString programFolder);

    // Starts the companion from the monitor's folder as a process of its
    // own; a warning box when it is missing or cannot start.
    void Companion1Click();
    // The help page of the current language at its contents or its index.
    void Helpcontents1Click();
    void Helpindex1Click();
    void UpdateCentral1Click();
    void Homepage1Click();
    // A new message to the feedback address; a box when none is set up.
    void Support1Click();
    // Asks first (OK and Cancel); opens the holiday page on OK.
    void HDefClick();
    void VarnholtHome1Click();

private:
    int language() const;
    void openPage(WebPage which);
    void open(const QUrl& url);

    Shell& m_shell;
    MonitorView& m_view;
    EventSink& m_events;
    const IntlStrings& m_intl;
    const RegistryStore& m_store;
    const HelpPages& m_help;
    QString m_programFolder;
};
