#pragma once
// A private system bus with python3-dbusmock's NetworkManager on it, changed
// to behave like the daemon where the stock template does not
// (nm_daemon_template.py), started for one test and torn down after it, and
// the calls that shape it.

#include "NmBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

class NetworkManagerRasApi;

class NmMock {
public:
    // Waits for a file that a started program writes, with a deadline.
    static bool waitForFile(const QString& path);

    static inline const QString kDevicePrefix =
        QStringLiteral("/org/freedesktop/NetworkManager/Devices/");

    // Starts dbus-daemon and, with withNetworkManager, the mock on it.
    explicit NmMock(bool withNetworkManager = true);
    ~NmMock();

    // Whether everything came up; the reason when not.
    bool ready() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString address() const { return m_address; }
    // A connection to the private bus, shared by the backend under test and
    // these calls so that signals and replies arrive in the order sent.
    QDBusConnection connection() const { return m_connection; }

    // A modem device (DeviceType 8) named name with interface ipInterface in
    // state (NMDeviceState), with a Statistics interface unless told
    // otherwise, announced complete. Returns its path.
    QString addModem(const QString& name, const QString& ipInterface, uint state,
                     bool withStatistics = true);
    // From now on activations stay activating on device, for the test to
    // move on with device states.
    void activateStepwise(const QString& device);
    // A saved connection; returns its settings path.
    QString addConnection(const NmSettingsMap& settings);
    static NmSettingsMap gsmSettings(const QString& id, const QString& uuid,
                                     const QString& userName = QString());
    // An active connection of the saved connectionPath on devices.
    QString addActive(const QStringList& devices, const QString& connectionPath,
                      const QString& name, uint state);
    // The link of an activation ends: NetworkManager removes it (and its
    // profile, when that is volatile). The device's counters stay.
    void removeActive(const QString& device, const QString& activePath);
    // The devices an active connection runs on (NetworkManager picked them).
    void setActiveDevices(const QString& activePath, const QStringList& devices);
    // Sets the device's state and reason and emits its StateChanged.
    void setDeviceState(const QString& device, uint state, uint reason);
    // Sets the active connection's state and emits its StateChanged.
    void setActiveState(const QString& activePath, uint state, uint reason);
    void setStatistics(const QString& device, quint64 tx, quint64 rx, uint refreshRateMs = 1000);
    // A password saved with the profile, in its setting ("gsm", "pppoe").
    void setStoredPassword(const QString& connectionPath, const QString& password,
                           const QString& setting = QStringLiteral("gsm"));
    // The password saved with a profile; empty when none.
    QString storedPassword(const QString& connectionPath);
    // Whether callers may read secrets (polkit grants them "modify").
    void setCallerPrivileged(bool privileged);
    // The user name and password an activation dials with.
    std::pair<QString, QString> activationCredentials(const QString& activePath);
    // NetworkManager stops and starts anew on the same bus (a new owner of
    // its name); everything it had is gone, paths are handed out afresh. It
    // says it is starting up until finishStartup().
    bool restartDaemon();
    void finishStartup();
    // Stops (true) or resumes the daemon's process: it keeps its name but
    // answers nothing meanwhile.
    void freeze(bool frozen);

    QVariant property(const QString& path, const QString& iface, const QString& name);
    // Calls to the mock's own interface on path.
    QDBusMessage mockCall(const QString& path, const QString& method,
                          const QVariantList& arguments = {});
    // The arguments of each call of method on path, oldest first.
    QList<QVariantList> callsOf(const QString& path, const QString& method);
    // Delivers everything the mock has sent so far to this process's receivers.
    void sync();
    // sync(), then waits until api has the answers it asked for.
    void settle(const NetworkManagerRasApi& api);

private:
    bool startBus();
    bool startMock(bool startingUp = false);

    QTemporaryDir m_dir;
    QString m_address;
    QString m_connectionName;
    QDBusConnection m_connection;
    std::unique_ptr<QProcess> m_daemon;
    std::unique_ptr<QProcess> m_mock;
    QString m_error;
};
