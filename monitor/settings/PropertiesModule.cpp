#include "PropertiesModule.h"

#include "ApplicationControl.h"
#include "CommandTable.h"
#include "Converters.h"
#include "EventKind.h"
#include "MonitorParts.h"
#include "MonitorView.h"
#include "SessionAccounting.h"
#include "SessionState.h"
#include "SettingsDialog.h"
#include "SettingsFrontEnd.h"
#include "SettingsModule.h"
#include "TariffTexts.h"
#include "TotalTexts.h"
#include "WindowCaptions.h"
#include "WindowCommands.h"

namespace {

constexpr int kDefaultMailTimeout = 3;

// Clears the open flag however the dialog and the refresh after it end.
class OpenFlag {
public:
    explicit OpenFlag(bool& open) : m_open(open) { m_open = true; }
    ~OpenFlag() { m_open = false; }
    OpenFlag(const OpenFlag&) = delete;
    OpenFlag& operator=(const OpenFlag&) = delete;

private:
    bool& m_open;
};

} // namespace

PropertiesModule::PropertiesModule(PropertiesSetup setup) : m_setup(std::move(setup)) {}

void PropertiesModule::attach(MonitorParts& parts, CommandTable& commands) {
    m_parts = &parts;
    m_commands = &commands;
    commands.add({"Properties1", "Properties3", "ToolbarButton971", "IEButton1"},
                 [this] { IEButton1Click(); });
    commands.add({"Properties2"}, [this] { Properties2Click(); });
}

SettingsDialogContext PropertiesModule::dialogContext() const {
    MonitorParts& p = *m_parts;
    const CommandTable* commands = m_commands;
    ApplicationControl* app = p.app;
    return {SettingsModule::dialogContextFor(p, *m_commands),
            p.ras,
            p.session,
            p.view,
            m_setup.frontEnd.passwordPrompt(),
            m_setup.runEntry,
            m_setup.dialdartIcon,
            m_setup.programPath,
            m_setup.soundFolder,
            [commands] { commands->run(QStringLiteral("Viewlog1")); },
            [app] {
                if (app)
                    app->requestTerminate();
            }};
}

void PropertiesModule::runDialog(SettingsPage page) {
    SettingsDialog dialog(dialogContext());
    m_setup.frontEnd.runSettings(dialog, page);
}

void PropertiesModule::IEButton1Click() {
    if (m_parts->features.admin->IsItProtected(false) || m_open)
        return;
    const OpenFlag open(m_open);
    runDialog(SettingsPage::TimeAndCost);
    refreshAfterMainCommand();
}

void PropertiesModule::Properties2Click() {
    if (m_parts->features.admin->IsItProtected(false) || m_open)
        return;
    const OpenFlag open(m_open);
    runDialog(SettingsPage::Dialdart);
    refreshStatusLines(false);
}

void PropertiesModule::refreshStatusLines(bool firstLine) {
    MonitorParts& p = *m_parts;
    WindowCaptions::LoadIntlStr(p.view, p.frame, p.intl);
    if (p.session.Online && p.accounting) {
        p.accounting->Timer1Timer();
    } else {
        const qint64 minutes = ConnectedMinutes(p.settings);
        if (firstLine)
            p.view.setStatusLine(1, p.intl.IntlStr(0));
        p.view.setStatusLine(2, p.totals.TotalText(minutes));
        p.view.setStatusLine(3, p.intl.IntlStr(20) + MinutesText(minutes, p.formats));
    }
    p.view.setStatusLineVisible(3, p.totals.ShowCost());
}

void PropertiesModule::refreshAfterMainCommand() {
    MonitorParts& p = *m_parts;
    refreshStatusLines(true);
    int timeout = kDefaultMailTimeout;
    try {
        timeout = int(StrToInt(p.settings.ReadText(kSettingsKey, QStringLiteral("POP_Timeout"),
                                                   QString::number(kDefaultMailTimeout))));
    } catch (const ConversionError&) {
        // As at start-up: a time-out that is no number is the default.
    }
    p.features.mail->SetTimeout(timeout);
    if (p.window)
        p.window->RestoreTrayDefault();
    const qint64 minutes = ConnectedMinutes(p.settings);
    if (minutes == 0)
        p.events.PostEvent(p.intl.IntlStr(5300) + p.totals.TotalText(minutes) + QLatin1Char(')'),
                           EventKind::Information);
    if (p.accounting)
        p.accounting->CheckTotalLimits();
    if (p.window)
        p.window->ShowXferLine();
}
