#pragma once
// The side bar (`AutoOutLookBar1`): one group, "Views", with the four views
// as large icons.

#include "CompanionStrings.h"
#include "CompanionView.h"

#include <QListWidget>
#include <QToolBox>

class SideBar : public QToolBox {
    Q_OBJECT

public:
    explicit SideBar(QWidget* parent = nullptr);

    void retranslate(const CompanionStrings& strings);
    // Highlights the item of the view shown, without choosing it again.
    void markView(CompanionView view);
    QListWidget* items() const { return m_items; }

signals:
    void viewChosen(CompanionView view);

private:
    QListWidget* m_items;
};
