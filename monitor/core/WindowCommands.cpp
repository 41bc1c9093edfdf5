#include "WindowCommands.h"

#include "Converters.h"
#include "IntlStrings.h"
#include "MonitorFeatures.h"
#include "MonitorView.h"
#include "Settings.h"
#include "WindowFrame.h"

namespace {
// Window and list heights in hundredths of an inch.
constexpr int kCompactHeight = 132;
constexpr int kDetailedHeight = 254;
constexpr int kHistoryWithXfer = 87;
constexpr int kHistoryWithoutXfer = 105;
// Where a window that would lie beyond the screen is put.
constexpr int kOnScreen = 5;
constexpr int kWheelNotch = 120;
} // namespace

WindowCommands::WindowCommands(Settings& settings, MonitorView& view, WindowFrame& frame,
                               const IntlStrings& intl, DialFeature& dial)
    : m_settings(settings), m_view(view), m_frame(frame), m_intl(intl), m_dial(dial) {}

int WindowCommands::scaled(int hundredths) const {
    return int(m_frame.pixelsPerInch() * 0.01 * hundredths);
}

int WindowCommands::readInt(const QString& name, int def) const {
    try {
        return int(StrToInt(m_settings.ReadText(kSettingsKey, name, QString::number(def))));
    } catch (const ConversionError&) {
        // A hand-edited placement that is no number falls back to the default.
        return def;
    }
}

void WindowCommands::setDetailsChecks() {
    const bool visible = m_frame.historyVisible();
    m_frame.setCommandChecked(QStringLiteral("Details1"), visible);
    m_frame.setCommandChecked(QStringLiteral("Details2"), visible);
}

void WindowCommands::RestoreToolbar() {
    const bool visible =
        m_settings.ReadFlag(kSettingsKey, QStringLiteral("MainToolbarVisible"), true);
    m_frame.setCommandChecked(QStringLiteral("Toolbar1"), visible);
    m_frame.setCommandChecked(QStringLiteral("Toolbar2"), visible);
    m_frame.setToolbarVisible(visible);
}

void WindowCommands::RestorePlacement() {
    const QSize screen = m_frame.screenSize();
    int left = readInt(QStringLiteral("Left"), 10);
    if (screen.width() < left)
        left = kOnScreen;
    int top = readInt(QStringLiteral("Top"), 10);
    if (screen.height() < top)
        top = kOnScreen;
    m_frame.setFramePosition(left, top);
    if (!m_settings.ReadFlag(kSettingsKey, QStringLiteral("Show details"), false)) {
        const QRect g = m_frame.frameGeometry();
        m_frame.setFrameSize(g.width(), scaled(kCompactHeight));
        m_frame.setCommandHint(QStringLiteral("ToolbarButton972"), m_intl.IntlStr(520));
        m_frame.setHistoryVisible(false);
    }
    // A stored size overrides the compact height.
    const QRect g = m_frame.frameGeometry();
    m_frame.setFrameSize(readInt(QStringLiteral("Width"), g.width()),
                         readInt(QStringLiteral("Height"), g.height()));
    setDetailsChecks();
}

void WindowCommands::RestoreXferLine() {
    const bool visible = m_settings.ReadFlag(kSettingsKey, QStringLiteral("Monitor Xfer"), true);
    m_view.setXferVisible(visible);
    m_frame.setHistoryHeight(scaled(visible ? kHistoryWithXfer : kHistoryWithoutXfer));
    m_view.setXferText(m_intl.IntlStr(6300));
}

void WindowCommands::RestoreTrayDefault() {
    const bool oneClick =
        m_settings.ReadFlag(kSettingsKey, QStringLiteral("Dialdart oneclick"), true);
    m_frame.setTrayDefaultCommand(oneClick ? QStringLiteral("Dialdart2") : QStringLiteral("Open1"));
}

void WindowCommands::SavePlacement() {
    const QRect g = m_frame.frameGeometry();
    m_settings.WriteFlag(kSettingsKey, QStringLiteral("MainToolbarVisible"),
                         m_frame.toolbarVisible());
    m_settings.WriteText(kSettingsKey, QStringLiteral("Top"), QString::number(g.top()));
    m_settings.WriteText(kSettingsKey, QStringLiteral("Left"), QString::number(g.left()));
    m_settings.WriteText(kSettingsKey, QStringLiteral("Width"), QString::number(g.width()));
    m_settings.WriteText(kSettingsKey, QStringLiteral("Height"), QString::number(g.height()));
    m_settings.WriteFlag(kSettingsKey, QStringLiteral("Show details"), m_frame.historyVisible());
}

void WindowCommands::IEButton2Click() {
    const QRect g = m_frame.frameGeometry();
    if (m_frame.historyVisible()) {
        m_frame.setFrameSize(g.width(), scaled(kCompactHeight));
        m_frame.setHistoryVisible(false);
    } else {
        m_frame.setFrameSize(g.width(), scaled(kDetailedHeight));
        m_frame.setHistoryVisible(true);
    }
    setDetailsChecks();
}

void WindowCommands::Toolbar1Click() {
    const bool visible = !m_frame.toolbarVisible();
    m_frame.setToolbarVisible(visible);
    m_frame.setCommandChecked(QStringLiteral("Toolbar1"), visible);
    m_frame.setCommandChecked(QStringLiteral("Toolbar2"), visible);
}

void WindowCommands::Ontop1Click() {
    const bool onTop = !m_frame.commandChecked(QStringLiteral("Ontop1"));
    m_frame.setCommandChecked(QStringLiteral("Ontop1"), onTop);
    m_frame.setStayOnTop(onTop);
}

void WindowCommands::TrayConn() {
    if (m_settings.ReadFlag(kSettingsKey, QStringLiteral("Dialdart oneclick"), false))
        m_dial.DialdartMenu();
}

void WindowCommands::TrayIcon1Click() {
    m_frame.restoreWindow();
    m_windowShown = true;
    m_settings.WriteText(kSettingsKey, QStringLiteral("Visible"), QStringLiteral("true"));
}

void WindowCommands::Minimera() {
    m_frame.hideToTray();
    m_windowShown = false;
}

void WindowCommands::FormClose() {
    m_windowShown = false;
    m_settings.WriteFlag(kSettingsKey, QStringLiteral("Show details"), m_frame.historyVisible());
    m_settings.WriteFlag(kSettingsKey, QStringLiteral("Visible"), false);
    Minimera();
}

void WindowCommands::Button2Click() {
    m_view.setPictures(EventKind::NewMail);
    const QString caption = m_intl.IntlStr(8110) + QStringLiteral("2") + m_intl.IntlStr(8120);
    for (const char* name : {"mnuReadMail", "Readmail", "N6", "toolMailClient"})
        m_view.setCommandVisible(QString::fromLatin1(name), true);
    m_view.setCommandCaption(QStringLiteral("Readmail"), caption);
    m_view.setCommandCaption(QStringLiteral("mnuReadMail"), caption);
}

void WindowCommands::appmessage(int wheelDelta) {
    if (wheelDelta == kWheelNotch || wheelDelta == -kWheelNotch)
        IEButton2Click();
}
