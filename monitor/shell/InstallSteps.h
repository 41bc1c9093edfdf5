#pragma once
// The installation start ("/I"): the earlier version's traces removed after
// the user was told, then the application-menu entry.

#include "MonitorFeatures.h"

class EventSink;
class IntlStrings;
class MonitorView;
class ShellIntegration;

class InstallSteps : public InstallFeature {
public:
    InstallSteps(ShellIntegration& shell, MonitorView& view, EventSink& events,
                 const IntlStrings& intl);

    void LookForPreviousVersions() override;
    // On failure the reason is posted as a warning; the caller shows its box.
    bool CreateStartMenuShortcut() override;

private:
    ShellIntegration& m_shell;
    MonitorView& m_view;
    EventSink& m_events;
    const IntlStrings& m_intl;
};
