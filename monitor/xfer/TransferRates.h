#pragma once
// The average transfer rates of a connection: bytes moved since a baseline,
// taken from the connection source's cumulative counters, per elapsed second.

#include "FormatSettings.h"
#include "IntlStrings.h"
#include "RasApi.h"
#include "Settings.h"

#include <QString>

#include <cstdint>
#include <functional>

class TransferRates {
public:
    // The dial-up links' cumulative counters, read on demand.
    using CounterSource = std::function<ByteCounters()>;

    enum class PerfCounter { BytesXmit, BytesRecvd };

    // Send and receive averages in kB/s (1 kB = 1024 bytes).
    struct Rates {
        double send = 0;
        double receive = 0;
    };

    TransferRates(CounterSource source, const Settings& settings, const IntlStrings& intl,
                  const FormatSettings& fmt);

    std::uint64_t ReadPerfCounter(PerfCounter counter) const;
    std::uint64_t SentBaseline() const { return m_sentBaseline; }
    std::uint64_t ReceivedBaseline() const { return m_receivedBaseline; }

    // Both baselines := the counters now (start-up and each session end).
    void TakeBaselines();

    // The averages since the baselines over seconds (0 counts as 1).
    Rates Averages(int seconds) const;
    // "Average transfer rate: send X kB/s, receive Y kB/s".
    QString RateText(const Rates& rates) const;
    // A rate with thousands separators and two decimals.
    QString RateNumber(double rate) const;
    // The send counter has grown since its baseline.
    bool SentSinceBaseline() const;
    // "Monitor Xfer" (default true).
    bool MonitorXfer() const;

private:
    static double PerSecond(std::uint64_t now, std::uint64_t baseline, int seconds);

    CounterSource m_source;
    const Settings& m_settings;
    const IntlStrings& m_intl;
    const FormatSettings& m_fmt;
    std::uint64_t m_sentBaseline = 0;
    std::uint64_t m_receivedBaseline = 0;
};
