#pragma once
// The settings features in a run without widgets: each wizard page is one
// prompt of the monitor view (OK is Next or Done, Cancel ends the wizard; no
// answer left takes OK with the values shown), followed by a "wizard" line
// with the page and the values it went on with; the password is one masked
// prompt. The settings dialog is the same: one prompt per page from the page
// it opens on, a "settings" line after each, OK on the last page is the
// dialog's OK and Cancel on any page its Cancel.

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
    void runSettings(SettingsDialog& dialog, SettingsPage page) override;
    PasswordPrompt& passwordPrompt() override { return m_password; }

private:
    // One page's prompt; false when it was cancelled.
    bool askPage(SettingsDialog& dialog, SettingsPage page);

    MonitorView& m_view;
    LineRecorder m_record;
    ViewPasswordPrompt m_password;
};
