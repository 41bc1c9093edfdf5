#pragma once
// The pie chart control: takes "value label" lines, draws them largest first
// as slices counter-clockwise from 3 o'clock in six repeating colours, and
// labels the slices wide enough to carry their text.

#include "PieChartGeometry.h"
#include "TStringListWithDouble.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <QListWidget>

class TPieChart : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor Colour1 READ Colour1 WRITE setColour1)
    Q_PROPERTY(QColor Colour2 READ Colour2 WRITE setColour2)
    Q_PROPERTY(QColor Colour3 READ Colour3 WRITE setColour3)
    Q_PROPERTY(QColor Colour4 READ Colour4 WRITE setColour4)
    Q_PROPERTY(QColor Colour5 READ Colour5 WRITE setColour5)
    Q_PROPERTY(QColor Colour6 READ Colour6 WRITE setColour6)

public:
    static constexpr int kColours = 6;

    explicit TPieChart(QWidget* parent = nullptr);

    // Replaces the chart's whole content and repaints.
    void Load(const QStringList& lines);
    const TStringListWithDouble& data() const { return m_data; }
    // An optional list that receives the sorted lines.
    void setListBox(QListWidget* list) { m_listBox = list; }

    QColor colour(int index) const { return m_colours[size_t(index % kColours)]; }
    void setColour(int index, const QColor& c);
    QColor Colour1() const { return colour(0); }
    QColor Colour2() const { return colour(1); }
    QColor Colour3() const { return colour(2); }
    QColor Colour4() const { return colour(3); }
    QColor Colour5() const { return colour(4); }
    QColor Colour6() const { return colour(5); }
    void setColour1(const QColor& c) { setColour(0, c); }
    void setColour2(const QColor& c) { setColour(1, c); }
    void setColour3(const QColor& c) { setColour(2, c); }
    void setColour4(const QColor& c) { setColour(3, c); }
    void setColour5(const QColor& c) { setColour(4, c); }
    void setColour6(const QColor& c) { setColour(5, c); }

    PieChartGeometry geometryNow() const;
    // The chart as painted, at the control's size.
    QImage renderImage() const;

signals:
    // Raised only when the mouse is over a slice; the slice's sorted index.
    void OnDblClick(int slice);
    void OnRightClick(int slice);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintChart(QPainter& painter) const;
    void paintLabels(QPainter& painter, const PieChartGeometry& geometry) const;

    TStringListWithDouble m_data;
    std::array<QColor, kColours> m_colours;
    QPointer<QListWidget> m_listBox;
};
