#pragma once
// The status window's own commands and its placement: the details, toolbar
// and on-top views, showing and hiding to the tray, the close box, and the
// placement and view options restored at start-up and kept at the end.

#include <QString>

class DialFeature;
class IntlStrings;
class MonitorView;
class Settings;
class WindowFrame;

class WindowCommands {
public:
    WindowCommands(Settings& settings, MonitorView& view, WindowFrame& frame,
                   const IntlStrings& intl, DialFeature& dial);

    // The status window is showing (not only the tray icon).
    bool WindowShown() const { return m_windowShown; }
    void setWindowShown(bool shown) { m_windowShown = shown; }

    // Start-up: the toolbar from "MainToolbarVisible".
    void RestoreToolbar();
    // Start-up: position, details view and size from the store.
    void RestorePlacement();
    // Start-up: the transfer-rate line and the history height that follows it.
    void RestoreXferLine();
    // The same without touching the line's text (after the settings changed).
    void ShowXferLine();
    // The tray menu's default item by "Dialdart oneclick" (default true).
    void RestoreTrayDefault();
    // End: the placement and view options into the store.
    void SavePlacement();

    void IEButton2Click(); // Details
    void Toolbar1Click();  // Toolbar
    void Ontop1Click();    // On top
    void TrayConn();       // single click on the tray icon
    void TrayIcon1Click(); // double click, Show statistics
    void Minimera();       // off the task bar, only the tray icon
    void FormClose();      // the close box hides to the tray
    void Button2Click();   // the new-mail display, for two messages
    // A wheel notch (120 or -120) toggles the details view.
    void appmessage(int wheelDelta);

private:
    int scaled(int hundredths) const;
    int readInt(const QString& name, int def) const;
    void setDetailsChecks();

    Settings& m_settings;
    MonitorView& m_view;
    WindowFrame& m_frame;
    const IntlStrings& m_intl;
    DialFeature& m_dial;
    bool m_windowShown = false;
};
