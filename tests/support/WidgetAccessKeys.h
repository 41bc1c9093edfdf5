#pragma once
// The captions of a live window that carry access keys: every menu with its
// items, and the controls of a dialog page by page.

#include "AccessKeys.h"

#include <QList>

class QMenu;
class QMenuBar;
class QWidget;

namespace WidgetAccessKeys {

// One menu's items (submenus by their own entry), named by object name or,
// for an entry without one, by its position.
QList<AccessKeys::Item> menuItems(const QMenu& menu);
QList<AccessKeys::Item> menuBarItems(const QMenuBar& bar);

// Buttons, labels, group boxes and tab titles under root that are not under
// skip; named by object name, or by kind and position.
QList<AccessKeys::Item> controls(const QWidget& root, const QWidget* skip = nullptr);

} // namespace WidgetAccessKeys
