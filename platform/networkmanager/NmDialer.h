#pragma once
// Brings saved connections up and down through NetworkManager and follows an
// activation through its StateChanged signals until it is up or has failed.

#include "NmBus.h"
#include "NmConnectionProfile.h"
#include "NmSecretAgent.h"
#include "RasApi.h"

#include <QDBusMessage>
#include <QList>
#include <QObject>

class NmDialer : public QObject {
    Q_OBJECT

public:
    explicit NmDialer(NmBus& bus, QObject* parent = nullptr);

    // Activates profile on the device NetworkManager chooses. A non-empty
    // password is handed over for this activation only. Returns 0 and the
    // active connection's path, or an error code; progress goes to callback.
    int dial(const NmConnectionProfile& profile, const QString& password,
             RasApi::DialCallback callback, QString& activePath);
    // Stops following the activation (no more callbacks) and takes it down.
    int hangUp(const QString& activePath);

    // The RAS code of a failed NetworkManager call.
    static int errorOfReply(const QDBusMessage& reply);

private slots:
    void onDeviceStateChanged(const QDBusMessage& message);
    void onActiveStateChanged(const QDBusMessage& message);

private:
    struct Pending {
        QString activePath;
        QString connectionPath;
        QStringList devices;
        bool deviceStarted = false;
        int lastState = -1;
        RasApi::DialCallback callback;
    };

    int indexOf(const QString& activePath) const;
    void checkNow(const QString& activePath);
    void onDeviceState(const QString& activePath, uint state, uint reason);
    // Passes a step on: once per state, and for the last time on Connected or
    // an error.
    void deliver(const QString& activePath, int state, int error);
    void finish(int index);

    NmBus& m_bus;
    NmSecretAgent m_agent;
    QList<Pending> m_pending;
};
