#pragma once
// The main window's status bar (`StatusBar`): panel 0 for messages, panel 1
// for the row count, and the progress bar (`Progress`) shown only while a
// compile runs.

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

class CompanionStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit CompanionStatusBar(QWidget* parent = nullptr);

    // Sets a panel's text and paints it at once (a compile run keeps the
    // event loop waiting).
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;
    void setProgressVisible(bool visible);
    void setProgress(int percent);
    QProgressBar* progress() const { return m_progress; }

private:
    QLabel* m_panels[2];
    QProgressBar* m_progress;
};
