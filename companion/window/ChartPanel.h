#pragma once
// The chart view (`Graphpanel`): a bold title (`ChartTitle`) with a centred
// subtitle (`lblSubTitle`) above a resizable panel (`Panel6`) that keeps the
// pie chart (`PieChart1`) square and centred.

#include "TPieChart.h"

#include <QLabel>
#include <QWidget>

class ChartPanel : public QWidget {
    Q_OBJECT

public:
    explicit ChartPanel(QWidget* parent = nullptr);

    TPieChart* PieChart1() const { return m_pie; }
    void setTitles(const QString& title, const QString& subtitle);
    QString title() const { return m_title->text(); }
    QString subtitle() const { return m_subtitle->text(); }

    // The companion's slice colours: blue, purple, yellow, lime, green, olive.
    static void applyCompanionColours(TPieChart& chart);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_title;
    QLabel* m_subtitle;
    QWidget* m_panel6;
    TPieChart* m_pie;
};
