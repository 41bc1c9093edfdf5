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

QString chosenSpec(const QString& commandLine, const Settings& settings) {
    if (!commandLine.isEmpty())
        return commandLine;
    return settings.ReadText(kSettingsKey, kConnectionSourceValue, kAuto);
}

bool isValidSpec(const QString& spec) {
    return spec == kAuto || spec == kNetworkManager || spec == kPpp ||
           (spec.startsWith(kSimPrefix) && spec.size() > kSimPrefix.size());
}

} // namespace RasApiFactory

std::unique_ptr<RasApi> createRasApi(const QString& spec, const Settings& settings, QString* error,
                                     Clock* simClock) {
    const QString chosen = RasApiFactory::chosenSpec(spec, settings);
    if (!RasApiFactory::isValidSpec(chosen)) {
        if (error)
            *error = QStringLiteral("unknown connection source \"%1\" (expected auto, "
                                    "networkmanager, ppp or sim:FILE)")
                         .arg(chosen);
        return nullptr;
    }
    if (chosen.startsWith(kSimPrefix))
        return createSim(chosen.mid(kSimPrefix.size()), error, simClock);
    const QDBusConnection bus = QDBusConnection::systemBus();
    if (chosen == kNetworkManager ||
        (chosen == kAuto && NetworkManagerRasApi::available(bus, kProbeTimeoutMs)))
        return std::make_unique<NetworkManagerRasApi>(bus, settings);
    return std::make_unique<PppRasApi>();
}
