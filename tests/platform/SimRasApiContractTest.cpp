// The sim backend in the connection-source contract.

#include "RasApiContract.h"

#include "Clock.h"
#include "RasConstants.h"
#include "SimRasApi.h"

namespace {

const char* const kPhoneBook = R"(
clock 2024-03-09 23:59:58
entry "Alpha Net" user "anna" password "secret"
entry "Beta # Online"
entry "Gamma"
dial "Gamma" 0 1 2 error 678
)";

class SimTestBed : public RasApiTestBed {
public:
    SimTestBed()
        : m_scenario(Scenario::parse(QString::fromUtf8(kPhoneBook), QStringLiteral("bed"))),
          m_clock(*m_scenario.clockStart), m_api(m_scenario, m_clock) {}

    RasApi& api() override { return m_api; }
    QStringList dialableEntries() override {
        return {QStringLiteral("Alpha Net"), QStringLiteral("Beta # Online")};
    }
    std::optional<QString> failingEntry() override { return QStringLiteral("Gamma"); }
    void connectOutside(const QString& entry) override {
        TimedDirective d;
        d.entryName = entry;
        d.state = RasState::Connected;
        m_api.apply(d);
    }
    void dropOutside(const QString& entry) override {
        TimedDirective d;
        d.kind = TimedDirective::Kind::Gone;
        d.entryName = entry;
        m_api.apply(d);
    }
    void addTraffic(std::uint64_t sent, std::uint64_t received) override {
        const ByteCounters now = m_api.byteCounters();
        TimedDirective d;
        d.kind = TimedDirective::Kind::Bytes;
        d.sent = now.sent + sent;
        d.received = now.received + received;
        m_api.apply(d);
    }
    void passSecond() override {
        m_clock.advance(1);
        m_api.deliverDialProgress(m_clock.now());
    }

private:
    Scenario m_scenario;
    ManualClock m_clock;
    SimRasApi m_api;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Sim, RasApiContract,
                         ::testing::Values(RasApiBackend{"sim",
                                                         [] {
                                                             return std::make_unique<SimTestBed>();
                                                         }}),
                         rasApiBackendName);
