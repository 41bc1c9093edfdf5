// The pie chart: reading its lines, the slices' angles and colours, the stop
// and label rules, label placement, the hit test and the chart's square,
// checked on the geometry and on the painted picture.

#include "ChartPanel.h"
#include "PieChartGeometry.h"
#include "TPieChart.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kDegree = M_PI / 180;

// The colour painted at an angle (degrees, counter-clockwise from 3 o'clock)
// and a fraction of the radius.
QColor colourAt(const QImage& image, double degrees, double radiusShare) {
    const double r = (image.width() - 1) / 2.0 * radiusShare;
    const double cx = (image.width() - 1) / 2.0;
    const double cy = (image.height() - 1) / 2.0;
    const int x = int(std::lround(cx + r * std::cos(degrees * kDegree)));
    const int y = int(std::lround(cy - r * std::sin(degrees * kDegree)));
    return image.pixelColor(x, y);
}

QImage paint(TPieChart& chart, const QStringList& lines, int side = 400) {
    ChartPanel::applyCompanionColours(chart);
    chart.resize(side, side);
    chart.Load(lines);
    return chart.renderImage();
}

const QColor kBlue(0, 0, 255);
const QColor kPurple(128, 0, 128);
const QColor kYellow(255, 255, 0);

TEST(PieChartLinesTest, LinesAreTrimmedReadWithAPointAndSortedLargestFirst) {
    TStringListWithDouble list;
    list.Load({"  30 bob 30% ", "x anna", "60 anna 60%", "10.5 carl 10%", "7,5 dora", "42", "",
               "10.5 eve 10%"});
    ASSERT_EQ(list.count(), 5);
    EXPECT_DOUBLE_EQ(list.total(), 30 + 60 + 10.5 + 42 + 10.5);
    EXPECT_EQ(list.lines(),
              QStringList({"60 anna 60%", "42", "30 bob 30%", "10.5 carl 10%", "10.5 eve 10%"}));
    EXPECT_EQ(list.entries()[0].label, "anna 60%");
    EXPECT_EQ(list.entries()[1].label, "");
    list.Load({});
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.total(), 0);
}

TEST(PieChartLinesTest, AValueWithThousandsSeparatorsIsNoNumber) {
    TStringListWithDouble list;
    list.Load({"1,000 anna 99%", "5 bob 1%"});
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.total(), 5);
}

TEST(PieChartGeometryTest, SixtyThirtyTenGiveTheirAnglesCounterClockwiseFromThreeOClock) {
    TStringListWithDouble list;
    list.Load({"10 carl 10%", "60 anna 60%", "30 bob 30%"});
    const PieChartGeometry g(list, QRectF(0, 0, 200, 200));
    ASSERT_EQ(g.arcs().size(), 3u);
    const double expected[][2] = {{0, 216}, {216, 108}, {324, 36}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(g.arcs()[i].start / kDegree, expected[i][0], 1e-9);
        EXPECT_NEAR(g.arcs()[i].span / kDegree, expected[i][1], 1e-9);
        EXPECT_TRUE(g.arcs()[i].labelled);
    }
    // Up is counter-clockwise: the top of the circle is 90 degrees, in anna's slice.
    EXPECT_EQ(g.hitTest({100, 5}), 0);
    EXPECT_EQ(g.hitTest({100, 195}), 1); // 270 degrees
    EXPECT_EQ(g.hitTest({190, 110}), 2); // just below 3 o'clock
    EXPECT_EQ(g.hitTest({2, 2}), -1);    // a corner, outside the circle
    EXPECT_NEAR(g.angleOf({100, 0}) / kDegree, 90, 1e-9);
}

TEST(PieChartGeometryTest, TinySlicesStopTheDrawingAndNarrowOnesLoseTheirLabel) {
    TStringListWithDouble list;
    list.Load({"355 a", "5 b", "0 c"});
    PieChartGeometry g(list, QRectF(0, 0, 100, 100));
    ASSERT_EQ(g.arcs().size(), 2u); // the zero slice is left out
    EXPECT_NEAR(g.arcs()[1].span / kDegree, 5, 1e-9);
    EXPECT_FALSE(g.arcs()[1].labelled); // 5 degrees is below 0.13 radians

    // 0.007 radians or less ends the drawing even before an equal slice.
    list.Load({"1000 a", "1 b", "1 c"});
    EXPECT_EQ(PieChartGeometry(list, QRectF(0, 0, 100, 100)).arcs().size(), 1u);
    list.Load({"0 a", "0 b"});
    EXPECT_TRUE(PieChartGeometry(list, QRectF(0, 0, 100, 100)).arcs().empty());
}

TEST(PieChartGeometryTest, LabelsGoAsFarOutAsTheyFitInsideTheCircle) {
    TStringListWithDouble list;
    list.Load({"60 a", "30 b", "10 c"});
    const PieChartGeometry g(list, QRectF(0, 0, 200, 200));
    const QSizeF text(60, 14);
    for (const PieArc& arc : g.arcs()) {
        const QPointF c = g.labelCentre(arc, text);
        double farthest = 0;
        for (double sx : {-0.5, 0.5})
            for (double sy : {-0.5, 0.5})
                farthest = std::max(farthest, std::hypot(c.x() + sx * text.width() - 100,
                                                         c.y() + sy * text.height() - 100));
        EXPECT_LE(farthest, 100.0 + 1e-6);
        EXPECT_GT(farthest, 95.0); // pushed out to the edge, not left near the centre
        EXPECT_NEAR(g.angleOf(c), arc.middle(), 1e-9);
    }
    // A label wider than the circle stays at the centre.
    EXPECT_EQ(g.labelCentre(g.arcs()[0], QSizeF(400, 20)), QPointF(100, 100));
}

TEST(PieChartGeometryTest, TheChartIsSquareAndCentredInItsPanel) {
    EXPECT_EQ(PieChartGeometry::chartRect({300, 200}), QRect(60, 10, 180, 180));
    EXPECT_EQ(PieChartGeometry::chartRect({200, 300}), QRect(5, 55, 190, 190));
    EXPECT_EQ(PieChartGeometry::chartRect({5, 5}).size(), QSize(0, 0));
}

TEST(PieChartPaintTest, SlicesArePaintedInBluePurpleAndYellow) {
    TPieChart chart;
    const QImage image = paint(chart, {"60 anna 60%", "30 bob 30%", "10 carl 10%"});
    // Inside each slice, away from its label at the middle angle near the rim.
    EXPECT_EQ(colourAt(image, 30, 0.4), kBlue);
    EXPECT_EQ(colourAt(image, 190, 0.4), kBlue);
    EXPECT_EQ(colourAt(image, 230, 0.4), kPurple);
    EXPECT_EQ(colourAt(image, 310, 0.4), kPurple);
    EXPECT_EQ(colourAt(image, 330, 0.3), kYellow);
    EXPECT_EQ(colourAt(image, 357, 0.3), kYellow);
    // Outside the circle nothing is painted.
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0);
}

TEST(PieChartPaintTest, TheSeventhSliceTakesTheFirstColourAgain) {
    TPieChart chart;
    const QStringList lines = {"20 a", "18 b", "16 c", "14 d", "12 e", "10 f", "10 g"};
    const QImage image = paint(chart, lines);
    const PieChartGeometry g = chart.geometryNow();
    ASSERT_EQ(g.arcs().size(), 7u);
    const QColor expected[] = {
        kBlue, kPurple, kYellow, QColor(0, 255, 0), QColor(0, 128, 0), QColor(128, 128, 0), kBlue};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(colourAt(image, (g.arcs()[i].start + g.arcs()[i].span * 0.3) / kDegree, 0.4),
                  expected[i])
            << "slice " << i;
}

TEST(PieChartPaintTest, AZeroEntryIsKeptButDrawnNowhere) {
    TPieChart chart;
    const QImage image = paint(chart, {"60 anna 100%", "40 bob 0%", "0 carl 0%"});
    EXPECT_EQ(chart.data().count(), 3);
    int yellow = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            yellow += image.pixelColor(x, y) == kYellow;
    EXPECT_EQ(yellow, 0);
}

TEST(PieChartPaintTest, ANarrowSliceIsPaintedWithoutItsLabel) {
    TPieChart chart;
    chart.resize(400, 400);
    chart.Load({"355 anna", "5 bob"});
    ChartPanel::applyCompanionColours(chart);
    // Paint once with and once without the label text: only a labelled slice
    // would change the picture.
    const QImage labelled = chart.renderImage();
    chart.Load({"355 anna", "5"});
    const QImage unlabelled = chart.renderImage();
    EXPECT_EQ(colourAt(labelled, 357.5, 0.8), kPurple);
    const QRect bobArea(280, 195, 120, 30);
    EXPECT_EQ(labelled.copy(bobArea), unlabelled.copy(bobArea));
    // anna's label is drawn: removing it changes the picture.
    chart.Load({"355", "5 bob"});
    EXPECT_NE(chart.renderImage(), labelled);
}

TEST(PieChartPaintTest, NothingIsPaintedWithoutAPositiveTotal) {
    TPieChart chart;
    const QImage image = paint(chart, {"0 a", "abc"});
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            ASSERT_EQ(image.pixelColor(x, y).alpha(), 0);
}

TEST(PieChartPanelTest, ThePanelKeepsTheChartSquareAndCentred) {
    ChartPanel panel;
    panel.resize(500, 400);
    panel.show();
    const QWidget* panel6 = panel.findChild<QWidget*>(QStringLiteral("Panel6"));
    ASSERT_NE(panel6, nullptr);
    const QRect r = panel.PieChart1()->geometry();
    EXPECT_EQ(r.width(), r.height());
    EXPECT_EQ(r, PieChartGeometry::chartRect(panel6->size()));
    EXPECT_EQ(panel.PieChart1()->Colour2(), kPurple);
}

} // namespace
