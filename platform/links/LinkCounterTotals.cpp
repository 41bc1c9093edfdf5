#include "LinkCounterTotals.h"

void LinkCounterTotals::update(const QString& link, std::uint64_t sent, std::uint64_t received) {
    const auto it = m_last.constFind(link);
    const bool first = it == m_last.constEnd();
    Reading delta{sent, received};
    if (first && m_first == FirstReading::Baseline)
        delta = {};
    // A counter that went down belongs to a link that started over under the
    // same name: everything it shows now is new.
    if (!first && sent >= it->sent && received >= it->received)
        delta = {sent - it->sent, received - it->received};
    m_last.insert(link, {sent, received});
    m_totals.sent += delta.sent;
    m_totals.received += delta.received;
}
