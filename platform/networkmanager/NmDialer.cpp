#include "NmDialer.h"

#include "NmActiveConnection.h"
#include "NmStateTable.h"
#include "RasConstants.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QTimer>

namespace {

enum : int {
    CannotFindEntry = 623,
    PortNotAvailable = 633,
    NoPermission = 649,
    FromDevice = 651,
    SourceUnavailable = 711,
};

const QString kStateChanged = QStringLiteral("StateChanged");

} // namespace

NmDialer::NmDialer(NmBus& bus, QObject* parent) : QObject(parent), m_bus(bus), m_agent(bus) {
    // Every device's and every active connection's signal: the device that
    // NetworkManager picks is only known once the activation has begun.
    m_bus.connection().connect(Nm::kService, QString(), Nm::kDeviceIface, kStateChanged, this,
                               SLOT(onDeviceStateChanged(QDBusMessage)));
    m_bus.connection().connect(Nm::kService, QString(), Nm::kActiveIface, kStateChanged, this,
                               SLOT(onActiveStateChanged(QDBusMessage)));
}

int NmDialer::errorOfReply(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    if (name.endsWith(QLatin1String(".UnknownConnection")))
        return CannotFindEntry;
    if (name.endsWith(QLatin1String(".UnknownDevice")) ||
        name.endsWith(QLatin1String(".ConnectionNotAvailable")))
        return PortNotAvailable;
    if (name.endsWith(QLatin1String(".PermissionDenied")) ||
        name.endsWith(QLatin1String(".AccessDenied")))
        return NoPermission;
    if (name.startsWith(QLatin1String("org.freedesktop.DBus.Error.")))
        return SourceUnavailable;
    return FromDevice;
}

int NmDialer::dial(const NmConnectionProfile& profile, const QString& password,
                   RasApi::DialCallback callback, QString& activePath) {
    // Without the agent NetworkManager may still know a saved password, so a
    // failed registration does not stop the dial; a missing one shows as an
    // authentication failure.
    if (!password.isEmpty())
        m_agent.offer(profile.path, password);
    const QDBusObjectPath none(QStringLiteral("/"));
    const QDBusMessage reply =
        m_bus.call(Nm::kPath, Nm::kManagerIface, QStringLiteral("ActivateConnection"),
                   {QVariant::fromValue(QDBusObjectPath(profile.path)), QVariant::fromValue(none),
                    QVariant::fromValue(none)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_agent.withdraw(profile.path);
        return errorOfReply(reply);
    }
    activePath = qdbus_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    m_pending.append({activePath, profile.path, {}, false, -1, std::move(callback)});
    // NetworkManager may have got far before the signals were connected to
    // this activation: look once the caller has the handle.
    const QString path = activePath;
    QTimer::singleShot(0, this, [this, path] { checkNow(path); });
    return 0;
}

int NmDialer::hangUp(const QString& activePath) {
    const int index = indexOf(activePath);
    if (index >= 0)
        finish(index);
    const QDBusMessage reply =
        m_bus.call(Nm::kPath, Nm::kManagerIface, QStringLiteral("DeactivateConnection"),
                   {QVariant::fromValue(QDBusObjectPath(activePath))});
    if (reply.type() == QDBusMessage::ReplyMessage ||
        reply.errorName().endsWith(QLatin1String(".ConnectionNotActive")))
        return 0;
    return errorOfReply(reply);
}

int NmDialer::indexOf(const QString& activePath) const {
    for (int i = 0; i < m_pending.size(); ++i) {
        if (m_pending.at(i).activePath == activePath)
            return i;
    }
    return -1;
}

void NmDialer::checkNow(const QString& activePath) {
    const int index = indexOf(activePath);
    if (index < 0)
        return;
    const auto active = NmActiveConnection::read(m_bus, activePath);
    if (!active) {
        // Gone before it could be looked at: it failed, and why is lost.
        deliver(activePath, RasState::Disconnected, FromDevice);
        return;
    }
    m_pending[index].devices = active->devices;
    const RasConnStatus status = NmState::statusOf(active->observe(m_bus));
    deliver(activePath, status.state, status.error);
}

void NmDialer::onDeviceStateChanged(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 3)
        return;
    const QString device = message.path();
    const QList<Pending> pending = m_pending;
    for (const Pending& p : pending) {
        if (!p.devices.contains(device)) {
            // The device may have been chosen since the last look.
            const auto active = NmActiveConnection::read(m_bus, p.activePath);
            const int index = indexOf(p.activePath);
            if (!active || index < 0 || !active->devices.contains(device))
                continue;
            m_pending[index].devices = active->devices;
        }
        onDeviceState(p.activePath, args.at(0).toUInt(), args.at(2).toUInt());
    }
}

void NmDialer::onDeviceState(const QString& activePath, uint state, uint reason) {
    const int index = indexOf(activePath);
    if (index < 0)
        return;
    if (state == NmState::DeviceFailed) {
        deliver(activePath, RasState::Disconnected, NmState::errorOfDeviceReason(reason));
    } else if (state < NmState::DevicePrepare) {
        // Back to idle after it had started: the activation is over.
        if (m_pending.at(index).deviceStarted)
            deliver(activePath, RasState::Disconnected, NmState::errorOfDeviceReason(reason));
    } else {
        m_pending[index].deviceStarted = true;
        deliver(activePath, NmState::dialStateOfDevice(state, NmState::ActiveActivating), 0);
    }
}

void NmDialer::onActiveStateChanged(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    const int index = indexOf(message.path());
    if (args.size() < 2 || index < 0)
        return;
    const uint state = args.at(0).toUInt();
    if (state == NmState::ActiveDeactivated)
        deliver(message.path(), RasState::Disconnected,
                NmState::errorOfActiveReason(args.at(1).toUInt()));
    else if (state == NmState::ActiveActivated || m_pending.at(index).devices.isEmpty())
        deliver(message.path(), NmState::dialStateOfActive(state), 0);
}

void NmDialer::deliver(const QString& activePath, int state, int error) {
    const int index = indexOf(activePath);
    if (index < 0)
        return;
    Pending& p = m_pending[index];
    // Going down without a reason is not news: the reason follows.
    if (error == 0 && (state == RasState::Disconnected || state == p.lastState))
        return;
    p.lastState = state;
    const RasApi::DialCallback callback = p.callback;
    if (error != 0 || state == RasState::Connected)
        finish(index);
    // Last, as the callback may hang up or dial again.
    if (callback)
        callback(state, error);
}

void NmDialer::finish(int index) {
    const QString connectionPath = m_pending.at(index).connectionPath;
    m_pending.removeAt(index);
    for (const Pending& p : std::as_const(m_pending)) {
        if (p.connectionPath == connectionPath)
            return;
    }
    m_agent.withdraw(connectionPath);
}
