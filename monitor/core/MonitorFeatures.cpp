#include "MonitorFeatures.h"

#include "CommandTable.h"
#include "MonitorView.h"

namespace {

void disable(MonitorView& view, std::initializer_list<const char*> names) {
    for (const char* name : names)
        view.setCommandEnabled(QString::fromLatin1(name), false);
}

template <typename Seam> bool fill(Seam*& seam, Seam* standIn) {
    if (seam)
        return false;
    seam = standIn;
    return true;
}

} // namespace

void UnbuiltFeatures::fillGaps(MonitorFeatures& features, MonitorView& view,
                               const CommandTable& commands) {
    if (fill<DialFeature>(features.dial, this))
        disable(view, {"Dialdart1", "Dialdart2", "ToolbarButton973", "Connect2", "Connectusing1"});
    if (fill<MailFeature>(features.mail, this))
        disable(view, {"Maillog1"});
    if (fill<WizardFeature>(features.wizard, this))
        disable(view, {"Wizard1", "Wizard2"});
    fill<InstallFeature>(features.install, this);
    fill<AdminGate>(features.admin, this);
    static const char* const kModuleCommands[] = {
        "Properties1", "Properties2",      "Properties3",   "ToolbarButton971", "Companion1",
        "Companion2",  "ToolbarButton975", "Helpcontents1", "Helpindex1",       "UpdateCentral1",
        "Homepage1",   "Support1",         "HDef1",         "VarnholtHome1",
    };
    for (const char* name : kModuleCommands) {
        if (!commands.contains(QString::fromLatin1(name)))
            view.setCommandEnabled(QString::fromLatin1(name), false);
    }
}
