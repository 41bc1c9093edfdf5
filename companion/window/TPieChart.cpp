#include "TPieChart.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

// Qt measures pie angles in sixteenths of a degree, counter-clockwise from
// 3 o'clock, which is the chart's own convention.
int sixteenths(double radians) {
    return int(std::lround(radians * 180.0 / M_PI * 16.0));
}

} // namespace

TPieChart::TPieChart(QWidget* parent)
    : QWidget(parent), m_colours{QColor(255, 224, 224), QColor(255, 255, 224),
                                 QColor(224, 255, 224), QColor(224, 255, 255),
                                 QColor(224, 224, 255), QColor(255, 224, 255)} {
    QFont f = font();
    f.setBold(true);
    f.setPointSize(8);
    setFont(f);
}

void TPieChart::setColour(int index, const QColor& c) {
    m_colours[size_t(index % kColours)] = c;
    update();
}

void TPieChart::Load(const QStringList& lines) {
    m_data.Load(lines);
    if (m_listBox) {
        m_listBox->clear();
        m_listBox->addItems(m_data.lines());
    }
    update();
}

PieChartGeometry TPieChart::geometryNow() const {
    return PieChartGeometry(m_data, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

QImage TPieChart::renderImage() const {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintChart(painter);
    return image;
}

void TPieChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, renderImage());
}

void TPieChart::paintChart(QPainter& painter) const {
    if (!(m_data.total() > 0))
        return;
    const PieChartGeometry geometry = geometryNow();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(192, 192, 192));
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawEllipse(geometry.circle());
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    int colour = 0;
    for (const PieArc& arc : geometry.arcs()) {
        painter.setBrush(m_colours[size_t(colour++ % kColours)]);
        const int from = sixteenths(arc.start);
        painter.drawPie(geometry.circle(), from, sixteenths(arc.start + arc.span) - from);
    }
    paintLabels(painter, geometry);
}

void TPieChart::paintLabels(QPainter& painter, const PieChartGeometry& geometry) const {
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetricsF metrics(font());
    for (const PieArc& arc : geometry.arcs()) {
        if (!arc.labelled)
            continue;
        const QString& text = m_data.entries()[size_t(arc.entry)].label;
        const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
        const QPointF centre = geometry.labelCentre(arc, size);
        const QRectF box(centre.x() - size.width() / 2, centre.y() - size.height() / 2,
                         size.width(), size.height());
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void TPieChart::mouseDoubleClickEvent(QMouseEvent* event) {
    const int slice = geometryNow().hitTest(event->position());
    if (slice >= 0)
        emit OnDblClick(slice);
    QWidget::mouseDoubleClickEvent(event);
}

void TPieChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const int slice = geometryNow().hitTest(event->position());
        if (slice >= 0)
            emit OnRightClick(slice);
    }
    QWidget::mousePressEvent(event);
}
