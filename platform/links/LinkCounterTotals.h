#pragma once
// Turns the byte counters of individual links, which start from zero with
// each link, into totals that never go down and keep the bytes of ended links.

#include "RasApi.h"

#include <QHash>
#include <QString>

#include <cstdint>

class LinkCounterTotals {
public:
    // What the first reading of a link means.
    enum class FirstReading {
        // The link started from zero: all of it is new (a ppp interface).
        Counts,
        // The counters carry bytes from before (an interface that outlives
        // its connections): only growth after it counts.
        Baseline,
    };

    explicit LinkCounterTotals(FirstReading first = FirstReading::Counts) : m_first(first) {}

    // Takes the counters of one link as read now. link names one instance of
    // a link: a link that is set up again should get a new name.
    void update(const QString& link, std::uint64_t sent, std::uint64_t received);
    ByteCounters totals() const { return m_totals; }

private:
    struct Reading {
        std::uint64_t sent = 0;
        std::uint64_t received = 0;
    };

    FirstReading m_first;
    QHash<QString, Reading> m_last;
    ByteCounters m_totals;
};
