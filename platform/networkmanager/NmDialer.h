#pragma once
// Brings saved connections up and down through NetworkManager and follows an
// activation through what NetworkManager announces until it is up or has
// failed. Credentials typed for one dial go with an in-memory copy of the
// profile that NetworkManager deletes when the link ends: the saved profile
// is never touched, and no secret agent is needed.

#include "NmBus.h"
#include "NmConnectionProfile.h"
#include "NmObjects.h"
#include "RasApi.h"

#include <QList>
#include <QObject>

// What the user typed for one dial.
struct NmTypedCredentials {
    QString userName;
    QString password;
};

class NmDialer : public QObject {
    Q_OBJECT

public:
    NmDialer(NmBus& bus, NmObjects& objects, QObject* parent = nullptr);

    // Activates profile on the device NetworkManager chooses. Returns 0 with
    // the active connection's path and the uuid of the profile it runs (the
    // copy's when typed credentials needed one), or an error code; progress
    // goes to callback.
    int dial(const NmConnectionProfile& profile, const NmTypedCredentials& typed,
             RasApi::DialCallback callback, QString& activePath, QString& uuid);
    // Stops following the activation (no more callbacks) and takes it down.
    int hangUp(const QString& activePath);

    // The RAS code of a failed NetworkManager call.
    static int errorOfReply(const QDBusMessage& reply);
    // The settings of the in-memory copy that carries typed credentials.
    static NmSettingsMap copyWithCredentials(const NmConnectionProfile& profile,
                                             const NmTypedCredentials& typed,
                                             const QString& localUser);

private slots:
    void onChanged();

private:
    struct Pending {
        QString activePath;
        bool seen = false;
        bool deviceStarted = false;
        int lastState = -1;
        RasApi::DialCallback callback;
    };

    int indexOf(const QString& activePath) const;
    void check(const Pending& pending);
    // Passes a step on: once per state, and for the last time on Connected or
    // an error.
    void deliver(const QString& activePath, int state, int error);

    NmBus& m_bus;
    NmObjects& m_objects;
    QList<Pending> m_pending;
};
