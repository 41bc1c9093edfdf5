#include "CompanionStatusBar.h"

CompanionStatusBar::CompanionStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(true);
    const int widths[] = {320, 79};
    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
        m_panels[i]->setMinimumWidth(widths[i]);
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
    }
    m_panels[0]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addWidget(m_panels[0], 1);
    addWidget(m_panels[1]);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Progress"));
    m_progress->setRange(0, 100);
    m_progress->setMaximumWidth(160);
    m_progress->setTextVisible(false);
    addPermanentWidget(m_progress);
    m_progress->hide();
}

void CompanionStatusBar::setPanelText(int panel, const QString& text) {
    if (panel < 0 || panel > 1)
        return;
    m_panels[panel]->setText(text);
    m_panels[panel]->repaint();
}

QString CompanionStatusBar::panelText(int panel) const {
    return (panel < 0 || panel > 1) ? QString() : m_panels[panel]->text();
}

void CompanionStatusBar::setProgressVisible(bool visible) {
    m_progress->setVisible(visible);
}

void CompanionStatusBar::setProgress(int percent) {
    m_progress->setValue(percent);
    m_progress->repaint();
}
