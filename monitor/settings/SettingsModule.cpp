#include "SettingsModule.h"

#include "CommandTable.h"
#include "MonitorParts.h"
#include "MonitorView.h"
#include "MonitorWizard.h"
#include "SessionAccounting.h"
#include "SessionState.h"
#include "SettingsFrontEnd.h"
#include "TotalTexts.h"
#include "WindowCaptions.h"

namespace {
// The web command that asks about and opens the holiday definitions page.
const QString kHolidayDownload = QStringLiteral("HDef1");
} // namespace

SettingsModule::SettingsModule(SettingsFrontEnd& frontEnd, RunEntry& runEntry, QString programPath)
    : m_frontEnd(frontEnd), m_runEntry(runEntry), m_programPath(std::move(programPath)) {}

SettingsModule::~SettingsModule() = default;

void SettingsModule::attach(MonitorParts& parts, CommandTable& commands) {
    m_parts = &parts;
    m_commands = &commands;
    m_lock = std::make_unique<AdminLock>(parts.settings, parts.intl, parts.events, parts.session,
                                         m_frontEnd.passwordPrompt());
    parts.features.wizard = this;
    parts.features.admin = m_lock.get();
    commands.add({"Wizard1", "Wizard2"}, [this] { Wizard1Click(); });
}

TariffDialogContext SettingsModule::dialogContextFor(MonitorParts& parts,
                                                     const CommandTable& commands) {
    TariffDialogContext context{parts.settings, parts.intl, parts.formats, {}};
    // Asked when a dialog opens: the module that adds the web command may be
    // attached after this one.
    if (commands.contains(kHolidayDownload)) {
        const CommandTable* table = &commands;
        context.downloadHolidays = [table] {
            table->run(kHolidayDownload);
        };
    }
    return context;
}

void SettingsModule::ShowWizard() {
    MonitorWizard wizard(m_parts->settings, m_parts->intl, m_runEntry, m_programPath);
    m_frontEnd.runWizard(wizard, dialogContext());
}

void SettingsModule::Wizard1Click() {
    if (m_parts->features.admin->IsItProtected(false))
        return;
    ShowWizard();
    refreshDisplay();
}

void SettingsModule::refreshDisplay() {
    MonitorParts& p = *m_parts;
    WindowCaptions::LoadIntlStr(p.view, p.frame, p.intl);
    if (p.session.Online && p.accounting)
        p.accounting->Timer1Timer();
    else
        p.view.setStatusLine(2, p.totals.TotalText(ConnectedMinutes(p.settings)));
}
