#include "TBrkApart.h"

void TBrkApart::BreakApart() {
    StringList.clear();
    if (BreakString.isEmpty()) {
        if (!BaseString.isEmpty() || KeepEmpty)
            StringList << BaseString;
        return;
    }
    StringList = BaseString.split(BreakString, KeepEmpty ? Qt::KeepEmptyParts : Qt::SkipEmptyParts);
}
