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

class ElidedLabel;
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
    // Called with the language of every re-captioning (Qt's own texts).
    void setLanguageHandler(std::function<void(int)> handler) { m_onLanguage = std::move(handler); }
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
    void setCommandItems(const QString& menuName, const QStringList& entries) override;
    void setLanguage(int languageOffset) override;
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
    void setFrameSize(int width, int height) override;
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
    QWidget* buildDetails(QWidget* parent);
    void buildTray();
    ElidedLabel* statusLine(int line) const;

    CommandHandler m_onCommand;
    WheelHandler m_onWheel;
    SoundPlayer& m_sound;
    std::function<void(int)> m_onLanguage;
    std::unique_ptr<MainMenus> m_menus;
    QLabel* m_imgStatus = nullptr;
    ElidedLabel* m_labels[3] = {nullptr, nullptr, nullptr};
    // The history list, the mail log over it and the transfer-rate line
    // below them: what the compact window leaves out.
    QWidget* m_details = nullptr;
    // The history list and the mail log, one over the other.
    QWidget* m_historyArea = nullptr;
    QTreeWidget* m_listHistoria = nullptr;
    QPlainTextEdit* m_memoMailLog = nullptr;
    ElidedLabel* m_lblXfer = nullptr;
    // The size the monitor asked for last, asked again once the layout has
    // taken in a change of the details.
    QSize m_requestedSize;
    QSystemTrayIcon* m_tray = nullptr;
};
