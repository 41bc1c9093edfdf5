#include "QtSoundPlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {
void defaultBeep() {
    // QApplication::beep needs a widget application; a console run (the
    // headless view) still gets the terminal bell.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
    else
        std::fputs("\a", stderr);
}
} // namespace

QtSoundPlayer::QtSoundPlayer(Beep beep, int loadingTimeoutMs, QObject* parent)
    : QObject(parent), m_beep(beep ? std::move(beep) : Beep(defaultBeep)),
      m_loadingTimeoutMs(loadingTimeoutMs), m_loadingTimer(new QTimer(this)) {
    m_loadingTimer->setSingleShot(true);
    // A file that is not audio stays "Loading" for ever; give up on it.
    connect(m_loadingTimer, &QTimer::timeout, this, [this] {
        if (!m_waiting)
            return;
        discardEffect();
        finish(false);
    });
}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& file, Outcome outcome) {
    if (m_waiting) {
        // A newer sound replaces one that has not started yet; only the newer
        // one may beep.
        m_waiting = false;
        m_loadingTimer->stop();
        if (Outcome superseded = std::exchange(m_pending, Outcome()))
            superseded(false);
    }
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile()) {
        m_pending = std::move(outcome);
        finish(false);
        return;
    }
    const QString path = info.absoluteFilePath();
    if (m_effect && m_effectFile == path && m_effect->status() == QSoundEffect::Ready) {
        m_effect->play();
        if (outcome)
            outcome(true);
        return;
    }
    discardEffect();
    m_effect = new QSoundEffect(this);
    m_effectFile = path;
    m_pending = std::move(outcome);
    m_waiting = true;
    connect(m_effect, &QSoundEffect::statusChanged, this, &QtSoundPlayer::onStatusChanged);
    m_effect->setSource(QUrl::fromLocalFile(path));
    m_loadingTimer->start(m_loadingTimeoutMs);
    onStatusChanged(); // the status may already be final
}

void QtSoundPlayer::onStatusChanged() {
    if (!m_waiting || !m_effect)
        return;
    const QSoundEffect::Status status = m_effect->status();
    if (status == QSoundEffect::Ready) {
        m_effect->play();
        finish(true);
    } else if (status == QSoundEffect::Error) {
        discardEffect();
        finish(false);
    }
}

void QtSoundPlayer::finish(bool played) {
    m_waiting = false;
    m_loadingTimer->stop();
    if (!played)
        m_beep();
    if (Outcome outcome = std::exchange(m_pending, Outcome()))
        outcome(played);
}

void QtSoundPlayer::discardEffect() {
    if (m_effect) {
        m_effect->disconnect(this);
        // It may be the sender of the signal being handled.
        m_effect->deleteLater();
    }
    m_effect.clear();
    m_effectFile.clear();
}
