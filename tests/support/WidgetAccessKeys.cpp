#include "WidgetAccessKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

namespace WidgetAccessKeys {

namespace {

QList<AccessKeys::Item> actionItems(const QList<QAction*>& actions) {
    QList<AccessKeys::Item> items;
    for (int i = 0; i < actions.size(); ++i) {
        const QAction* a = actions.at(i);
        if (a->isSeparator() || a->text().isEmpty())
            continue;
        QString name = a->menu() ? a->menu()->objectName() : a->objectName();
        if (name.isEmpty())
            name = QStringLiteral("item %1").arg(i);
        items.append({name, a->text()});
    }
    return items;
}

bool under(const QWidget* w, const QWidget* skip) {
    for (; w; w = w->parentWidget())
        if (w == skip)
            return true;
    return false;
}

QString nameOf(const QObject& o, const char* kind, int position) {
    return o.objectName().isEmpty() ? QStringLiteral("%1 %2").arg(QLatin1String(kind)).arg(position)
                                    : o.objectName();
}

} // namespace

QList<AccessKeys::Item> menuItems(const QMenu& menu) {
    return actionItems(menu.actions());
}

QList<AccessKeys::Item> menuBarItems(const QMenuBar& bar) {
    return actionItems(bar.actions());
}

QList<AccessKeys::Item> controls(const QWidget& root, const QWidget* skip) {
    QList<AccessKeys::Item> items;
    int position = 0;
    for (const QWidget* w : root.findChildren<QWidget*>()) {
        ++position;
        if (under(w, skip))
            continue;
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            items.append({nameOf(*b, "button", position), b->text()});
        else if (const auto* l = qobject_cast<const QLabel*>(w))
            items.append({nameOf(*l, "label", position), l->text()});
        else if (const auto* g = qobject_cast<const QGroupBox*>(w))
            items.append({nameOf(*g, "group", position), g->title()});
        else if (const auto* t = qobject_cast<const QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                items.append({QStringLiteral("tab %1").arg(i), t->tabText(i)});
    }
    return items;
}

} // namespace WidgetAccessKeys
