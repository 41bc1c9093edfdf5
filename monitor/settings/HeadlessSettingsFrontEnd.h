#pragma once
// The settings features in a run without widgets: each wizard page is one
// prompt of the monitor view (OK is Next or Done, Cancel ends the wizard; no
// answer left takes OK with the values shown), followed by a "wizard" line
// with the page and the values it went on with; the password is one masked
// prompt.

#include "SettingsFrontEnd.h"
#include "ViewPasswordPrompt.h"

#include <QStringList>

#include <functional>

class HeadlessSettingsFrontEnd : public SettingsFrontEnd {
public:
    // record writes a line of a type with its fields (HeadlessView::record).
    using LineRecorder = std::function<void(const QString& type, const QStringList& fields)>;

    HeadlessSettingsFrontEnd(MonitorView& view, LineRecorder record);

    void runWizard(MonitorWizard& wizard, const TariffDialogContext& context) override;
    PasswordPrompt& passwordPrompt() override { return m_password; }

private:
    MonitorView& m_view;
    LineRecorder m_record;
    ViewPasswordPrompt m_password;
};
