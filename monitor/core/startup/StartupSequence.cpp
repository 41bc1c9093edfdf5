#include "StartupSequence.h"

#include "Clock.h"
#include "CommandLine.h"
#include "ConnectionLogAppender.h"
#include "Converters.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "MonthlyReset.h"
#include "PendingRecovery.h"
#include "SessionAccounting.h"
#include "SessionState.h"
#include "Settings.h"
#include "StoredTotals.h"
#include "TariffTexts.h"
#include "TotalTexts.h"
#include "TransferRates.h"
#include "WindowCaptions.h"
#include "WindowCommands.h"
#include "WindowFrame.h"

qint64 ConnectedMinutes(const Settings& settings) {
    return StoredTotals::Minutes(
               settings.ReadText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("0")))
        .value_or(0);
}

StartupSequence::StartupSequence(const MonitorParts& parts, SessionAccounting& accounting,
                                 WindowCommands& window,
                                 std::function<void(const std::exception&)> failure)
    : m_parts(parts), m_accounting(accounting), m_window(window), m_failure(std::move(failure)) {}

void StartupSequence::guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& e) {
        m_failure(e);
    }
}

void StartupSequence::FormCreate() {
    guarded([this] { m_parts.log.AppendPendingLines(); });
    guarded([this] {
        PendingRecovery(m_parts.store, m_parts.view, m_parts.intl, m_parts.formats,
                        m_parts.problems)
            .run();
    });
    guarded([this] { installMode(); });
    guarded([this] { captionsAndToolbar(); });
    guarded([this] { firstRun(); });
    guarded([this] { m_window.RestorePlacement(); });
    guarded([this] { startedEvent(); });
    guarded([this] { showOrHide(); });
    guarded([this] {
        MonthlyReset(m_parts.settings, m_parts.view, m_parts.events, m_parts.intl, m_parts.totals,
                     m_parts.clock, m_parts.formats)
            .run();
        m_parts.view.setStatusLine(2, totalText());
    });
    guarded([this] { totalsLines(); });
    guarded([this] { connectionFeatures(); });
    guarded([this] {
        m_window.RestoreXferLine();
        m_window.RestoreTrayDefault();
    });
    guarded([this] { badTerminationCheck(); });
    guarded([this] {
        m_parts.settings.WriteFlag(kSettingsKey, QStringLiteral("Bad termination"), true);
    });
}

QString StartupSequence::totalText() const {
    return m_parts.totals.TotalText(ConnectedMinutes(m_parts.settings));
}

void StartupSequence::installMode() {
    if (!m_parts.commandLine.install)
        return;
    m_parts.features.install->LookForPreviousVersions();
    if (!m_parts.features.install->CreateStartMenuShortcut())
        m_parts.view.messageBox(m_parts.intl.IntlStr(2010), m_parts.intl.IntlStr(130),
                                BoxButtons::Ok, BoxIcon::Error, BoxAnswer::Ok);
}

void StartupSequence::captionsAndToolbar() {
    WindowCaptions::LoadIntlStr(m_parts.view, m_parts.frame, m_parts.intl);
    m_parts.view.setCommandEnabled(QStringLiteral("Disconnect1"), false);
    m_parts.view.setCommandEnabled(QStringLiteral("Disconnect2"), false);
    m_window.RestoreToolbar();
    m_parts.view.setPictures(EventKind::Information);
    m_parts.session.Online = false;
    m_parts.view.setApplicationTitle(QStringLiteral("Tollwatch"));
}

void StartupSequence::firstRun() {
    const bool skipIntro =
        m_parts.settings.ReadFlag(kSettingsKey, QStringLiteral("Skip intro"), false);
    if (skipIntro && !m_parts.commandLine.install)
        return;
    m_parts.features.wizard->ShowWizard();
    const QDate today = m_parts.clock.now().date();
    m_parts.settings.WriteFlag(kSettingsKey, QStringLiteral("Skip intro"), true);
    m_parts.settings.WriteText(kSettingsKey, QStringLiteral("Last Reset"),
                               QString::number(today.year()) + QString::number(today.month()));
    WindowCaptions::LoadIntlStr(m_parts.view, m_parts.frame, m_parts.intl);
}

void StartupSequence::startedEvent() {
    const QString started = m_parts.intl.IntlStr(0);
    m_parts.events.PostEvent(started, EventKind::Information);
    m_parts.view.setStatusLine(1, started);
    const qint64 minutes = ConnectedMinutes(m_parts.settings);
    m_parts.view.setTrayHint(m_parts.intl.IntlStr(10) + m_parts.totals.TrayTotalText(minutes));
    m_parts.view.setStatusLine(2, m_parts.totals.TotalText(minutes));
}

void StartupSequence::showOrHide() {
    const bool visible = m_parts.settings.ReadFlag(kSettingsKey, QStringLiteral("Visible"), true);
    m_window.setWindowShown(visible);
    if (visible) {
        m_parts.frame.restoreWindow();
        return;
    }
    // Only the tray icon; the window keeps its stored position for later.
    m_window.Minimera();
    m_parts.frame.processPendingEvents();
}

void StartupSequence::totalsLines() {
    try {
        m_parts.features.mail->SetTimeout(int(StrToInt(m_parts.settings.ReadText(
            kSettingsKey, QStringLiteral("POP_Timeout"), QStringLiteral("3")))));
    } catch (const ConversionError&) {
        m_parts.features.mail->SetTimeout(3);
    }
    m_parts.view.setStatusLine(
        3, m_parts.intl.IntlStr(20) +
               MinutesText(ConnectedMinutes(m_parts.settings), m_parts.formats));
    m_parts.view.setStatusLineVisible(3, m_parts.totals.ShowCost());
}

void StartupSequence::connectionFeatures() {
    m_accounting.CheckTotalLimits();
    m_parts.features.dial->PopulateConnections();
    m_parts.xfer.TakeBaselines();
    if (m_parts.commandLine.dialAndExit) {
        m_parts.session.DialStarted = true;
        m_parts.features.dial->DialdartMenu();
    }
}

void StartupSequence::badTerminationCheck() {
    if (!m_parts.settings.ReadFlag(kSettingsKey, QStringLiteral("Bad termination"), false))
        return;
    const QString text = m_parts.intl.IntlStr(7030);
    m_parts.events.PostEvent(text, EventKind::Error);
    const QDateTime now = m_parts.clock.now();
    m_parts.log.AppendLogLine(text + QLatin1Char(':') + m_parts.formats.formatDate(now.date()) +
                              QLatin1Char(' ') + m_parts.formats.formatTime(now.time()));
    m_parts.view.beep(BeepKind::Warning);
}
