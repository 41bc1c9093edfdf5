#include "PieChartGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 2 * M_PI;
// Keeps label text off the circle's outline.
constexpr double kLabelMargin = 2.0;
} // namespace

PieChartGeometry::PieChartGeometry(const TStringListWithDouble& data, const QRectF& circle)
    : m_circle(circle) {
    const double total = data.total();
    if (!(total > 0))
        return;
    double start = 0;
    const auto& entries = data.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const double span = entries[i].value * kTwoPi / total;
        if (!(span > kStopAngle))
            break;
        m_arcs.push_back({int(i), start, span, span > kLabelAngle});
        start += span;
    }
}

// For a corner offset d of the text box and direction u, the box stays in a
// circle of radius R while |r u + d| <= R, i.e. r <= -(u.d) + sqrt((u.d)^2
// - |d|^2 + R^2); the nearest corner decides.
QPointF PieChartGeometry::labelCentre(const PieArc& arc, const QSizeF& text) const {
    const QPointF centre = m_circle.center();
    const double radius = std::min(m_circle.width(), m_circle.height()) / 2 - kLabelMargin;
    const double m = arc.middle();
    const QPointF u(std::cos(m), -std::sin(m));
    double best = radius;
    for (int sx : {-1, 1}) {
        for (int sy : {-1, 1}) {
            const QPointF d(sx * text.width() / 2, sy * text.height() / 2);
            const double ud = u.x() * d.x() + u.y() * d.y();
            const double disc = ud * ud - (d.x() * d.x() + d.y() * d.y()) + radius * radius;
            best = disc < 0 ? 0 : std::min(best, -ud + std::sqrt(disc));
        }
    }
    best = std::max(0.0, best);
    return centre + u * best;
}

double PieChartGeometry::angleOf(const QPointF& point) const {
    const QPointF d = point - m_circle.center();
    double a = std::atan2(-d.y(), d.x());
    if (a < 0)
        a += kTwoPi;
    return a;
}

int PieChartGeometry::hitTest(const QPointF& point) const {
    const QPointF d = point - m_circle.center();
    const double rx = m_circle.width() / 2;
    const double ry = m_circle.height() / 2;
    if (rx <= 0 || ry <= 0 || (d.x() * d.x()) / (rx * rx) + (d.y() * d.y()) / (ry * ry) > 1)
        return -1;
    const double a = angleOf(point);
    for (const PieArc& arc : m_arcs)
        if (a >= arc.start && a < arc.start + arc.span)
            return arc.entry;
    return -1;
}

QRect PieChartGeometry::chartRect(const QSize& panel) {
    const int side =
        std::max(0, panel.width() < panel.height() ? panel.width() - 10 : panel.height() - 20);
    return QRect((panel.width() - side) / 2, (panel.height() - side) / 2, side, side);
}
