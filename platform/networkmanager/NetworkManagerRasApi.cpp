#include "NetworkManagerRasApi.h"

#include "ProgramStarter.h"

#include <QDBusArgument>
#include <QDBusObjectPath>

namespace {

const QString kRefreshRate = QStringLiteral("RefreshRateMs");
// How often NetworkManager should refresh a device's counters for us.
constexpr uint kRefreshRateMs = 1000;

} // namespace

NetworkManagerRasApi::NetworkManagerRasApi(QDBusConnection bus, const Settings& settings,
                                           Options options)
    : m_bus(std::move(bus), options.timeoutMs), m_settings(settings), m_options(std::move(options)),
      m_dialer(m_bus), m_sysfs(m_options.sysClassNet) {}

bool NetworkManagerRasApi::available(QDBusConnection bus, int timeoutMs) {
    return NmBus(std::move(bus), timeoutMs).answers();
}

QString NetworkManagerRasApi::backendName() const {
    return QStringLiteral("networkmanager");
}

int NetworkManagerRasApi::enumConnections(QList<RasConnection>& out) {
    out.clear();
    const auto links = activeDialUp();
    if (!links)
        return SourceUnavailable;
    for (const NmActiveConnection& link : *links)
        out.append({handleOf(link.path), link.id});
    // Sampled on every poll so that a link's last bytes are counted before
    // the link is gone.
    sampleCounters(*links);
    return 0;
}

int NetworkManagerRasApi::connectStatus(RasHandle handle, RasConnStatus& status) {
    const auto path = m_paths.constFind(handle);
    if (path == m_paths.constEnd())
        return InvalidHandle;
    const auto active = NmActiveConnection::read(m_bus, *path);
    if (!active)
        return InvalidHandle;
    status = NmState::statusOf(active->observe(m_bus));
    return 0;
}

int NetworkManagerRasApi::enumEntries(QList<RasEntry>& out) {
    out.clear();
    const auto profiles = savedDialUp();
    if (!profiles)
        return SourceUnavailable;
    for (const NmConnectionProfile& profile : *profiles) {
        RasEntry entry;
        entry.name = profile.id;
        entry.userName = profile.userName;
        // The password stays with NetworkManager, which uses it when dialling.
        entry.passwordStored = passwordStored(profile);
        out.append(entry);
    }
    return 0;
}

int NetworkManagerRasApi::dial(const QString& entry, const QString&, const QString& password,
                               DialCallback callback, RasHandle& handle) {
    int error = 0;
    const auto profile = savedProfile(entry, error);
    if (!profile)
        return error;
    QString activePath;
    error = m_dialer.dial(*profile, password, std::move(callback), activePath);
    if (error == 0)
        handle = handleOf(activePath);
    return error;
}

int NetworkManagerRasApi::hangUp(RasHandle handle) {
    const auto path = m_paths.constFind(handle);
    if (path == m_paths.constEnd())
        return InvalidHandle;
    return m_dialer.hangUp(*path);
}

int NetworkManagerRasApi::editEntry(const QString& entry) {
    int error = 0;
    const auto profile = savedProfile(entry, error);
    if (!profile)
        return error;
    const ProgramStart start =
        ProgramStarter::startDetached(m_options.editor, {QStringLiteral("--edit"), profile->uuid});
    if (start.started)
        return 0;
    m_programMessage = start.message;
    return ProgramNotStarted;
}

ByteCounters NetworkManagerRasApi::byteCounters() {
    // Without NetworkManager the totals stand as they were last seen.
    if (const auto links = activeDialUp())
        sampleCounters(*links);
    return m_counters.totals();
}

QString NetworkManagerRasApi::errorString(int error) const {
    if (error == ProgramNotStarted && !m_programMessage.isEmpty())
        return m_programMessage;
    return RasApi::errorString(error);
}

std::optional<QList<NmActiveConnection>> NetworkManagerRasApi::activeDialUp() {
    const auto paths = NmActiveConnection::list(m_bus);
    if (!paths)
        return std::nullopt;
    const QStringList listed = listedNames();
    QList<NmActiveConnection> out;
    for (const QString& path : *paths) {
        const auto active = NmActiveConnection::read(m_bus, path);
        if (!active)
            continue; // ended between the two calls
        const auto profile = profileOf(*active);
        if (profile && profile->isDialUp(listed))
            out.append(*active);
    }
    // Activations that have ended will not come back: forget their profiles.
    for (auto it = m_profiles.begin(); it != m_profiles.end();)
        it = paths->contains(it.key()) ? std::next(it) : m_profiles.erase(it);
    return out;
}

std::optional<NmConnectionProfile>
NetworkManagerRasApi::profileOf(const NmActiveConnection& active) {
    const auto known = m_profiles.constFind(active.path);
    if (known != m_profiles.constEnd())
        return *known;
    const QDBusMessage reply =
        m_bus.call(active.connectionPath, Nm::kConnectionIface, QStringLiteral("GetSettings"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        // The profile is unreadable: judge by what the activation itself says.
        NmConnectionProfile fallback;
        fallback.path = active.connectionPath;
        fallback.id = active.id;
        fallback.uuid = active.uuid;
        fallback.type = active.type;
        return fallback;
    }
    const NmConnectionProfile profile = NmConnectionProfile::fromSettings(
        active.connectionPath, Nm::settingsMap(reply.arguments().constFirst()));
    m_profiles.insert(active.path, profile);
    return profile;
}

std::optional<QList<NmConnectionProfile>> NetworkManagerRasApi::savedDialUp() {
    const QDBusMessage reply =
        m_bus.call(Nm::kSettingsPath, Nm::kSettingsIface, QStringLiteral("ListConnections"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const QStringList listed = listedNames();
    QList<NmConnectionProfile> out;
    for (const QString& path : Nm::objectPaths(reply.arguments().constFirst())) {
        const QDBusMessage settings =
            m_bus.call(path, Nm::kConnectionIface, QStringLiteral("GetSettings"));
        if (settings.type() != QDBusMessage::ReplyMessage || settings.arguments().isEmpty())
            continue;
        const NmConnectionProfile profile = NmConnectionProfile::fromSettings(
            path, Nm::settingsMap(settings.arguments().constFirst()));
        if (profile.isDialUp(listed))
            out.append(profile);
    }
    return out;
}

std::optional<NmConnectionProfile> NetworkManagerRasApi::savedProfile(const QString& entry,
                                                                      int& error) {
    const auto profiles = savedDialUp();
    if (!profiles) {
        error = SourceUnavailable;
        return std::nullopt;
    }
    for (const NmConnectionProfile& profile : *profiles) {
        if (profile.id == entry)
            return profile;
    }
    error = CannotFindEntry;
    return std::nullopt;
}

bool NetworkManagerRasApi::passwordStored(const NmConnectionProfile& profile) const {
    if (profile.needsNoPassword())
        return true;
    if (profile.passwordFlags & NmConnectionProfile::NotSaved)
        return false;
    // Secrets are readable to privileged callers only; unreadable counts as
    // not stored, so that the monitor asks.
    const QDBusMessage reply =
        m_bus.call(profile.path, Nm::kConnectionIface, QStringLiteral("GetSecrets"),
                   {profile.credentialSetting});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const NmSettingsMap secrets = Nm::settingsMap(reply.arguments().constFirst());
    return !secrets.value(profile.credentialSetting)
                .value(QStringLiteral("password"))
                .toString()
                .isEmpty();
}

QStringList NetworkManagerRasApi::listedNames() const {
    return parseConnectionTypes(
        m_settings.ReadText(kSettingsKey, kConnectionTypesValue, QString()));
}

RasHandle NetworkManagerRasApi::handleOf(const QString& activePath) {
    const auto known = m_handles.constFind(activePath);
    if (known != m_handles.constEnd())
        return *known;
    const RasHandle handle = ++m_lastHandle;
    m_handles.insert(activePath, handle);
    m_paths.insert(handle, activePath);
    return handle;
}

void NetworkManagerRasApi::sampleCounters(const QList<NmActiveConnection>& links) {
    for (const NmActiveConnection& link : links) {
        // Keyed by activation as well: the device's counters may start over
        // with the next connection.
        for (const QString& device : link.devices)
            sampleDevice(link.path + QLatin1Char('|') + device, device);
    }
}

void NetworkManagerRasApi::sampleDevice(const QString& key, const QString& device) {
    auto stats = m_bus.properties(device, Nm::kStatisticsIface);
    if (stats && stats->value(kRefreshRate).toUInt() == 0 && !m_refreshAsked.contains(device)) {
        // Counters are only kept fresh while someone asks for a refresh rate.
        m_refreshAsked.insert(device);
        if (m_bus.setProperty(device, Nm::kStatisticsIface, kRefreshRate, kRefreshRateMs))
            stats = m_bus.properties(device, Nm::kStatisticsIface);
    }
    const bool live = stats && stats->value(kRefreshRate).toUInt() > 0;
    if (!live) {
        const auto iface = m_bus.property(device, Nm::kDeviceIface, QStringLiteral("IpInterface"));
        const auto link = iface ? m_sysfs.link(iface->toString()) : std::nullopt;
        if (link && link->hasCounters) {
            m_counters.update(key, link->txBytes, link->rxBytes);
            return;
        }
    }
    if (stats)
        m_counters.update(key, stats->value(QStringLiteral("TxBytes")).toULongLong(),
                          stats->value(QStringLiteral("RxBytes")).toULongLong());
}
