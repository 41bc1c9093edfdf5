#include "TransferRates.h"

TransferRates::TransferRates(CounterSource source, const Settings& settings,
                             const IntlStrings& intl, const FormatSettings& fmt)
    : m_source(std::move(source)), m_settings(settings), m_intl(intl), m_fmt(fmt) {}

std::uint64_t TransferRates::ReadPerfCounter(PerfCounter counter) const {
    const ByteCounters now = m_source();
    return counter == PerfCounter::BytesXmit ? now.sent : now.received;
}

void TransferRates::TakeBaselines() {
    const ByteCounters now = m_source();
    m_sentBaseline = now.sent;
    m_receivedBaseline = now.received;
}

double TransferRates::PerSecond(std::uint64_t now, std::uint64_t baseline, int seconds) {
    // The counters are 64-bit and never go down, so the difference is the
    // true amount however much moved; a source that restarted its counters
    // below the baseline counts as nothing moved rather than as a huge amount.
    const std::uint64_t moved = now >= baseline ? now - baseline : 0;
    return double(moved) / 1024.0 / double(seconds > 0 ? seconds : 1);
}

TransferRates::Rates TransferRates::Averages(int seconds) const {
    Rates r;
    r.send = PerSecond(ReadPerfCounter(PerfCounter::BytesXmit), m_sentBaseline, seconds);
    r.receive = PerSecond(ReadPerfCounter(PerfCounter::BytesRecvd), m_receivedBaseline, seconds);
    return r;
}

QString TransferRates::RateNumber(double rate) const {
    return m_fmt.formatGrouped(rate, 2);
}

QString TransferRates::RateText(const Rates& rates) const {
    const QString unit = m_intl.IntlStr(6350);
    return m_intl.IntlStr(6310) + RateNumber(rates.send) + unit + m_intl.IntlStr(6340) +
           RateNumber(rates.receive) + unit;
}

bool TransferRates::SentSinceBaseline() const {
    return ReadPerfCounter(PerfCounter::BytesXmit) > m_sentBaseline;
}

bool TransferRates::MonitorXfer() const {
    return m_settings.ReadFlag(kSettingsKey, QStringLiteral("Monitor Xfer"), true);
}
