#pragma once
// The connection source on NetworkManager (D-Bus): its pay-by-time connections,
// their states, saved profiles as phone book, activation and byte counters.

#include "LinkCounterTotals.h"
#include "NmActiveConnection.h"
#include "NmBus.h"
#include "NmConnectionProfile.h"
#include "NmDialer.h"
#include "RasApi.h"
#include "Settings.h"
#include "SysfsNetLinks.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QSet>

// Where the NetworkManager source looks; tests point it elsewhere.
struct NetworkManagerOptions {
    int timeoutMs = 3000; // per D-Bus call
    QString sysClassNet = SysfsNetLinks::defaultRoot();
    QString editor = QStringLiteral("nm-connection-editor");
};

class NetworkManagerRasApi : public QObject, public RasApi {
    Q_OBJECT

public:
    using Options = NetworkManagerOptions;

    // Codes of failures that are not NetworkManager's state reasons.
    static constexpr int InvalidHandle = 6;
    static constexpr int CannotFindEntry = 623;
    static constexpr int ProgramNotStarted = 635;
    static constexpr int SourceUnavailable = 711;

    // settings gives the "Connection types" value, read at each use; its
    // store must outlive this object.
    NetworkManagerRasApi(QDBusConnection bus, const Settings& settings,
                         Options options = Options());

    // Whether NetworkManager answers on bus.
    static bool available(QDBusConnection bus, int timeoutMs);

    QString backendName() const override;
    int enumConnections(QList<RasConnection>& out) override;
    int connectStatus(RasHandle handle, RasConnStatus& status) override;
    int enumEntries(QList<RasEntry>& out) override;
    int dial(const QString& entry, const QString& userName, const QString& password,
             DialCallback callback, RasHandle& handle) override;
    int hangUp(RasHandle handle) override;
    int editEntry(const QString& entry) override;
    ByteCounters byteCounters() override;
    QString errorString(int error) const override;

private:
    // The dial-up connections that are active now; nullopt when
    // NetworkManager cannot be asked.
    std::optional<QList<NmActiveConnection>> activeDialUp();
    std::optional<NmConnectionProfile> profileOf(const NmActiveConnection& active);
    // The saved dial-up profiles in NetworkManager's order.
    std::optional<QList<NmConnectionProfile>> savedDialUp();
    std::optional<NmConnectionProfile> savedProfile(const QString& entry, int& error);
    bool passwordStored(const NmConnectionProfile& profile) const;
    QStringList listedNames() const;
    RasHandle handleOf(const QString& activePath);
    void sampleCounters(const QList<NmActiveConnection>& links);
    void sampleDevice(const QString& key, const QString& device);

    NmBus m_bus;
    Settings m_settings;
    Options m_options;
    NmDialer m_dialer;
    SysfsNetLinks m_sysfs;
    LinkCounterTotals m_counters;
    QHash<QString, RasHandle> m_handles; // active connection path -> handle
    QHash<RasHandle, QString> m_paths;
    RasHandle m_lastHandle = 0;
    // The profile behind each activation, read once per activation.
    QHash<QString, NmConnectionProfile> m_profiles;
    QSet<QString> m_refreshAsked; // devices asked for live statistics
    QString m_programMessage;
};
