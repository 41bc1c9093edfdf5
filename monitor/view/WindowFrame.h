#pragma once
// The status window's frame as the start-up, shutdown and view commands see
// it: placement, the details and toolbar views, on-top, task-bar presence and
// the tray menu's default item. The Qt window, the headless view and the
// recording view in tests implement it.

#include <QRect>
#include <QSize>
#include <QString>

class WindowFrame {
public:
    virtual ~WindowFrame() = default;

    // Left, top, width and height of the window, in pixels.
    virtual QRect frameGeometry() const = 0;
    virtual void setFramePosition(int left, int top) = 0;
    virtual void setFrameSize(int width, int height) = 0;
    virtual QSize screenSize() const = 0;
    virtual int pixelsPerInch() const = 0;

    virtual bool historyVisible() const = 0;
    virtual void setHistoryVisible(bool visible) = 0;
    virtual void setHistoryHeight(int height) = 0;
    virtual bool toolbarVisible() const = 0;
    virtual void setToolbarVisible(bool visible) = 0;

    // Check marks and hints of menu items and buttons by design name.
    virtual void setCommandChecked(const QString& name, bool checked) = 0;
    virtual bool commandChecked(const QString& name) const = 0;
    virtual void setCommandHint(const QString& name, const QString& hint) = 0;
    // The tray menu item that a double click stands for ("Dialdart2", "Open1").
    virtual void setTrayDefaultCommand(const QString& name) = 0;

    virtual void setStayOnTop(bool onTop) = 0;
    // Shows the window in its normal state and brings it to the foreground.
    virtual void restoreWindow() = 0;
    // Minimises the window and takes it off the task bar; the tray icon stays.
    virtual void hideToTray() = 0;
    // Lets pending window-system work run (repaints, a minimise in progress).
    virtual void processPendingEvents() = 0;
};
