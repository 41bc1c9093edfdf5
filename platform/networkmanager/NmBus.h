#pragma once
// Synchronous access to NetworkManager on a D-Bus connection, with a short
// time-out so that a hanging daemon cannot stall the monitor's poll tick.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMap>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// A connection profile as NetworkManager hands it out: setting -> key -> value.
using NmSettingsMap = QMap<QString, QVariantMap>;
Q_DECLARE_METATYPE(NmSettingsMap)

namespace Nm {
inline const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString kPath = QStringLiteral("/org/freedesktop/NetworkManager");
inline const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
inline const QString kAgentManagerPath =
    QStringLiteral("/org/freedesktop/NetworkManager/AgentManager");
inline const QString kManagerIface = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString kDeviceIface = QStringLiteral("org.freedesktop.NetworkManager.Device");
inline const QString kStatisticsIface =
    QStringLiteral("org.freedesktop.NetworkManager.Device.Statistics");
inline const QString kActiveIface =
    QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
inline const QString kSettingsIface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
inline const QString kConnectionIface =
    QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
inline const QString kAgentManagerIface =
    QStringLiteral("org.freedesktop.NetworkManager.AgentManager");

// Registers the D-Bus types used here; safe to call more than once.
void registerTypes();
// An "ao" value, however QtDBus delivered it.
QStringList objectPaths(const QVariant& value);
// An "a{sa{sv}}" value, however QtDBus delivered it.
NmSettingsMap settingsMap(const QVariant& value);
// The two numbers of a "(uu)" value, such as a device's StateReason.
std::pair<uint, uint> uintPair(const QVariant& value);
} // namespace Nm

class NmBus {
public:
    NmBus(QDBusConnection connection, int timeoutMs);

    QDBusConnection& connection() { return m_connection; }

    // A method call on NetworkManager: the reply, or an error message when it
    // failed or did not answer in time.
    QDBusMessage call(const QString& path, const QString& iface, const QString& method,
                      const QVariantList& arguments = {}) const;
    // All properties of one interface of an object; nullopt on failure.
    std::optional<QVariantMap> properties(const QString& path, const QString& iface) const;
    std::optional<QVariant> property(const QString& path, const QString& iface,
                                     const QString& name) const;
    bool setProperty(const QString& path, const QString& iface, const QString& name,
                     const QVariant& value) const;
    // Whether NetworkManager is on the bus and answers.
    bool answers() const;

private:
    QDBusConnection m_connection;
    int m_timeoutMs;
};
