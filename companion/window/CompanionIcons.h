#pragma once
// The companion's toolbar, side-bar and list icons: the desktop theme's icon
// where it has one, else a small drawing of our own.

#include <QIcon>

namespace CompanionIcons {

QIcon compile();
QIcon save();
QIcon print();
QIcon options();
QIcon chart();
QIcon outline();
QIcon report();
QIcon connections();
// The small icon of a row in the connection list.
QIcon connection();

} // namespace CompanionIcons
