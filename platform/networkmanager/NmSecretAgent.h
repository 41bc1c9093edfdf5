#pragma once
// A NetworkManager secret agent that hands over passwords typed for one
// activation: NetworkManager asks it during the activation; nothing is saved.

#include "NmBus.h"

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QHash>
#include <QObject>

class NmSecretAgent : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.NetworkManager.SecretAgent")

public:
    static inline const QString kObjectPath =
        QStringLiteral("/org/freedesktop/NetworkManager/SecretAgent");
    static inline const QString kIdentifier = QStringLiteral("org.varnholt.tollwatch");

    explicit NmSecretAgent(NmBus& bus, QObject* parent = nullptr);
    ~NmSecretAgent() override;

    // Offers password for the settings object connectionPath until withdraw().
    // Registers with NetworkManager's agent manager on the first offer;
    // returns false when that failed (the activation may then lack it).
    bool offer(const QString& connectionPath, const QString& password);
    void withdraw(const QString& connectionPath);

public slots:
    NmSettingsMap GetSecrets(const NmSettingsMap& connection, const QDBusObjectPath& connectionPath,
                             const QString& settingName, const QStringList& hints, uint flags);
    void CancelGetSecrets(const QDBusObjectPath& connectionPath, const QString& settingName);
    void SaveSecrets(const NmSettingsMap& connection, const QDBusObjectPath& connectionPath);
    void DeleteSecrets(const NmSettingsMap& connection, const QDBusObjectPath& connectionPath);

private:
    bool registerAgent();
    void unregisterAgent();

    NmBus& m_bus;
    QHash<QString, QString> m_passwords; // settings object -> password
    bool m_registered = false;
};
