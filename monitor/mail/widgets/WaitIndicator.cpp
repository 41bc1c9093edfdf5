#include "WaitIndicator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kWidth = 100;
constexpr int kHeight = 16;
constexpr int kMargin = 5;
constexpr int kFontPoints = 8;

// The input a wait refuses: key presses (with their shortcuts) and presses
// and double clicks of the left and right buttons.
bool refused(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto button = static_cast<const QMouseEvent*>(event)->button();
        return button == Qt::LeftButton || button == Qt::RightButton;
    }
    default:
        return false;
    }
}
} // namespace

WaitIndicator::WaitIndicator(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Wait1"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

WaitIndicator::~WaitIndicator() {
    if (m_depth > 0)
        qApp->removeEventFilter(this);
}

void WaitIndicator::setCountdownVisible(bool visible) {
    if (visible) {
        placeInParent();
        raise();
    }
    setVisible(visible);
}

void WaitIndicator::placeInParent() {
    if (const QWidget* p = parentWidget())
        move(kMargin, p->height() - kHeight - kMargin);
}

void WaitIndicator::showCountdown(const QString& caption, int remaining, int total) {
    m_caption = caption;
    m_remaining = remaining;
    m_total = total;
    update();
}

void WaitIndicator::modalWaitStarted() {
    if (m_depth++ == 0)
        qApp->installEventFilter(this);
}

void WaitIndicator::modalWaitEnded() {
    if (m_depth > 0 && --m_depth == 0)
        qApp->removeEventFilter(this);
}

bool WaitIndicator::eventFilter(QObject* watched, QEvent* event) {
    // Only what reaches the program's widgets and shortcuts; the event loop's
    // own objects (timers, sockets) pass untouched.
    if (m_depth > 0 && refused(event) &&
        (watched->isWidgetType() || event->type() == QEvent::Shortcut)) {
        if (event->type() != QEvent::ShortcutOverride)
            QApplication::beep();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void WaitIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, Qt::white);
    if (m_total > 0 && m_remaining > 0)
        painter.fillRect(QRect(box.left() + 1, box.top() + 1,
                               (box.width() - 1) * qMin(m_remaining, m_total) / m_total,
                               box.height() - 1),
                         palette().color(QPalette::Highlight));
    painter.setPen(Qt::black);
    painter.drawRect(box);
    QFont font = painter.font();
    font.setPointSize(kFontPoints);
    painter.setFont(font);
    painter.drawText(box.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}
