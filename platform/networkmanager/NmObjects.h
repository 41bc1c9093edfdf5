#pragma once
// What NetworkManager has, kept up to date without asking: one look at all
// its objects (ObjectManager), then its signals; saved profiles read once and
// again when they change. A restarted daemon (a new owner of its name)
// voids every object path, as paths start over in each daemon.

#include "NmBus.h"
#include "NmConnectionProfile.h"

#include <QDBusMessage>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class QDBusServiceWatcher;

class NmObjects : public QObject {
    Q_OBJECT

public:
    explicit NmObjects(NmBus& bus, QObject* parent = nullptr);

    // Whether everything NetworkManager has is known: its objects and the
    // profiles behind them.
    bool synced() const { return m_synced; }
    // Starts a look at everything unless one is under way or NetworkManager
    // is known to be away (it announces itself when it comes).
    void syncIfNeeded();
    // Whether answers are still awaited.
    bool busy() const { return m_pending > 0; }

    QVariantMap properties(const QString& path, const QString& iface) const;
    QVariant property(const QString& path, const QString& iface, const QString& name) const;
    // The active connections in NetworkManager's order.
    QStringList activeConnections() const;
    // The saved profiles in NetworkManager's order.
    QStringList profilePaths() const;
    // A saved profile as read; nullptr while unknown or when NetworkManager
    // would not hand it out.
    const NmConnectionProfile* profile(const QString& path) const;
    // The state and reason of an active connection's last StateChanged
    // signal (only that signal tells the reason); nullopt before one came.
    std::optional<std::pair<uint, uint>> lastActiveChange(const QString& path) const;
    // A device's state and its reason, from StateReason when it has one: the
    // state and its reason always change together there.
    std::pair<uint, uint> deviceState(const QString& device) const;

signals:
    // NetworkManager went away or started anew: every path known is void.
    void forgotten();
    // Anything known changed.
    void changed();

private slots:
    void onOwnerChanged(const QString& name, const QString& before, const QString& after);
    void onPropertiesChanged(const QDBusMessage& message);
    void onInterfacesAdded(const QDBusMessage& message);
    void onInterfacesRemoved(const QDBusMessage& message);
    void onDeviceStateChanged(const QDBusMessage& message);
    void onActiveStateChanged(const QDBusMessage& message);
    void onProfileUpdated(const QDBusMessage& message);

private:
    void subscribe();
    void forget();
    void onSynced(const QDBusMessage& reply, quint64 generation);
    void merge(const QString& path, const QString& iface, const QVariantMap& values);
    void fetchProfile(const QString& path, bool forSync);
    void onProfile(const QString& path, const QDBusMessage& reply, bool forSync,
                   quint64 generation);
    // A call failed as if NetworkManager were gone: forget and look again.
    void lost(const QDBusMessage& reply);
    void finishedOne();

    NmBus& m_bus;
    QDBusServiceWatcher* m_watcher = nullptr;
    // path -> interface -> property -> value
    QHash<QString, QHash<QString, QVariantMap>> m_objects;
    QHash<QString, NmConnectionProfile> m_profiles;
    QHash<QString, std::pair<uint, uint>> m_activeChanges;
    bool m_synced = false;
    bool m_syncing = false;
    bool m_away = false;
    int m_profilesToSync = 0;
    int m_pending = 0;
    quint64 m_generation = 0; // answers from before a forget() are void
};
