#pragma once
// One of NetworkManager's active connections, read in one go, and what its
// device says about how far it has come.

#include "NmBus.h"
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

    // The active connections, in NetworkManager's order; nullopt when
    // NetworkManager cannot be asked.
    static std::optional<QStringList> list(const NmBus& bus);
    // nullopt when the object is gone (it ended between two calls).
    static std::optional<NmActiveConnection> read(const NmBus& bus, const QString& path);

    // The states that make up its dial state (the first device speaks for it).
    NmState::Observed observe(const NmBus& bus) const;
};
