#pragma once
// A one-line text that never widens its window: a text longer than the room
// it has ends in "…" and carries the whole text as its tool tip.

#include <QFrame>

class ElidedLabel : public QFrame {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }
    // What is painted: the text, or its start and "…".
    QString shownText() const { return m_shown; }
    bool isElided() const { return m_shown != m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateElision();

    QString m_text;
    QString m_shown;
};
