#pragma once
// Where the pie chart's slices and labels go: angles counter-clockwise from
// 3 o'clock, the stop rule for tiny slices, label positions that keep the
// text inside the circle, the square chart in its panel, and the hit test.

#include "TStringListWithDouble.h"

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>

#include <vector>

struct PieArc {
    int entry = 0;    // index into the sorted entries
    double start = 0; // radians, counter-clockwise from 3 o'clock
    double span = 0;  // radians
    bool labelled = false;
    double middle() const { return start + span / 2; }
};

class PieChartGeometry {
public:
    // A slice of this angle or less is not drawn, nor anything after it.
    static constexpr double kStopAngle = 0.007;
    // Only slices wider than this carry a label.
    static constexpr double kLabelAngle = 0.13;

    PieChartGeometry(const TStringListWithDouble& data, const QRectF& circle);

    // The slices that are drawn, in drawing order; empty when the total is
    // not positive.
    const std::vector<PieArc>& arcs() const { return m_arcs; }
    const QRectF& circle() const { return m_circle; }

    // The centre of a label of the given size on arc's middle angle, as far
    // from the centre as it can be with the whole text inside the circle.
    QPointF labelCentre(const PieArc& arc, const QSizeF& text) const;
    // The entry under point, or -1 outside the circle or the drawn slices.
    int hitTest(const QPointF& point) const;

    // The chart's square in a panel of the given size: side width - 10 in a
    // tall panel, else height - 20, centred.
    static QRect chartRect(const QSize& panel);
    // Angle of point seen from the circle's centre, 0 to 2 pi.
    double angleOf(const QPointF& point) const;

private:
    QRectF m_circle;
    std::vector<PieArc> m_arcs;
};
