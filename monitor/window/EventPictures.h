#pragma once
// The pictures of the six event kinds, drawn for the tray icon, the status
// picture and the history rows.

#include "EventKind.h"

#include <QIcon>

namespace EventPictures {

QIcon icon(EventKind kind);

} // namespace EventPictures
