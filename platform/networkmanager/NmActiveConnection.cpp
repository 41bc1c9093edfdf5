#include "NmActiveConnection.h"

#include <QDBusArgument>
#include <QDBusObjectPath>

std::optional<QStringList> NmActiveConnection::list(const NmBus& bus) {
    const auto value =
        bus.property(Nm::kPath, Nm::kManagerIface, QStringLiteral("ActiveConnections"));
    if (!value)
        return std::nullopt;
    return Nm::objectPaths(*value);
}

std::optional<NmActiveConnection> NmActiveConnection::read(const NmBus& bus, const QString& path) {
    const auto props = bus.properties(path, Nm::kActiveIface);
    if (!props)
        return std::nullopt;
    NmActiveConnection c;
    c.path = path;
    c.id = props->value(QStringLiteral("Id")).toString();
    c.uuid = props->value(QStringLiteral("Uuid")).toString();
    c.type = props->value(QStringLiteral("Type")).toString();
    c.connectionPath =
        qdbus_cast<QDBusObjectPath>(props->value(QStringLiteral("Connection"))).path();
    c.devices = Nm::objectPaths(props->value(QStringLiteral("Devices")));
    c.state = props->value(QStringLiteral("State")).toUInt();
    return c;
}

NmState::Observed NmActiveConnection::observe(const NmBus& bus) const {
    NmState::Observed observed;
    observed.activeState = state;
    if (devices.isEmpty())
        return observed;
    const auto props = bus.properties(devices.constFirst(), Nm::kDeviceIface);
    if (!props)
        return observed;
    observed.deviceState = props->value(QStringLiteral("State")).toUInt();
    observed.deviceReason = Nm::uintPair(props->value(QStringLiteral("StateReason"))).second;
    return observed;
}
