#include "InstallSteps.h"

#include "EventKind.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "ShellIntegration.h"
#include "TPBShellLink.h"

InstallSteps::InstallSteps(ShellIntegration& shell, MonitorView& view, EventSink& events,
                           const IntlStrings& intl)
    : m_shell(shell), m_view(view), m_events(events), m_intl(intl) {}

void InstallSteps::LookForPreviousVersions() {
    if (m_shell.previousUninstallString().isEmpty())
        return;
    m_view.messageBox(QStringLiteral("Tollwatch"), m_intl.IntlStr(4100), BoxButtons::Ok,
                      BoxIcon::Information, BoxAnswer::Ok);
    m_shell.removePreviousVersion();
}

bool InstallSteps::CreateStartMenuShortcut() {
    try {
        m_shell.createStartMenuEntry();
        return true;
    } catch (const EPBShellLink& e) {
        m_events.PostEvent(e.text(), EventKind::Warning);
        return false;
    }
}
