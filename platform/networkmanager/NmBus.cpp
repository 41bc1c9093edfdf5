#include "NmBus.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace {
// An authorization dialog takes the user a while.
constexpr int kInteractiveTimeoutMs = 60000;
} // namespace

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
    if (value.typeId() == QMetaType::QVariantList) {
        const QVariantList list = value.toList();
        return {list.value(0).toUInt(), list.value(1).toUInt()};
    }
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

QDBusMessage NmBus::message(const QString& path, const QString& iface, const QString& method,
                            const QVariantList& arguments, Auth auth) const {
    QDBusMessage message = QDBusMessage::createMethodCall(Nm::kService, path, iface, method);
    message.setArguments(arguments);
    message.setInteractiveAuthorizationAllowed(auth == Auth::Interactive);
    ++m_callsSent;
    return message;
}

QDBusMessage NmBus::call(const QString& path, const QString& iface, const QString& method,
                         const QVariantList& arguments, Auth auth) const {
    // Block without running the event loop: nothing else may run meanwhile.
    return m_connection.call(message(path, iface, method, arguments, auth), QDBus::Block,
                             auth == Auth::Interactive ? kInteractiveTimeoutMs : m_timeoutMs);
}

void NmBus::callLater(const QString& path, const QString& iface, const QString& method,
                      const QVariantList& arguments, QObject* context,
                      std::function<void(const QDBusMessage&)> done, Auth auth) const {
    const QDBusPendingCall pending =
        m_connection.asyncCall(message(path, iface, method, arguments, auth),
                               auth == Auth::Interactive ? kInteractiveTimeoutMs : m_timeoutMs);
    auto* watcher = new QDBusPendingCallWatcher(pending, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         done(watcher->reply());
                     });
}

bool NmBus::unreachable(const QDBusMessage& reply) {
    static const QStringList kGone = {
        QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
        QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
        QStringLiteral("org.freedesktop.DBus.Error.NoReply"),
        QStringLiteral("org.freedesktop.DBus.Error.Timeout"),
        QStringLiteral("org.freedesktop.DBus.Error.TimedOut"),
        QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
        QStringLiteral("org.freedesktop.DBus.Error.NoServer"),
    };
    return reply.type() == QDBusMessage::ErrorMessage && kGone.contains(reply.errorName());
}

std::optional<QVariantMap> NmBus::properties(const QString& path, const QString& iface) const {
    const QDBusMessage reply = call(path, Nm::kPropertiesIface, QStringLiteral("GetAll"), {iface});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
}

std::optional<QVariant> NmBus::property(const QString& path, const QString& iface,
                                        const QString& name) const {
    const QDBusMessage reply =
        call(path, Nm::kPropertiesIface, QStringLiteral("Get"), {iface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return qdbus_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
}

bool NmBus::setProperty(const QString& path, const QString& iface, const QString& name,
                        const QVariant& value) const {
    const QDBusMessage reply = call(path, Nm::kPropertiesIface, QStringLiteral("Set"),
                                    {iface, name, QVariant::fromValue(QDBusVariant(value))});
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool NmBus::answers() const {
    if (!m_connection.isConnected())
        return false;
    return property(Nm::kPath, Nm::kManagerIface, QStringLiteral("Version")).has_value();
}
