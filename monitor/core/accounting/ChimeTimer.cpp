#include "ChimeTimer.h"

#include "CheckTotalLimits.h"
#include "Converters.h"
#include "DosPath.h"
#include "TariffTexts.h"

#include <QFileInfo>

namespace {

const QString kTrue = QStringLiteral("true");

} // namespace

ChimeTimer::ChimeTimer(const AccountingContext& ctx, QString soundFolder, MailCheck mailCheck)
    : m_ctx(ctx), m_soundFolder(std::move(soundFolder)), m_mailCheck(std::move(mailCheck)) {}

DayTime::Hms ChimeTimer::run(double startTime) {
    DayTime::Hms elapsed;
    try {
        Tick(startTime, elapsed);
    } catch (const std::exception&) {
        m_ctx.events.PostEvent(QStringLiteral("Error in the timer routines"), EventKind::Error);
    }
    if (m_mailCheck)
        m_mailCheck();
    return elapsed;
}

void ChimeTimer::Tick(double startTime, DayTime::Hms& elapsed) {
    const double now = DayTime::AcrossMidnight(startTime, m_ctx.nowInSeconds());
    elapsed = DayTime::Split(now - startTime);
    const double cost = m_ctx.costModel().ConnectionCost(startTime, now);
    const qint64 runningMinutes = m_ctx.connectedMinutes() + elapsed.hours * 60 + elapsed.minutes;
    CheckLimits(runningMinutes, cost);
    if (ChimeDue(elapsed.minutes))
        Chime(elapsed, runningMinutes);
}

// The time limit is met only by equality: a limit already passed when the
// connection began, or a minute the 61-second period skips, gives no warning.
void ChimeTimer::CheckLimits(qint64 runningMinutes, double cost) {
    const Settings& s = m_ctx.settings;
    const qint64 warningTime =
        StrToInt(s.ReadText(kSettingsKey, QStringLiteral("Warning time"), QStringLiteral("0")));
    if (runningMinutes == warningTime &&
        s.ReadFlag(kSettingsKey, QStringLiteral("Warning"), false) && !m_warningShown) {
        m_warningShown = true;
        m_ctx.events.PostEvent(QString(), EventKind::Warning);
        m_ctx.view.messageBox(m_ctx.intl.IntlStr(240), CheckTotalLimits::WarningMessage(m_ctx),
                              BoxButtons::Ok, BoxIcon::Information, BoxAnswer::Ok);
    }
    const double warningCost = ParseDecimal(
        s.ReadText(kSettingsKey, QStringLiteral("Warning cost"), QStringLiteral("0")), m_ctx.fmt);
    if (warningCost < m_ctx.totalTexts().ConnectionCostTotal() + cost &&
        s.ReadFlag(kSettingsKey, QStringLiteral("Cost Warning"), false) && !m_warningShown) {
        m_warningShown = true;
        m_ctx.events.PostEvent(m_ctx.intl.IntlStr(5250), EventKind::Warning);
    }
}

// "Chime" must read exactly "true"; the period is consulted only then, and a
// period of 0 is a failure of the tick like any other.
bool ChimeTimer::ChimeDue(int elapsedMinutes) const {
    const Settings& s = m_ctx.settings;
    if (s.ReadText(kSettingsKey, QStringLiteral("Chime"), QString()) != kTrue || elapsedMinutes < 2)
        return false;
    const qint64 period =
        StrToInt(s.ReadText(kSettingsKey, QStringLiteral("Chime period"), QStringLiteral("10")));
    if (period == 0)
        throw ConversionError("Division by zero: the chime period is 0");
    return elapsedMinutes % period == 0;
}

QString ChimeSoundPath(const Settings& settings, const QString& soundFolder) {
    const QString stored = settings.ReadText(kChimeSoundKey, QString(), QStringLiteral("ding.wav"));
    if (!stored.contains(QLatin1Char('/')) && !stored.contains(QLatin1Char('\\')))
        return joinPath(soundFolder, stored);
    return DosPathMapper::fromStore(settings.store()).toNative(stored);
}

QString ChimeTimer::ChimeSoundFile() const {
    return ChimeSoundPath(m_ctx.settings, m_soundFolder);
}

void ChimeTimer::Chime(const DayTime::Hms& elapsed, qint64 runningMinutes) {
    const QString file = ChimeSoundFile();
    if (QFileInfo(file).isFile())
        m_ctx.view.playSound(file);
    else
        m_ctx.view.beep(BeepKind::Default);
    if (m_ctx.settings.ReadText(kSettingsKey, QStringLiteral("RemindBox"), QString()) != kTrue)
        return;
    const IntlStrings& intl = m_ctx.intl;
    const QString text = intl.IntlStr(270) + QStringLiteral("\r\n\r\n") + intl.IntlStr(210) +
                         QString::number(elapsed.hours) + m_ctx.fmt.timeSeparator +
                         QStringLiteral("%1").arg(elapsed.minutes, 2, 10, QLatin1Char('0')) +
                         QStringLiteral(".\r\n") + intl.IntlStr(20) +
                         MinutesText(runningMinutes, m_ctx.fmt);
    m_ctx.view.messageBox(intl.IntlStr(1200), text, BoxButtons::Ok, BoxIcon::Information,
                          BoxAnswer::Ok);
}
