#include "EventPictures.h"

#include <QHash>

namespace EventPictures {

QIcon icon(EventKind kind) {
    static const char* const kFiles[] = {
        ":/icons/event1-information.svg", ":/icons/event2-connected.svg",
        ":/icons/event3-progress.svg",    ":/icons/event4-error.svg",
        ":/icons/event5-warning.svg",     ":/icons/event6-newmail.svg",
    };
    static QHash<int, QIcon> cache;
    const int index = int(kind) - 1;
    if (index < 0 || index >= 6)
        return QIcon();
    auto it = cache.find(index);
    if (it == cache.end())
        it = cache.insert(index, QIcon(QString::fromLatin1(kFiles[index])));
    return it.value();
}

} // namespace EventPictures
