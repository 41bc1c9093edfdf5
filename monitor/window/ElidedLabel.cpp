#include "ElidedLabel.h"

#include <QEvent>
#include <QPainter>

ElidedLabel::ElidedLabel(QWidget* parent) : QFrame(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void ElidedLabel::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    updateElision();
    updateGeometry();
}

QSize ElidedLabel::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(m_text) + 2, fm.height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    return {0, fontMetrics().height()};
}

void ElidedLabel::updateElision() {
    m_shown = fontMetrics().elidedText(m_text, Qt::ElideRight, contentsRect().width());
    setToolTip(isElided() ? m_text : QString());
    update();
}

void ElidedLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, m_shown);
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    updateElision();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateElision();
}
