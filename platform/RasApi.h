#pragma once
// The connection source: the dial-up connections that exist and their state,
// the phone book, dialling and hanging up, and the cumulative byte counters
// of the dial-up links. Backends: sim (scenario file), networkmanager, ppp.

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

using RasHandle = std::uint64_t;

struct RasConnection {
    RasHandle handle = 0;
    QString entryName;
};

struct RasConnStatus {
    int state = 0; // a RasState value
    int error = 0; // 0, or a RAS error code (600-799)
};

// A phone-book entry with the credentials stored for it.
struct RasEntry {
    QString name;
    QString userName;
    QString password;
    bool passwordStored = false;
};

// Sent and received bytes of the dial-up links since some fixed origin: they
// never go down, and a link that has ended stays counted.
struct ByteCounters {
    std::uint64_t sent = 0;
    std::uint64_t received = 0;
};

class RasApi {
public:
    // Called on the user-interface thread for each dial progress step; error is
    // non-zero when the dial failed (the dial is over then).
    using DialCallback = std::function<void(int state, int error)>;

    virtual ~RasApi() = default;

    // "sim", "networkmanager" or "ppp"; for the info line of a headless run.
    virtual QString backendName() const = 0;

    // The connections that exist now. Returns 0, or a RAS error code when the
    // connection source cannot be asked (out is then left empty).
    virtual int enumConnections(QList<RasConnection>& out) = 0;
    // Returns 0 and fills status, or an error code and leaves status as it was.
    virtual int connectStatus(RasHandle handle, RasConnStatus& status) = 0;

    // Phone-book entries in the source's order; returns 0 or an error code.
    virtual int enumEntries(QList<RasEntry>& out) = 0;

    // Starts dialling entry asynchronously; returns 0 and the handle of the new
    // connection, or an error code (nothing is started then). Credentials are
    // used for this dial only, never stored.
    virtual int dial(const QString& entry, const QString& userName, const QString& password,
                     DialCallback callback, RasHandle& handle) = 0;
    virtual int hangUp(RasHandle handle) = 0;
    // Opens the source's editor for an entry; returns 0 or an error code.
    virtual int editEntry(const QString& entry) = 0;

    virtual ByteCounters byteCounters() = 0;
    // Whether byteCounters() can follow the links' traffic at all here (the
    // transfer-rate line and its option are offered only then).
    virtual bool hasByteCounters() const = 0;

    // The text of a RAS error code (600-799); a backend may know more codes.
    virtual QString errorString(int error) const;
};
