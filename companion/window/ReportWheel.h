#pragma once
// The mouse wheel over the report text: each event scrolls by lines, one more
// than the event's whole notches, down for a turn towards the user.

#include <QObject>

class QPlainTextEdit;

class ReportWheel : public QObject {
    Q_OBJECT

public:
    // Installs itself on the report's viewport.
    explicit ReportWheel(QPlainTextEdit* report);

    // Signed lines for a wheel event's vertical angle delta (120 a notch);
    // positive scrolls down.
    static int linesFor(int angleDelta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* m_report;
};
