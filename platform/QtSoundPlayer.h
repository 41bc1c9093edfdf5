#pragma once
// SoundPlayer on QSoundEffect, with a beep when the file is missing, is not
// audio or does not load in time.

#include "SoundPlayer.h"

#include <QObject>
#include <QPointer>

class QSoundEffect;
class QTimer;

class QtSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    using Beep = std::function<void()>;
    static constexpr int DefaultLoadingTimeoutMs = 3000;

    // beep defaults to QApplication::beep().
    explicit QtSoundPlayer(Beep beep = {}, int loadingTimeoutMs = DefaultLoadingTimeoutMs,
                           QObject* parent = nullptr);
    ~QtSoundPlayer() override;

    void play(const QString& file, Outcome outcome = {}) override;

private:
    void onStatusChanged();
    void finish(bool played);
    void discardEffect();

    Beep m_beep;
    int m_loadingTimeoutMs;
    QPointer<QSoundEffect> m_effect;
    QString m_effectFile;
    QTimer* m_loadingTimer = nullptr;
    Outcome m_pending;
    bool m_waiting = false;
};
