#pragma once
// One of NetworkManager's active connections as last known, and what its
// device says about how far it has come.

#include "NmObjects.h"
#include "NmStateTable.h"

#include <QString>
#include <QStringList>

#include <optional>

struct NmActiveConnection {
    QString path;
    QString id;
    QString uuid;
    QString type;
    QString connectionPath; // the saved profile it was brought up from
    QStringList devices;
    uint state = NmState::ActiveUnknown;

    // nullopt when NetworkManager has no such active connection (it ended).
    static std::optional<NmActiveConnection> of(const NmObjects& objects, const QString& path);

    // The states that make up its dial state (the first device speaks for it).
    NmState::Observed observe(const NmObjects& objects) const;
};
