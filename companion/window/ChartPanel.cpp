#include "ChartPanel.h"

#include <QEvent>
#include <QVBoxLayout>

ChartPanel::ChartPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Graphpanel"));
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("ChartTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    m_title->setFont(bold);
    m_title->setAlignment(Qt::AlignCenter);
    m_subtitle = new QLabel(this);
    m_subtitle->setObjectName(QStringLiteral("lblSubTitle"));
    m_subtitle->setAlignment(Qt::AlignCenter);
    m_panel6 = new QWidget(this);
    m_panel6->setObjectName(QStringLiteral("Panel6"));
    m_panel6->installEventFilter(this);
    m_pie = new TPieChart(m_panel6);
    m_pie->setObjectName(QStringLiteral("PieChart1"));
    applyCompanionColours(*m_pie);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
    layout->addWidget(m_panel6, 1);
}

void ChartPanel::applyCompanionColours(TPieChart& chart) {
    chart.setColour1(QColor(0, 0, 255));
    chart.setColour2(QColor(128, 0, 128));
    chart.setColour3(QColor(255, 255, 0));
    chart.setColour4(QColor(0, 255, 0));
    chart.setColour5(QColor(0, 128, 0));
    chart.setColour6(QColor(128, 128, 0));
}

void ChartPanel::setTitles(const QString& title, const QString& subtitle) {
    m_title->setText(title);
    m_subtitle->setText(subtitle);
}

bool ChartPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_panel6 && event->type() == QEvent::Resize)
        m_pie->setGeometry(PieChartGeometry::chartRect(m_panel6->size()));
    return QWidget::eventFilter(watched, event);
}
