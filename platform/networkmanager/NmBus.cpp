#include "NmBus.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {
const QString kPropertiesIface = QStringLiteral("org.freedesktop.DBus.Properties");
}

namespace Nm {

void registerTypes() {
    qDBusRegisterMetaType<NmSettingsMap>();
}

QStringList objectPaths(const QVariant& value) {
    QStringList out;
    const auto paths = qdbus_cast<QList<QDBusObjectPath>>(value);
    for (const QDBusObjectPath& p : paths)
        out.append(p.path());
    return out;
}

NmSettingsMap settingsMap(const QVariant& value) {
    return qdbus_cast<NmSettingsMap>(value);
}

std::pair<uint, uint> uintPair(const QVariant& value) {
    uint first = 0;
    uint second = 0;
    if (value.canConvert<QDBusArgument>()) {
        const auto arg = value.value<QDBusArgument>();
        arg.beginStructure();
        arg >> first >> second;
        arg.endStructure();
    }
    return {first, second};
}

} // namespace Nm

NmBus::NmBus(QDBusConnection connection, int timeoutMs)
    : m_connection(std::move(connection)), m_timeoutMs(timeoutMs) {
    Nm::registerTypes();
}

QDBusMessage NmBus::call(const QString& path, const QString& iface, const QString& method,
                         const QVariantList& arguments) const {
    QDBusMessage message = QDBusMessage::createMethodCall(Nm::kService, path, iface, method);
    message.setArguments(arguments);
    // Block without running the event loop: a poll tick must not re-enter.
    return m_connection.call(message, QDBus::Block, m_timeoutMs);
}

std::optional<QVariantMap> NmBus::properties(const QString& path, const QString& iface) const {
    const QDBusMessage reply = call(path, kPropertiesIface, QStringLiteral("GetAll"), {iface});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
}

std::optional<QVariant> NmBus::property(const QString& path, const QString& iface,
                                        const QString& name) const {
    const QDBusMessage reply = call(path, kPropertiesIface, QStringLiteral("Get"), {iface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return qdbus_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
}

bool NmBus::setProperty(const QString& path, const QString& iface, const QString& name,
                        const QVariant& value) const {
    const QDBusMessage reply = call(path, kPropertiesIface, QStringLiteral("Set"),
                                    {iface, name, QVariant::fromValue(QDBusVariant(value))});
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool NmBus::answers() const {
    if (!m_connection.isConnected())
        return false;
    return property(Nm::kPath, Nm::kManagerIface, QStringLiteral("Version")).has_value();
}
