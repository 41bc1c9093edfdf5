#pragma once
// Turns the byte counters of individual links, which start from zero with
// each link, into totals that never go down and keep the bytes of ended links.

#include "RasApi.h"

#include <QHash>
#include <QString>

#include <cstdint>

class LinkCounterTotals {
public:
    // Takes the counters of one link as read now. link names one instance of
    // a link: a link that is set up again should get a new name.
    void update(const QString& link, std::uint64_t sent, std::uint64_t received);
    ByteCounters totals() const { return m_totals; }

private:
    struct Reading {
        std::uint64_t sent = 0;
        std::uint64_t received = 0;
    };

    QHash<QString, Reading> m_last;
    ByteCounters m_totals;
};
