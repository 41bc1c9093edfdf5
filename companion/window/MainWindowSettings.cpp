#include "MainWindowSettings.h"

#include "CompanionSettings.h"
#include "Converters.h"

#include <algorithm>

namespace {
const QString kToolbar = QStringLiteral("MainToolbarVisible");
// Read under one spelling and written under the other; value names compare
// without regard to case, so both name one value.
const QString kStatusBarRead = QStringLiteral("StatusBarVisible");
const QString kStatusBarWrite = QStringLiteral("StatusbarVisible");
// The part of a window that must stay on screen for it to be moved back.
constexpr int kGrab = 40;
} // namespace

std::optional<int> MainWindowSettings::readInt(const QString& name) const {
    const QString text = m_settings.ReadText(kCompanionKey, name, QString());
    if (text.isEmpty())
        return std::nullopt;
    try {
        const qint64 v = StrToInt(text);
        if (v < -100000 || v > 100000)
            return std::nullopt;
        return int(v);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

std::array<int, MainWindowSettings::kColumns> MainWindowSettings::columnWidths() const {
    std::array<int, kColumns> widths = kDefaultWidths;
    for (int c = 0; c < kColumns; ++c) {
        const auto v = readInt(QStringLiteral("Column %1").arg(c));
        if (v && *v >= 0)
            widths[size_t(c)] = *v;
    }
    return widths;
}

bool MainWindowSettings::toolbarVisible() const {
    return m_settings.ReadFlag(kCompanionKey, kToolbar, true);
}

bool MainWindowSettings::statusBarVisible() const {
    return m_settings.ReadFlag(kCompanionKey, kStatusBarRead, true);
}

void MainWindowSettings::saveAtClose(const std::array<int, kColumns>& widths, bool toolbar,
                                     bool statusBar) {
    m_settings.store().transaction([&] {
        for (int c = 0; c < kColumns; ++c)
            m_settings.WriteText(kCompanionKey, QStringLiteral("Column %1").arg(c),
                                 QString::number(widths[size_t(c)]));
        m_settings.WriteFlag(kCompanionKey, kToolbar, toolbar);
        m_settings.WriteFlag(kCompanionKey, kStatusBarWrite, statusBar);
    });
}

std::optional<WindowPlacement> MainWindowSettings::placement() const {
    const auto left = readInt(QStringLiteral("Left"));
    const auto top = readInt(QStringLiteral("Top"));
    const auto width = readInt(QStringLiteral("Width"));
    const auto height = readInt(QStringLiteral("Height"));
    if (!left || !top || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    WindowPlacement p;
    p.geometry = QRect(*left, *top, *width, *height);
    const auto state = readInt(QStringLiteral("WindowState"));
    if (state && *state >= WindowPlacement::Normal && *state <= WindowPlacement::Maximized)
        p.state = WindowPlacement::State(*state);
    return p;
}

void MainWindowSettings::savePlacement(const WindowPlacement& p) {
    m_settings.store().transaction([&] {
        m_settings.WriteText(kCompanionKey, QStringLiteral("Left"),
                             QString::number(p.geometry.x()));
        m_settings.WriteText(kCompanionKey, QStringLiteral("Top"), QString::number(p.geometry.y()));
        m_settings.WriteText(kCompanionKey, QStringLiteral("Width"),
                             QString::number(p.geometry.width()));
        m_settings.WriteText(kCompanionKey, QStringLiteral("Height"),
                             QString::number(p.geometry.height()));
        m_settings.WriteText(kCompanionKey, QStringLiteral("WindowState"),
                             QString::number(int(p.state)));
    });
}

QRect MainWindowSettings::onScreen(const QRect& window, const QRect& screen) {
    if (screen.isEmpty())
        return window;
    const QRect shown = window.intersected(screen);
    if (shown.width() >= std::min(kGrab, window.width()) &&
        shown.height() >= std::min(kGrab, window.height()) && window.top() >= screen.top())
        return window;
    QRect r = window;
    r.setWidth(std::min(r.width(), screen.width()));
    r.setHeight(std::min(r.height(), screen.height()));
    r.moveLeft(std::clamp(r.left(), screen.left(), screen.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), screen.top(), screen.bottom() - r.height() + 1));
    return r;
}
