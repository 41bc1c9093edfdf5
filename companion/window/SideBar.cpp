#include "SideBar.h"

#include "CompanionIcons.h"

#include <QSignalBlocker>

namespace {
const CompanionView kOrder[] = {CompanionView::Outline, CompanionView::Report,
                                CompanionView::Connections, CompanionView::Chart};
}

SideBar::SideBar(QWidget* parent) : QToolBox(parent) {
    setObjectName(QStringLiteral("AutoOutLookBar1"));
    m_items = new QListWidget(this);
    m_items->setViewMode(QListView::IconMode);
    m_items->setFlow(QListView::TopToBottom);
    m_items->setMovement(QListView::Static);
    m_items->setWrapping(false);
    m_items->setIconSize(QSize(32, 32));
    m_items->setSpacing(6);
    m_items->setGridSize(QSize(104, 62));
    m_items->setWordWrap(true);
    m_items->setFrameShape(QFrame::NoFrame);
    const QIcon icons[] = {CompanionIcons::outline(), CompanionIcons::report(),
                           CompanionIcons::connections(), CompanionIcons::chart()};
    for (const QIcon& icon : icons) {
        auto* item = new QListWidgetItem(icon, QString(), m_items);
        item->setTextAlignment(Qt::AlignHCenter);
    }
    addItem(m_items, QString());
    setMinimumWidth(112);
    connect(m_items, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit viewChosen(kOrder[m_items->row(item)]); });
}

void SideBar::retranslate(const CompanionStrings& s) {
    setItemText(0, s.IntlStr(7090));
    const int ids[] = {8010, 4000, 7050, 7080};
    for (int i = 0; i < 4; ++i)
        m_items->item(i)->setText(s.IntlStr(ids[i]));
}

void SideBar::markView(CompanionView view) {
    const QSignalBlocker block(m_items);
    for (int i = 0; i < 4; ++i)
        if (kOrder[i] == view)
            m_items->setCurrentRow(i);
}
