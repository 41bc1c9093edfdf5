#pragma once
// The status window and its tray icon: status picture, three status lines,
// the history list, the transfer-rate line, menus and toolbar. It only shows
// what the monitor core tells it and hands every command back by name.

#include "MainMenus.h"
#include "MonitorView.h"
#include "WindowFrame.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QSystemTrayIcon;
class QTreeWidget;
class SoundPlayer;

class TfrmTAPIMon : public QMainWindow, public MonitorView, public WindowFrame {
    Q_OBJECT
public:
    using CommandHandler = std::function<void(const QString& name)>;
    using WheelHandler = std::function<void(int delta)>;

    TfrmTAPIMon(CommandHandler onCommand, WheelHandler onWheel, SoundPlayer& sound);
    ~TfrmTAPIMon() override;

    QSystemTrayIcon* trayIcon() const { return m_tray; }
    // The mail log (memoMailLog), shown over the event list by the mail check.
    QPlainTextEdit* mailLog() const { return m_memoMailLog; }

    // MonitorView
    void setPictures(EventKind kind) override;
    void addHistoryRow(const QString& text, const QString& time, EventKind kind) override;
    void setStatusLine(int line, const QString& text) override;
    void setStatusLineVisible(int line, bool visible) override;
    void setTrayHint(const QString& text) override;
    void setApplicationTitle(const QString& text) override;
    void setXferText(const QString& text) override;
    void setXferVisible(bool visible) override;
    void setXferEnabled(bool enabled) override;
    void setCommandCaption(const QString& name, const QString& caption) override;
    void setCommandEnabled(const QString& name, bool enabled) override;
    void setCommandVisible(const QString& name, bool visible) override;
    void showWindow() override { restoreWindow(); }
    BoxAnswer messageBox(const QString& caption, const QString& text, BoxButtons buttons,
                         BoxIcon icon, BoxAnswer defaultAnswer) override;
    std::optional<QStringList> prompt(const QString& caption, const QStringList& labels,
                                      const QStringList& initial,
                                      const QList<int>& passwordFields) override;
    void openDocument(const QString& path) override;
    void beep(BeepKind kind) override;
    void playSound(const QString& file) override;

    // WindowFrame
    QRect frameGeometry() const override;
    void setFramePosition(int left, int top) override { move(left, top); }
    void setFrameSize(int width, int height) override { resize(width, height); }
    QSize screenSize() const override;
    int pixelsPerInch() const override { return logicalDpiY(); }
    bool historyVisible() const override;
    void setHistoryVisible(bool visible) override;
    void setHistoryHeight(int height) override;
    bool toolbarVisible() const override;
    void setToolbarVisible(bool visible) override;
    void setCommandChecked(const QString& name, bool checked) override;
    bool commandChecked(const QString& name) const override;
    void setCommandHint(const QString& name, const QString& hint) override;
    void setTrayDefaultCommand(const QString& name) override;
    void setStayOnTop(bool onTop) override;
    void restoreWindow() override;
    void hideToTray() override;
    void processPendingEvents() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QWidget* buildCentral();
    void buildTray();
    QLabel* statusLine(int line) const;

    CommandHandler m_onCommand;
    WheelHandler m_onWheel;
    SoundPlayer& m_sound;
    std::unique_ptr<MainMenus> m_menus;
    QLabel* m_imgStatus = nullptr;
    QLabel* m_labels[3] = {nullptr, nullptr, nullptr};
    QWidget* m_historyArea = nullptr;
    QTreeWidget* m_listHistoria = nullptr;
    QPlainTextEdit* m_memoMailLog = nullptr;
    QLabel* m_lblXfer = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
};
