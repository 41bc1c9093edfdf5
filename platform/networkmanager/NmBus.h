#pragma once
// Access to NetworkManager on a D-Bus connection: calls that answer later on
// the caller's thread, and blocking ones with a short time-out for the few
// user actions that need an answer at once (dial, hang up, phone book).

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMap>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

class QObject;

// A connection profile as NetworkManager hands it out: setting -> key -> value.
using NmSettingsMap = QMap<QString, QVariantMap>;
Q_DECLARE_METATYPE(NmSettingsMap)

namespace Nm {
inline const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString kPath = QStringLiteral("/org/freedesktop/NetworkManager");
inline const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
inline const QString kObjectManagerPath = QStringLiteral("/org/freedesktop");
inline const QString kManagerIface = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString kDeviceIface = QStringLiteral("org.freedesktop.NetworkManager.Device");
inline const QString kStatisticsIface =
    QStringLiteral("org.freedesktop.NetworkManager.Device.Statistics");
inline const QString kActiveIface =
    QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
inline const QString kSettingsIface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
inline const QString kConnectionIface =
    QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
inline const QString kPropertiesIface = QStringLiteral("org.freedesktop.DBus.Properties");
inline const QString kObjectManagerIface = QStringLiteral("org.freedesktop.DBus.ObjectManager");

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
    // Whether NetworkManager may ask the user to authorize a call (polkit).
    enum class Auth { Silent, Interactive };

    NmBus(QDBusConnection connection, int timeoutMs);

    QDBusConnection& connection() { return m_connection; }

    // A method call on NetworkManager: the reply, or an error message when it
    // failed or did not answer in time. An interactive call waits longer:
    // the user may be answering an authorization dialog meanwhile.
    QDBusMessage call(const QString& path, const QString& iface, const QString& method,
                      const QVariantList& arguments = {}, Auth auth = Auth::Silent) const;
    // The same without waiting: done gets the reply (or the error) on
    // context's thread, unless context is gone by then.
    void callLater(const QString& path, const QString& iface, const QString& method,
                   const QVariantList& arguments, QObject* context,
                   std::function<void(const QDBusMessage&)> done, Auth auth = Auth::Silent) const;
    // Method calls sent so far, blocking or not.
    quint64 callsSent() const { return m_callsSent; }
    // Whether an error reply says that NetworkManager itself is not there or
    // did not answer, rather than refusing the call.
    static bool unreachable(const QDBusMessage& reply);
    // All properties of one interface of an object; nullopt on failure.
    std::optional<QVariantMap> properties(const QString& path, const QString& iface) const;
    std::optional<QVariant> property(const QString& path, const QString& iface,
                                     const QString& name) const;
    bool setProperty(const QString& path, const QString& iface, const QString& name,
                     const QVariant& value) const;
    // Whether NetworkManager is on the bus and answers.
    bool answers() const;

private:
    QDBusMessage message(const QString& path, const QString& iface, const QString& method,
                         const QVariantList& arguments, Auth auth) const;

    QDBusConnection m_connection;
    int m_timeoutMs;
    mutable quint64 m_callsSent = 0;
};
