#include "NmActiveConnection.h"

std::optional<NmActiveConnection> NmActiveConnection::of(const NmObjects& objects,
                                                         const QString& path) {
    const QVariantMap props = objects.properties(path, Nm::kActiveIface);
    // A StateChanged signal alone leaves a State behind; an active
    // connection NetworkManager announced has its Uuid.
    if (!props.contains(QStringLiteral("Uuid")))
        return std::nullopt;
    NmActiveConnection c;
    c.path = path;
    c.id = props.value(QStringLiteral("Id")).toString();
    c.uuid = props.value(QStringLiteral("Uuid")).toString();
    c.type = props.value(QStringLiteral("Type")).toString();
    c.connectionPath = props.value(QStringLiteral("Connection")).toString();
    c.devices = props.value(QStringLiteral("Devices")).toStringList();
    c.state = props.value(QStringLiteral("State")).toUInt();
    return c;
}

NmState::Observed NmActiveConnection::observe(const NmObjects& objects) const {
    NmState::Observed observed;
    observed.activeState = state;
    if (devices.isEmpty())
        return observed;
    const QString device = devices.constFirst();
    if (objects.properties(device, Nm::kDeviceIface).isEmpty())
        return observed;
    const auto [deviceState, reason] = objects.deviceState(device);
    observed.deviceState = deviceState;
    observed.deviceReason = reason;
    return observed;
}
