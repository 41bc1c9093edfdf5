#include "MonitorCore.h"

#include "ApplicationControl.h"
#include "FeatureModule.h"
#include "MonitorAccounting.h"
#include "MonitorView.h"
#include "RasApi.h"
#include "StartupSequence.h"
#include "TollwatchVersion.h"
#include "WindowFrame.h"

namespace {
constexpr int kExitWaitMs = 100;
} // namespace

MonitorCore::MonitorCore(const MonitorEnvironment& env, const AccountingFactory& makeAccounting)
    : m_env(env), m_settings(env.store), m_intl(m_settings),
      m_events(env.view, env.clock, env.formats, env.observer), m_problems(m_events, m_intl),
      m_log(env.store, m_intl, m_events), m_totals(m_settings, m_intl, env.formats),
      m_xfer([ras = &env.ras] { return ras->byteCounters(); }, m_settings, m_intl, env.formats),
      m_parts{env.store,         m_settings, m_intl,    env.formats, env.clock,
              env.view,          env.frame,  env.ras,   m_events,    m_log,
              m_totals,          m_session,  env.chime, m_xfer,      env.features,
              m_env.commandLine, m_problems},
      m_status(m_session, m_settings, env.formats) {
    m_parts.app = &env.app;
    addOwnCommands();
    // The modules fill their seams before anything that holds a seam is made.
    for (FeatureModule* module : env.modules)
        module->attach(m_parts, m_commands);
    m_unbuilt.fillGaps(m_parts.features, env.view, m_commands);
    m_accounting = makeAccounting ? makeAccounting(m_parts)
                                  : std::make_unique<MonitorAccounting>(m_parts, env.soundFolder);
    m_parts.accounting = m_accounting.get();
    m_window = std::make_unique<WindowCommands>(m_settings, env.view, env.frame, m_intl,
                                                *m_parts.features.dial);
    m_parts.window = m_window.get();
    m_poller = std::make_unique<ConnectionPoller>(
        PollerContext{m_session, env.ras, m_events, m_problems, m_intl, env.clock, *m_accounting,
                      env.chime, *m_parts.features.dial, *m_parts.features.mail, *this},
        m_env.commandLine.dialAndExit);
    m_status.refresh(m_poller->linkInProgress());
}

MonitorCore::~MonitorCore() = default;

void MonitorCore::FormCreate() {
    StartupSequence(m_parts, *m_accounting, *m_window, [this](const std::exception& e) {
        reportFailure(e);
    }).FormCreate();
    m_status.refresh(m_poller->linkInProgress());
}

void MonitorCore::MinTimer() {
    m_poller->MinTimer();
    m_status.refresh(m_poller->linkInProgress());
}

void MonitorCore::ChimeTick() {
    guarded([this] { m_accounting->ChimeTimer(); });
}

void MonitorCore::FormDestroy() {
    guarded([this] {
        if (!m_accounting->SaveAtExit())
            m_exitStatus = kUnsavedExitStatus;
    });
    guarded([this] {
        m_events.PostEvent(m_intl.IntlStr(40), EventKind::Information);
        m_settings.WriteFlag(kSettingsKey, QStringLiteral("Visible"), m_window->WindowShown());
        m_settings.WriteFlag(kSettingsKey, QStringLiteral("Bad termination"), false);
        m_window->SavePlacement();
        m_settings.WriteFlag(kSettingsKey, QStringLiteral("Visible"), m_window->WindowShown());
    });
    // An end that could not be recorded leaves the store saying the run
    // ended abnormally; the status says so too.
    if (m_problems.active(QStringLiteral("store")))
        m_exitStatus = kUnsavedExitStatus;
}

void MonitorCore::Exit1Click() {
    if (m_parts.features.admin->IsItProtected(true))
        return;
    try {
        m_env.app.requestTerminate();
    } catch (const std::exception&) {
        m_settings.WriteFlag(kSettingsKey, QStringLiteral("Bad termination"), false);
        m_env.app.requestTerminate();
    }
}

void MonitorCore::AppException(const QString& message) {
    m_env.view.beep(BeepKind::Warning);
    m_events.PostEvent(message, EventKind::Warning);
}

void MonitorCore::EndAfterDialledConnection() {
    m_env.frame.processPendingEvents();
    m_env.clock.sleep(kExitWaitMs);
    m_settings.WriteFlag(kSettingsKey, QStringLiteral("Bad termination"), false);
    m_env.app.requestTerminate();
}

void MonitorCore::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        reportFailure(e);
    }
}

// A settings file that refuses writes is reported once as what it is; any
// other failure as the exception it was.
void MonitorCore::reportFailure(const std::exception& e) {
    if (const auto* store = dynamic_cast<const RegistryError*>(&e))
        m_problems.storeFailed(*store);
    else
        AppException(QString::fromUtf8(e.what()));
}

bool MonitorCore::click(const QString& command) {
    if (!m_commands.contains(command))
        return false;
    guarded([&] { m_commands.run(command); });
    return true;
}

// The window's own commands, and those that go to a feature's seam; the seams
// are read when the command runs, so a module attached later is the one used.
void MonitorCore::addOwnCommands() {
    CommandTable& c = m_commands;
    c.add({"Exit1", "Exit2"}, [this] { Exit1Click(); });
    c.add({"Details1", "Details2", "ToolbarButton972"}, [this] { m_window->IEButton2Click(); });
    c.add({"Toolbar1", "Toolbar2"}, [this] { m_window->Toolbar1Click(); });
    c.add({"Ontop1"}, [this] { m_window->Ontop1Click(); });
    c.add({"Open1", "TrayIcon1Click"}, [this] { m_window->TrayIcon1Click(); });
    c.add({"TrayConn"}, [this] { m_window->TrayConn(); });
    c.add({"Minimera"}, [this] { m_window->Minimera(); });
    c.add({"FormClose"}, [this] { m_window->FormClose(); });
    c.add({"Button1"}, [this] { m_parts.features.mail->Button1Click(); });
    c.add({"Button2"}, [this] { m_window->Button2Click(); });
    c.add({"Button4"}, [this] { m_poller->Button4Click(); });
    c.add({"Viewlog1"}, [this] { Viewlog1Click(); });
    c.add({"About1", "About2"}, [this] { About1Click(); });
    c.add({"Dialdart1", "Dialdart2", "ToolbarButton973"},
          [this] { m_parts.features.dial->DialdartMenu(); });
}

void MonitorCore::About1Click() {
    m_env.view.messageBox(m_intl.IntlStr(670),
                          QStringLiteral("Tollwatch %1\nTimes and prices pay-by-time connections.")
                              .arg(QStringLiteral(TOLLWATCH_VERSION)),
                          BoxButtons::Ok, BoxIcon::Information, BoxAnswer::Ok);
}

void MonitorCore::Viewlog1Click() {
    if (m_parts.features.admin->IsItProtected(false))
        return;
    m_env.view.openDocument(m_log.logFilePath());
}
