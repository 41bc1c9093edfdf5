#include "MonitorCore.h"

#include "ApplicationControl.h"
#include "MonitorAccounting.h"
#include "MonitorView.h"
#include "RasApi.h"
#include "StartupSequence.h"
#include "WindowFrame.h"

#include <QHash>

namespace {
constexpr int kExitWaitMs = 100;
} // namespace

MonitorCore::MonitorCore(const MonitorEnvironment& env, const AccountingFactory& makeAccounting)
    : m_env(env), m_settings(env.store), m_intl(m_settings),
      m_events(env.view, env.clock, env.formats, env.observer), m_log(env.store, m_intl, m_events),
      m_totals(m_settings, m_intl, env.formats),
      m_xfer([ras = &env.ras] { return ras->byteCounters(); }, m_settings, m_intl, env.formats),
      m_parts{env.store,    m_settings,       m_intl, env.formats, env.clock, env.view,  env.frame,
              env.ras,      m_events,         m_log,  m_totals,    m_session, env.chime, m_xfer,
              env.features, m_env.commandLine},
      m_window(m_settings, env.view, env.frame, m_intl, *env.features.dial) {
    m_accounting = makeAccounting ? makeAccounting(m_parts)
                                  : std::make_unique<MonitorAccounting>(m_parts, env.soundFolder);
    m_poller = std::make_unique<ConnectionPoller>(
        PollerContext{m_session, env.ras, m_events, m_intl, env.clock, *m_accounting, env.chime,
                      *env.features.dial, *env.features.mail, *this},
        m_env.commandLine.dialAndExit);
}

MonitorCore::~MonitorCore() = default;

void MonitorCore::FormCreate() {
    StartupSequence(m_parts, *m_accounting, m_window, [this](const QString& message) {
        AppException(message);
    }).FormCreate();
}

void MonitorCore::ChimeTick() {
    guarded([this] { m_accounting->ChimeTimer(); });
}

void MonitorCore::FormDestroy() {
    guarded([this] {
        m_events.PostEvent(m_intl.IntlStr(40), EventKind::Information);
        m_settings.WriteFlag(kSettingsKey, QStringLiteral("Visible"), m_window.WindowShown());
        m_settings.WriteFlag(kSettingsKey, QStringLiteral("Bad termination"), false);
        m_window.SavePlacement();
        m_settings.WriteFlag(kSettingsKey, QStringLiteral("Visible"), m_window.WindowShown());
    });
}

void MonitorCore::Exit1Click() {
    if (m_env.features.admin->IsItProtected(true))
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
        AppException(QString::fromUtf8(e.what()));
    }
}

bool MonitorCore::click(const QString& command) {
    bool known = false;
    guarded([&] { known = dispatch(command); });
    return known;
}

bool MonitorCore::dispatch(const QString& command) {
    using Handler = void (*)(MonitorCore&);
    static const QHash<QString, Handler> kHandlers = {
        {"Exit1",
         [](MonitorCore& c) {
             c.Exit1Click();
         }},
        {"Exit2",
         [](MonitorCore& c) {
             c.Exit1Click();
         }},
        {"Details1",
         [](MonitorCore& c) {
             c.m_window.IEButton2Click();
         }},
        {"Details2",
         [](MonitorCore& c) {
             c.m_window.IEButton2Click();
         }},
        {"ToolbarButton972",
         [](MonitorCore& c) {
             c.m_window.IEButton2Click();
         }},
        {"Toolbar1",
         [](MonitorCore& c) {
             c.m_window.Toolbar1Click();
         }},
        {"Toolbar2",
         [](MonitorCore& c) {
             c.m_window.Toolbar1Click();
         }},
        {"Ontop1",
         [](MonitorCore& c) {
             c.m_window.Ontop1Click();
         }},
        {"Open1",
         [](MonitorCore& c) {
             c.m_window.TrayIcon1Click();
         }},
        {"TrayIcon1Click",
         [](MonitorCore& c) {
             c.m_window.TrayIcon1Click();
         }},
        {"TrayConn",
         [](MonitorCore& c) {
             c.m_window.TrayConn();
         }},
        {"Minimera",
         [](MonitorCore& c) {
             c.m_window.Minimera();
         }},
        {"FormClose",
         [](MonitorCore& c) {
             c.m_window.FormClose();
         }},
        {"Button1",
         [](MonitorCore& c) {
             c.m_env.features.mail->Button1Click();
         }},
        {"Button2",
         [](MonitorCore& c) {
             c.m_window.Button2Click();
         }},
        {"Button4",
         [](MonitorCore& c) {
             c.m_poller->Button4Click();
         }},
        {"Viewlog1",
         [](MonitorCore& c) {
             c.Viewlog1Click();
         }},
        {"About1",
         [](MonitorCore& c) {
             c.About1Click();
         }},
        {"About2",
         [](MonitorCore& c) {
             c.About1Click();
         }},
        {"Dialdart1",
         [](MonitorCore& c) {
             c.m_env.features.dial->DialdartMenu();
         }},
        {"Dialdart2",
         [](MonitorCore& c) {
             c.m_env.features.dial->DialdartMenu();
         }},
        {"ToolbarButton973",
         [](MonitorCore& c) {
             c.m_env.features.dial->DialdartMenu();
         }},
    };
    const Handler handler = kHandlers.value(command, nullptr);
    if (!handler)
        return false;
    handler(*this);
    return true;
}

void MonitorCore::About1Click() {
    m_env.view.messageBox(m_intl.IntlStr(670),
                          QStringLiteral("Tollwatch %1\nTimes and prices pay-by-time connections.")
                              .arg(QStringLiteral(TOLLWATCH_VERSION)),
                          BoxButtons::Ok, BoxIcon::Information, BoxAnswer::Ok);
}

void MonitorCore::Viewlog1Click() {
    if (m_env.features.admin->IsItProtected(false))
        return;
    m_env.view.openDocument(m_log.logFilePath());
}
