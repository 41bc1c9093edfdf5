#pragma once
// The connection source of scenario runs and tests: connections, phone book,
// dials and byte counters come from a Scenario, driven second by second.

#include "RasApi.h"
#include "Scenario.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QStringList>

class Clock;

class SimRasApi : public RasApi {
public:
    // The states of a dial of an entry that has no dial script.
    static QList<int> defaultDialStates();

    // A dial as it was asked for; for tests that check credentials.
    struct DialRecord {
        QString entryName;
        QString userName;
        QString password;
        QDateTime started;
        RasHandle handle = 0;
    };

    // Takes the phone book and the dial scripts of scenario; the timed
    // directives are handed in by the runner through apply(). clock must
    // outlive this object.
    SimRasApi(const Scenario& scenario, Clock& clock);

    // A timed directive that concerns the connection source takes effect now;
    // others are ignored.
    void apply(const TimedDirective& directive);
    // Reports every dial step due at or before now to its dial's callback, in
    // order, listing or unlisting the entry as it goes.
    void deliverDialProgress(const QDateTime& now);

    QList<DialRecord> dials() const { return m_dialRecords; }
    QStringList editedEntries() const { return m_editedEntries; }
    // Whether a dial started by dial() has steps still to come.
    bool dialInProgress(RasHandle handle) const;

    QString backendName() const override;
    int enumConnections(QList<RasConnection>& out) override;
    int connectStatus(RasHandle handle, RasConnStatus& status) override;
    int enumEntries(QList<RasEntry>& out) override;
    int dial(const QString& entry, const QString& userName, const QString& password,
             DialCallback callback, RasHandle& handle) override;
    int hangUp(RasHandle handle) override;
    int editEntry(const QString& entry) override;
    ByteCounters byteCounters() override;
    bool hasByteCounters() const override { return m_countersReadable; }
    // A machine whose links keep no counters (tests).
    void setByteCountersReadable(bool readable) { m_countersReadable = readable; }

private:
    struct Listed {
        RasHandle handle = 0;
        QString entryName;
        RasConnStatus status;
    };
    struct ActiveDial {
        RasHandle handle = 0;
        QString entryName;
        QDateTime started;
        QList<int> states;
        int error = 0;
        int stepsDone = 0;
        DialCallback callback;
    };

    int listedIndex(const QString& entryName) const;
    int listedIndexOf(RasHandle handle) const;
    int dialIndexOf(RasHandle handle) const;
    bool knownEntry(const QString& entryName) const;
    void list(const QString& entryName, int state, int error, RasHandle handle);
    void unlist(const QString& entryName);
    RasHandle newHandle();
    int nextDueDial(const QDateTime& now) const;
    void takeStep(int dialIndex);

    Clock& m_clock;
    QList<RasEntry> m_entries;
    QHash<QString, DialScript> m_dialScripts;
    QList<Listed> m_listed; // in the order of listing
    QList<ActiveDial> m_activeDials;
    RasHandle m_lastHandle = 0;
    int m_enumError = 0;
    ByteCounters m_bytes;
    bool m_countersReadable = true;
    QList<DialRecord> m_dialRecords;
    QStringList m_editedEntries;
};
