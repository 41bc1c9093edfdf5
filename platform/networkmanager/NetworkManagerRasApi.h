#pragma once
// The connection source on NetworkManager (D-Bus): its pay-by-time connections,
// their states, saved profiles as phone book, activation and byte counters.
// What the poll tick asks is answered from what NetworkManager announced;
// nothing on that path waits for the daemon.

#include "LinkCounterTotals.h"
#include "NmActiveConnection.h"
#include "NmBus.h"
#include "NmConnectionProfile.h"
#include "NmDialer.h"
#include "NmObjects.h"
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
    // Gives the devices back the statistics refresh rate they had.
    ~NetworkManagerRasApi() override;

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

    // Whether answers from NetworkManager are still awaited (for tests).
    bool busy() const { return m_objects.busy(); }
    // D-Bus method calls sent so far (for the benchmark).
    quint64 callsSent() const { return m_bus.callsSent(); }

private:
    struct Activation {
        RasHandle handle = 0;
        QString uuid;
        // Seen up before NetworkManager started anew: the new daemon takes it
        // over, and its states on the way are not a new dial.
        bool carried = false;
    };

    void onForgotten();
    // The dial-up connections that are active now, as last announced.
    QList<NmActiveConnection> activeDialUp() const;
    NmConnectionProfile profileOf(const NmActiveConnection& active) const;
    // The saved dial-up profiles in NetworkManager's order; nullopt when
    // NetworkManager cannot be asked.
    std::optional<QList<NmConnectionProfile>> savedDialUp() const;
    std::optional<QList<NmConnectionProfile>> savedDialUpAsked() const;
    std::optional<NmConnectionProfile> savedProfile(const QString& entry, int& error) const;
    bool passwordStored(const NmConnectionProfile& profile) const;
    // An in-memory copy of ours (or anyone's volatile profile): no entry.
    bool isCopy(const QString& uuid, uint flags) const;
    QStringList listedNames() const;
    RasHandle handleOf(const NmActiveConnection& active);
    void sampleCounters(const QList<NmActiveConnection>& links);
    void sampleDevice(const QString& key, const QString& device);
    void askForRefresh(const QString& device);
    void restoreRefreshRates();

    NmBus m_bus;
    Settings m_settings;
    Options m_options;
    NmObjects m_objects;
    NmDialer m_dialer;
    SysfsNetLinks m_sysfs;
    LinkCounterTotals m_counters{LinkCounterTotals::FirstReading::Baseline};
    QHash<QString, Activation> m_activations;     // active connection path -> activation
    QHash<QString, RasHandle> m_carried;          // uuid -> handle, across a daemon restart
    QHash<QString, NmConnectionProfile> m_copies; // uuid of an in-memory copy -> its profile
    RasHandle m_lastHandle = 0;
    QSet<QString> m_refreshAsked;        // devices asked for live statistics
    QHash<QString, uint> m_restoreRates; // device -> its refresh rate before ours
    QString m_programMessage;
};
