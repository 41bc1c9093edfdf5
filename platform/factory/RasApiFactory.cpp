#include "RasApiFactory.h"

#include "Clock.h"
#include "NetworkManagerRasApi.h"
#include "PppRasApi.h"
#include "Settings.h"
#include "SimRasApi.h"

#include <QDBusConnection>

namespace {

const QString kAuto = QStringLiteral("auto");
const QString kNetworkManager = QStringLiteral("networkmanager");
const QString kPpp = QStringLiteral("ppp");
const QString kSimPrefix = QStringLiteral("sim:");

// How long "auto" waits for NetworkManager to answer before taking ppp.
constexpr int kProbeTimeoutMs = 1500;

// The parts a sim on the system clock owns, built before the sim itself.
struct SimParts {
    Scenario scenario;
    SystemClock clock;
};

class OwningSimRasApi : private SimParts, public SimRasApi {
public:
    explicit OwningSimRasApi(Scenario loaded)
        : SimParts{std::move(loaded), {}}, SimRasApi(scenario, clock) {}
};

// A connection of its own to the system bus named by the environment now (as
// libdbus would), so that each source made sees the bus of its time.
QDBusConnection systemBus() {
    static int made = 0;
    const QString address = qEnvironmentVariable(
        "DBUS_SYSTEM_BUS_ADDRESS", QStringLiteral("unix:path=/run/dbus/system_bus_socket"));
    return QDBusConnection::connectToBus(
        address, QStringLiteral("tollwatch-connection-source-%1").arg(++made));
}

std::unique_ptr<RasApi> createSim(const QString& file, QString* error, Clock* simClock) {
    try {
        Scenario scenario = Scenario::load(file);
        if (simClock)
            return std::make_unique<SimRasApi>(scenario, *simClock);
        if (!scenario.clockStart)
            scenario = scenario.rebased(SystemClock().now());
        return std::make_unique<OwningSimRasApi>(std::move(scenario));
    } catch (const ScenarioError& e) {
        if (error)
            *error = e.text();
        return nullptr;
    }
}

} // namespace

namespace RasApiFactory {

QString chosenSource(const QString& commandLine, const Settings& settings) {
    if (!commandLine.isEmpty())
        return commandLine;
    return settings.ReadText(kSettingsKey, kConnectionSourceValue, kAuto);
}

bool isValidSource(const QString& source) {
    return source == kAuto || source == kNetworkManager || source == kPpp ||
           (source.startsWith(kSimPrefix) && source.size() > kSimPrefix.size());
}

} // namespace RasApiFactory

std::unique_ptr<RasApi> createRasApi(const QString& source, const Settings& settings,
                                     QString* error, Clock* simClock) {
    const QString chosen = RasApiFactory::chosenSource(source, settings);
    if (!RasApiFactory::isValidSource(chosen)) {
        if (error)
            *error = QStringLiteral("unknown connection source \"%1\" (expected auto, "
                                    "networkmanager, ppp or sim:FILE)")
                         .arg(chosen);
        return nullptr;
    }
    if (chosen.startsWith(kSimPrefix))
        return createSim(chosen.mid(kSimPrefix.size()), error, simClock);
    if (chosen == kPpp)
        return std::make_unique<PppRasApi>();
    const QDBusConnection bus = systemBus();
    if (chosen == kNetworkManager || NetworkManagerRasApi::available(bus, kProbeTimeoutMs))
        return std::make_unique<NetworkManagerRasApi>(bus, settings);
    return std::make_unique<PppRasApi>();
}
