#include "NmObjects.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace {

const QString kStateChanged = QStringLiteral("StateChanged");
const QString kState = QStringLiteral("State");
const QString kStateReason = QStringLiteral("StateReason");

// Values kept in a form that reads the same every time: object paths as
// text, path lists as string lists, (uu) pairs as lists of two numbers.
QVariant plain(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return plain(value.value<QDBusVariant>().variant());
    if (value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (!value.canConvert<QDBusArgument>())
        return value;
    const QString signature = value.value<QDBusArgument>().currentSignature();
    if (signature == QLatin1String("ao"))
        return Nm::objectPaths(value);
    if (signature == QLatin1String("(uu)")) {
        const auto [first, second] = Nm::uintPair(value);
        return QVariantList{first, second};
    }
    return value;
}

bool away(const QDBusMessage& reply) {
    return reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

NmObjects::NmObjects(NmBus& bus, QObject* parent) : QObject(parent), m_bus(bus) {
    subscribe();
    syncIfNeeded();
}

void NmObjects::subscribe() {
    QDBusConnection& bus = m_bus.connection();
    m_watcher =
        new QDBusServiceWatcher(Nm::kService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &NmObjects::onOwnerChanged);
    bus.connect(Nm::kService, QString(), Nm::kPropertiesIface, QStringLiteral("PropertiesChanged"),
                this, SLOT(onPropertiesChanged(QDBusMessage)));
    bus.connect(Nm::kService, Nm::kObjectManagerPath, Nm::kObjectManagerIface,
                QStringLiteral("InterfacesAdded"), this, SLOT(onInterfacesAdded(QDBusMessage)));
    bus.connect(Nm::kService, Nm::kObjectManagerPath, Nm::kObjectManagerIface,
                QStringLiteral("InterfacesRemoved"), this, SLOT(onInterfacesRemoved(QDBusMessage)));
    bus.connect(Nm::kService, QString(), Nm::kDeviceIface, kStateChanged, this,
                SLOT(onDeviceStateChanged(QDBusMessage)));
    bus.connect(Nm::kService, QString(), Nm::kActiveIface, kStateChanged, this,
                SLOT(onActiveStateChanged(QDBusMessage)));
    bus.connect(Nm::kService, QString(), Nm::kConnectionIface, QStringLiteral("Updated"), this,
                SLOT(onProfileUpdated(QDBusMessage)));
}

void NmObjects::syncIfNeeded() {
    if (m_synced || m_syncing || m_away || !m_bus.connection().isConnected())
        return;
    m_syncing = true;
    ++m_pending;
    const quint64 generation = m_generation;
    m_bus.callLater(Nm::kObjectManagerPath, Nm::kObjectManagerIface,
                    QStringLiteral("GetManagedObjects"), {}, this,
                    [this, generation](const QDBusMessage& reply) {
                        --m_pending;
                        onSynced(reply, generation);
                    });
}

QVariantMap NmObjects::properties(const QString& path, const QString& iface) const {
    return m_objects.value(path).value(iface);
}

QVariant NmObjects::property(const QString& path, const QString& iface, const QString& name) const {
    return properties(path, iface).value(name);
}

QStringList NmObjects::activeConnections() const {
    return property(Nm::kPath, Nm::kManagerIface, QStringLiteral("ActiveConnections"))
        .toStringList();
}

QStringList NmObjects::profilePaths() const {
    return property(Nm::kSettingsPath, Nm::kSettingsIface, QStringLiteral("Connections"))
        .toStringList();
}

const NmConnectionProfile* NmObjects::profile(const QString& path) const {
    const auto it = m_profiles.constFind(path);
    return it == m_profiles.constEnd() ? nullptr : &*it;
}

std::optional<std::pair<uint, uint>> NmObjects::lastActiveChange(const QString& path) const {
    const auto it = m_activeChanges.constFind(path);
    return it == m_activeChanges.constEnd() ? std::nullopt : std::optional(*it);
}

std::pair<uint, uint> NmObjects::deviceState(const QString& device) const {
    const QVariantMap props = properties(device, Nm::kDeviceIface);
    const QVariantList pair = props.value(kStateReason).toList();
    if (pair.size() == 2)
        return {pair.at(0).toUInt(), pair.at(1).toUInt()};
    return {props.value(kState).toUInt(), 0};
}

void NmObjects::onOwnerChanged(const QString&, const QString&, const QString& after) {
    // Object paths start over in a new daemon: nothing known stays true.
    forget();
    m_away = after.isEmpty();
    syncIfNeeded();
}

void NmObjects::forget() {
    ++m_generation;
    m_objects.clear();
    m_profiles.clear();
    m_activeChanges.clear();
    m_synced = false;
    m_syncing = false;
    m_profilesToSync = 0;
    emit forgotten();
    emit changed();
}

void NmObjects::lost(const QDBusMessage& reply) {
    // The next poll looks again: one call at a time, whatever the daemon does.
    forget();
    m_away = away(reply);
}

void NmObjects::onSynced(const QDBusMessage& reply, quint64 generation) {
    if (generation != m_generation)
        return;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        lost(reply);
        return;
    }
    m_objects.clear();
    const QDBusArgument all = reply.arguments().constFirst().value<QDBusArgument>();
    QStringList profiles;
    all.beginMap();
    while (!all.atEnd()) {
        QDBusObjectPath path;
        NmSettingsMap interfaces;
        all.beginMapEntry();
        all >> path >> interfaces;
        all.endMapEntry();
        for (auto it = interfaces.cbegin(); it != interfaces.cend(); ++it)
            merge(path.path(), it.key(), it.value());
        if (interfaces.contains(Nm::kConnectionIface))
            profiles.append(path.path());
    }
    all.endMap();
    m_profilesToSync = int(profiles.size());
    for (const QString& path : profiles)
        fetchProfile(path, true);
    if (profiles.isEmpty())
        finishedOne();
    emit changed();
}

void NmObjects::finishedOne() {
    if (m_profilesToSync > 0 && --m_profilesToSync > 0)
        return;
    m_synced = true;
    m_syncing = false;
}

void NmObjects::merge(const QString& path, const QString& iface, const QVariantMap& values) {
    QVariantMap& known = m_objects[path][iface];
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        known.insert(it.key(), plain(it.value()));
}

void NmObjects::fetchProfile(const QString& path, bool forSync) {
    ++m_pending;
    const quint64 generation = m_generation;
    m_bus.callLater(path, Nm::kConnectionIface, QStringLiteral("GetSettings"), {}, this,
                    [this, path, forSync, generation](const QDBusMessage& reply) {
                        --m_pending;
                        onProfile(path, reply, forSync, generation);
                    });
}

void NmObjects::onProfile(const QString& path, const QDBusMessage& reply, bool forSync,
                          quint64 generation) {
    if (generation != m_generation)
        return;
    if (NmBus::unreachable(reply)) {
        lost(reply);
        return;
    }
    // A profile NetworkManager will not hand out stays unread until it
    // changes: the active connection speaks for it meanwhile.
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        m_profiles.insert(path, NmConnectionProfile::fromSettings(
                                    path, Nm::settingsMap(reply.arguments().constFirst())));
    else
        m_profiles.remove(path);
    if (forSync)
        finishedOne();
    emit changed();
}

void NmObjects::onPropertiesChanged(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    merge(message.path(), args.at(0).toString(), qdbus_cast<QVariantMap>(args.at(1)));
    emit changed();
}

void NmObjects::onInterfacesAdded(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    const QString path = qdbus_cast<QDBusObjectPath>(args.at(0)).path();
    const NmSettingsMap interfaces = Nm::settingsMap(args.at(1));
    for (auto it = interfaces.cbegin(); it != interfaces.cend(); ++it)
        merge(path, it.key(), it.value());
    if (interfaces.contains(Nm::kConnectionIface))
        fetchProfile(path, false);
    emit changed();
}

void NmObjects::onInterfacesRemoved(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    const QString path = qdbus_cast<QDBusObjectPath>(args.at(0)).path();
    const QStringList interfaces = qdbus_cast<QStringList>(args.at(1));
    auto object = m_objects.find(path);
    if (object != m_objects.end()) {
        for (const QString& iface : interfaces)
            object->remove(iface);
        if (object->isEmpty())
            m_objects.erase(object);
    }
    if (interfaces.contains(Nm::kConnectionIface))
        m_profiles.remove(path);
    emit changed();
}

void NmObjects::onDeviceStateChanged(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 3)
        return;
    QVariantMap& device = m_objects[message.path()][Nm::kDeviceIface];
    device.insert(kState, args.at(0).toUInt());
    device.insert(kStateReason, QVariantList{args.at(0).toUInt(), args.at(2).toUInt()});
    emit changed();
}

void NmObjects::onActiveStateChanged(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 2)
        return;
    m_objects[message.path()][Nm::kActiveIface].insert(kState, args.at(0).toUInt());
    m_activeChanges.insert(message.path(), {args.at(0).toUInt(), args.at(1).toUInt()});
    emit changed();
}

void NmObjects::onProfileUpdated(const QDBusMessage& message) {
    // The metered flag, among others, may change while a link is up.
    fetchProfile(message.path(), false);
}
