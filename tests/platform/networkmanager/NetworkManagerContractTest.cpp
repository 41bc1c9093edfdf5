// The NetworkManager source in the connection-source contract, on
// python3-dbusmock's NetworkManager: outside connections are active
// connections added to the fake; dials step their device through its states.

#include "RasApiContract.h"

#include "NetworkManagerRasApi.h"
#include "NmMock.h"

#include "MemoryRegistryStore.h"

#include <QDBusObjectPath>
#include <QHash>

namespace {

class NmTestBed : public RasApiTestBed {
public:
    NmTestBed() {
        if (!mock.ready())
            return;
        m_dialDevice = mock.addModem(QStringLiteral("dialmodem"), QStringLiteral("ppp9"), 30);
        mock.activateStepwise(m_dialDevice);
        addEntry(QStringLiteral("Alpha Net"), QStringLiteral("modemA"));
        addEntry(QStringLiteral("Beta Online"), QStringLiteral("modemB"));
        addEntry(QStringLiteral("Gamma"), QStringLiteral("modemC"));
        m_api = std::make_unique<NetworkManagerRasApi>(mock.connection(), m_settings);
        mock.settle(*m_api);
    }

    RasApi& api() override { return *m_api; }
    QStringList dialableEntries() override {
        return {QStringLiteral("Alpha Net"), QStringLiteral("Beta Online")};
    }
    std::optional<QString> failingEntry() override { return QStringLiteral("Gamma"); }

    void connectOutside(const QString& entry) override {
        const QString name = QStringLiteral("outside%1").arg(++m_outsideCount);
        m_outside[entry] = mock.addActive({m_devices[entry]}, m_profiles[entry], name, 2);
        mock.settle(*m_api);
    }
    void dropOutside(const QString& entry) override {
        mock.removeActive(m_devices[entry], m_outside.take(entry));
        mock.settle(*m_api);
    }
    void addTraffic(std::uint64_t sent, std::uint64_t received) override {
        for (auto it = m_outside.begin(); it != m_outside.end(); ++it) {
            const QString device = m_devices[it.key()];
            auto& [tx, rx] = m_traffic[device];
            tx += sent;
            rx += received;
            mock.setStatistics(device, tx, rx);
            mock.settle(*m_api);
            return;
        }
    }
    void passSecond() override {
        const QStringList active = Nm::objectPaths(
            mock.property(Nm::kPath, Nm::kManagerIface, QStringLiteral("ActiveConnections")));
        for (const QString& path : active) {
            if (mock.property(path, Nm::kActiveIface, QStringLiteral("State")).toUInt() == 1)
                step(path);
        }
        mock.settle(*m_api);
    }

    NmMock mock;

private:
    void addEntry(const QString& entry, const QString& device) {
        m_profiles[entry] = mock.addConnection(
            NmMock::gsmSettings(entry, QStringLiteral("uuid-") + entry, QStringLiteral("anna")));
        m_devices[entry] = mock.addModem(device, device, 30);
    }
    // One second of an activation on the dial device: prepare, configure,
    // authenticate, get an address, up; Gamma finds no carrier.
    void step(const QString& path) {
        const int n = m_steps[path]++;
        const bool failing = mock.property(path, Nm::kActiveIface, QStringLiteral("Connection"))
                                 .value<QDBusObjectPath>()
                                 .path() == m_profiles[QStringLiteral("Gamma")];
        static const uint kStates[] = {40, 50, 60, 70};
        if (failing && n == 2) {
            mock.setDeviceState(m_dialDevice, 120, 25);
            mock.setActiveState(path, 4, 3);
            mock.removeActive(m_dialDevice, path);
        } else if (n < 4) {
            mock.setDeviceState(m_dialDevice, kStates[n], 0);
        } else {
            mock.setDeviceState(m_dialDevice, 100, 0);
            mock.setActiveState(path, 2, 0);
        }
    }

    MemoryRegistryStore m_store;
    Settings m_settings{m_store};
    std::unique_ptr<NetworkManagerRasApi> m_api;
    QString m_dialDevice;
    QHash<QString, QString> m_profiles; // entry -> settings path
    QHash<QString, QString> m_devices;  // entry -> device of its outside connection
    QHash<QString, QString> m_outside;  // entry -> active connection
    QHash<QString, std::pair<std::uint64_t, std::uint64_t>> m_traffic;
    QHash<QString, int> m_steps;
    int m_outsideCount = 0;
};

std::unique_ptr<RasApiTestBed> makeBed() {
    auto bed = std::make_unique<NmTestBed>();
    if (!bed->mock.ready()) {
        ADD_FAILURE() << bed->mock.error().toStdString();
        return nullptr;
    }
    return bed;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(NetworkManager, RasApiContract,
                         ::testing::Values(RasApiBackend{"networkmanager", makeBed}),
                         rasApiBackendName);
