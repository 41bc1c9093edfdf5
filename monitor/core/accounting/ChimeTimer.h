#pragma once
// The tick of the chime timer (every 61 seconds while online): the limits
// during the connection, with one warning per run at most, the chime with its
// reminder box, and the new-mail check at the end of every tick.

#include "AccountingContext.h"
#include "DayTime.h"

#include <functional>

// The chime sound event's file: the default value of this key (HKCU).
inline const QString kChimeSoundKey =
    QStringLiteral("AppEvents\\Schemes\\Apps\\.Default\\Chime\\.Current");

// The file the chime plays: the stored chime sound, a name without a folder
// taken from soundFolder.
QString ChimeSoundPath(const Settings& settings, const QString& soundFolder);

class ChimeTimer {
public:
    using MailCheck = std::function<void()>;

    // soundFolder: where a chime file named without a folder is found.
    ChimeTimer(const AccountingContext& ctx, QString soundFolder, MailCheck mailCheck = {});

    // One tick; returns the elapsed time (zero when the tick failed early).
    // No exception leaves it: a failure is posted as an error event.
    DayTime::Hms run(double startTime);

    bool WarningShown() const { return m_warningShown; }
    // The file the chime plays now.
    QString ChimeSoundFile() const;

private:
    void Tick(double startTime, DayTime::Hms& elapsed);
    void CheckLimits(qint64 runningMinutes, double cost);
    bool ChimeDue(int elapsedMinutes) const;
    void Chime(const DayTime::Hms& elapsed, qint64 runningMinutes);

    AccountingContext m_ctx;
    QString m_soundFolder;
    MailCheck m_mailCheck;
    // Latches for the life of the process: at most one warning per run.
    bool m_warningShown = false;
};
