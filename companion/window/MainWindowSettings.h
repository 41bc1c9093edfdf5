#pragma once
// What the main window keeps in the companion's key between runs: the seven
// column widths, the toolbar and status-bar visibility, and the window's
// place and size ("Left", "Top", "Width", "Height", "WindowState").

#include "Settings.h"

#include <QRect>

#include <array>
#include <optional>

struct WindowPlacement {
    enum State { Normal = 0, Minimized = 1, Maximized = 2 };
    QRect geometry;
    State state = Normal;
};

class MainWindowSettings {
public:
    static constexpr int kColumns = 7;
    // Column widths of a fresh installation ("Send" and "Recvd" take the
    // list's own default).
    static constexpr std::array<int, kColumns> kDefaultWidths{75, 120, 45, 65, 50, 50, 100};

    explicit MainWindowSettings(Settings& settings) : m_settings(settings) {}

    // The stored widths; a missing or unreadable value gives the default.
    std::array<int, kColumns> columnWidths() const;
    bool toolbarVisible() const;
    bool statusBarVisible() const;
    // Written together at close.
    void saveAtClose(const std::array<int, kColumns>& widths, bool toolbar, bool statusBar);

    // nullopt until a placement was saved.
    std::optional<WindowPlacement> placement() const;
    void savePlacement(const WindowPlacement& placement);

    // window moved (and shrunk if need be) so that it lies on screen, unless it
    // already shows enough of itself there to be grabbed.
    static QRect onScreen(const QRect& window, const QRect& screen);

private:
    std::optional<int> readInt(const QString& name) const;

    Settings& m_settings;
};
