#include "CompanionIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace CompanionIcons {

namespace {

using Draw = std::function<void(QPainter&)>;

// Drawn on a 32 x 32 grid and scaled to the sizes a desktop asks for.
QIcon drawn(const Draw& draw) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        draw(p);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon themed(const char* name, const Draw& draw) {
    return QIcon::fromTheme(QString::fromLatin1(name), drawn(draw));
}

void page(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 18, 26));
    for (int y = 9; y <= 23; y += 4)
        p.drawLine(QPointF(10, y), QPointF(22, y));
}

void pie(QPainter& p) {
    const QRectF r(3, 3, 26, 26);
    p.setBrush(QColor(0, 0, 255));
    p.drawPie(r, 0, 216 * 16);
    p.setBrush(QColor(128, 0, 128));
    p.drawPie(r, 216 * 16, 108 * 16);
    p.setBrush(QColor(255, 255, 0));
    p.drawPie(r, 324 * 16, 36 * 16);
}

} // namespace

QIcon compile() {
    return themed("view-refresh", [](QPainter& p) {
        p.setPen(QPen(QColor(0, 110, 0), 3));
        p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 300 * 16);
        p.setBrush(QColor(0, 110, 0));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(19, 3), QPointF(29, 9), QPointF(19, 14)}));
    });
}

QIcon save() {
    return themed("document-save", [](QPainter& p) {
        p.setBrush(QColor(60, 90, 160));
        p.drawRect(QRectF(4, 4, 24, 24));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(8, 18, 16, 10));
    });
}

QIcon print() {
    return themed("document-print", [](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 19, 14, 10));
    });
}

QIcon options() {
    return themed("preferences-system", [](QPainter& p) {
        p.setBrush(QColor(120, 120, 120));
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            QTransform t;
            t.translate(16, 16).rotate(i * 45);
            gear.addPolygon(t.map(QPolygonF(QRectF(-3, -14, 6, 8))));
        }
        gear.addEllipse(QPointF(16, 16), 10, 10);
        p.drawPath(gear.simplified());
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 16), 4, 4);
    });
}

QIcon chart() {
    return drawn(pie);
}

QIcon outline() {
    return drawn([](QPainter& p) {
        p.setBrush(QColor(250, 220, 120));
        p.drawRect(QRectF(3, 4, 9, 7));
        p.drawLine(QPointF(7, 11), QPointF(7, 26));
        for (int y : {17, 26}) {
            p.drawLine(QPointF(7, y), QPointF(14, y));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(14, y - 3, 15, 6));
        }
    });
}

QIcon report() {
    return themed("text-x-generic", page);
}

QIcon connections() {
    return drawn([](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 5, 26, 22));
        p.setBrush(QColor(60, 90, 160));
        p.drawRect(QRectF(3, 5, 26, 5));
        for (int y = 15; y <= 23; y += 4)
            p.drawLine(QPointF(3, y), QPointF(29, y));
        p.drawLine(QPointF(12, 10), QPointF(12, 27));
    });
}

QIcon connection() {
    return drawn([](QPainter& p) {
        p.setBrush(QColor(90, 150, 90));
        p.drawEllipse(QPointF(16, 10), 6, 6);
        p.drawRoundedRect(QRectF(6, 18, 20, 11), 5, 5);
    });
}

} // namespace CompanionIcons
