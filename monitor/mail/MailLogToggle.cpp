#include "MailLogToggle.h"

#include "MailView.h"
#include "WindowFrame.h"

#include <QtMath>

namespace {
// The detailed height: pixels per inch x 2.54 (244 pixels at 96 dots per
// inch).
constexpr double kDetailedHeightPerDpi = 2.54;
} // namespace

void MailLogToggle::Maillog1Click() {
    if (!m_frame.historyVisible()) {
        const int height = qRound(m_frame.pixelsPerInch() * kDetailedHeightPerDpi);
        m_frame.setFrameSize(m_frame.frameGeometry().width(), height);
        m_frame.setHistoryVisible(true);
        m_frame.setCommandChecked(QStringLiteral("Details1"), true);
        m_frame.setCommandChecked(QStringLiteral("Details2"), true);
    }
    // The log takes the event list's place and size wherever it lies over it.
    const bool shown = !m_frame.commandChecked(QStringLiteral("Maillog1"));
    m_frame.setCommandChecked(QStringLiteral("Maillog1"), shown);
    m_view.setMailLogVisible(shown);
}
