#include "MonitorFeatures.h"

#include "MonitorView.h"

void UnbuiltFeatures::disableCommands(MonitorView& view) {
    static const char* const kCommands[] = {
        "Dialdart1",     "Dialdart2",     "ToolbarButton973",
        "Connect2",      "Connectusing1", "Properties1",
        "Properties2",   "Properties3",   "ToolbarButton971",
        "Wizard1",       "Wizard2",       "Maillog1",
        "Companion1",    "Companion2",    "ToolbarButton975",
        "Helpcontents1", "Helpindex1",    "UpdateCentral1",
        "Homepage1",     "Support1",      "HDef1",
        "VarnholtHome1",
    };
    for (const char* name : kCommands)
        view.setCommandEnabled(QString::fromLatin1(name), false);
}
