#include "NmSecretAgent.h"

#include <QDBusObjectPath>

namespace {
const QString kNoSecrets = QStringLiteral("org.freedesktop.NetworkManager.SecretAgent.NoSecrets");
}

NmSecretAgent::NmSecretAgent(NmBus& bus, QObject* parent) : QObject(parent), m_bus(bus) {}

NmSecretAgent::~NmSecretAgent() {
    unregisterAgent();
}

bool NmSecretAgent::offer(const QString& connectionPath, const QString& password) {
    m_passwords.insert(connectionPath, password);
    return m_registered || registerAgent();
}

void NmSecretAgent::withdraw(const QString& connectionPath) {
    m_passwords.remove(connectionPath);
    if (m_passwords.isEmpty())
        unregisterAgent();
}

bool NmSecretAgent::registerAgent() {
    QDBusConnection& bus = m_bus.connection();
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportAllSlots))
        return false;
    const QDBusMessage reply = m_bus.call(Nm::kAgentManagerPath, Nm::kAgentManagerIface,
                                          QStringLiteral("Register"), {kIdentifier});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        bus.unregisterObject(kObjectPath);
        return false;
    }
    m_registered = true;
    return true;
}

void NmSecretAgent::unregisterAgent() {
    if (!m_registered)
        return;
    m_bus.call(Nm::kAgentManagerPath, Nm::kAgentManagerIface, QStringLiteral("Unregister"));
    m_bus.connection().unregisterObject(kObjectPath);
    m_registered = false;
}

NmSettingsMap NmSecretAgent::GetSecrets(const NmSettingsMap&, const QDBusObjectPath& connectionPath,
                                        const QString& settingName, const QStringList&, uint) {
    const auto it = m_passwords.constFind(connectionPath.path());
    if (it == m_passwords.constEnd()) {
        // Not ours: NetworkManager goes on to the next agent.
        if (calledFromDBus())
            sendErrorReply(kNoSecrets, QStringLiteral("No password was typed for this connection"));
        return {};
    }
    NmSettingsMap secrets;
    secrets[settingName].insert(QStringLiteral("password"), *it);
    return secrets;
}

void NmSecretAgent::CancelGetSecrets(const QDBusObjectPath&, const QString&) {}

// Typed passwords are for one activation only: nothing to save or delete.
void NmSecretAgent::SaveSecrets(const NmSettingsMap&, const QDBusObjectPath&) {}

void NmSecretAgent::DeleteSecrets(const NmSettingsMap&, const QDBusObjectPath&) {}
