#include "NetworkManagerRasApi.h"

#include "ProgramStarter.h"
#include "RasConstants.h"

#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {

const QString kRefreshRate = QStringLiteral("RefreshRateMs");
// How often NetworkManager should refresh a device's counters for us.
constexpr uint kRefreshRateMs = 1000;
// NMSettingsConnectionFlags: deleted when its activation ends.
constexpr uint kVolatile = 0x4;

} // namespace

NetworkManagerRasApi::NetworkManagerRasApi(QDBusConnection bus, const Settings& settings,
                                           Options options)
    : m_bus(std::move(bus), options.timeoutMs), m_settings(settings), m_options(std::move(options)),
      m_objects(m_bus), m_dialer(m_bus, m_objects), m_sysfs(m_options.sysClassNet) {
    connect(&m_objects, &NmObjects::forgotten, this, &NetworkManagerRasApi::onForgotten);
}

NetworkManagerRasApi::~NetworkManagerRasApi() {
    restoreRefreshRates();
}

bool NetworkManagerRasApi::available(QDBusConnection bus, int timeoutMs) {
    return NmBus(std::move(bus), timeoutMs).answers();
}

QString NetworkManagerRasApi::backendName() const {
    return QStringLiteral("networkmanager");
}

int NetworkManagerRasApi::enumConnections(QList<RasConnection>& out) {
    out.clear();
    if (!m_objects.synced()) {
        // Gone, restarting or not answering: the session goes on meanwhile.
        m_objects.syncIfNeeded();
        return SourceUnavailable;
    }
    // A daemon that is starting up has not yet taken over the links that are
    // up: its list is no news that they ended.
    if (m_objects.property(Nm::kPath, Nm::kManagerIface, QStringLiteral("Startup")).toBool())
        return SourceUnavailable;
    const QList<NmActiveConnection> links = activeDialUp();
    QSet<QString> paths;
    for (const NmActiveConnection& link : links) {
        out.append({handleOf(link), link.id});
        paths.insert(link.path);
    }
    // Links of the old daemon that the new one has not taken over are gone.
    m_carried.clear();
    for (auto it = m_activations.begin(); it != m_activations.end();)
        it = paths.contains(it.key()) ? std::next(it) : m_activations.erase(it);
    // Sampled on every poll so that a link's last bytes are counted before
    // the link is gone.
    sampleCounters(links);
    return 0;
}

int NetworkManagerRasApi::connectStatus(RasHandle handle, RasConnStatus& status) {
    for (auto it = m_activations.begin(); it != m_activations.end(); ++it) {
        if (it->handle != handle)
            continue;
        const auto active = NmActiveConnection::of(m_objects, it.key());
        if (!active)
            return InvalidHandle;
        RasConnStatus now = NmState::statusOf(active->observe(m_objects));
        if (it->carried && now.state == RasState::Connected)
            it->carried = false;
        else if (it->carried && now.error == 0 && now.state != RasState::Disconnected)
            now.state = RasState::Connected;
        status = now;
        return 0;
    }
    return InvalidHandle;
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

int NetworkManagerRasApi::dial(const QString& entry, const QString& userName,
                               const QString& password, DialCallback callback, RasHandle& handle) {
    int error = 0;
    const auto profile = savedProfile(entry, error);
    if (!profile)
        return error;
    QString activePath;
    QString uuid;
    error = m_dialer.dial(*profile, {userName, password}, std::move(callback), activePath, uuid);
    if (error != 0)
        return error;
    if (uuid != profile->uuid)
        m_copies.insert(uuid, *profile);
    NmActiveConnection active;
    active.path = activePath;
    active.uuid = uuid;
    handle = handleOf(active);
    return 0;
}

int NetworkManagerRasApi::hangUp(RasHandle handle) {
    for (auto it = m_activations.cbegin(); it != m_activations.cend(); ++it) {
        if (it->handle == handle)
            return m_dialer.hangUp(it.key());
    }
    // A link of ours that has ended already: nothing left to hang up.
    return handle != 0 && handle <= m_lastHandle ? 0 : InvalidHandle;
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
    if (m_objects.synced())
        sampleCounters(activeDialUp());
    return m_counters.totals();
}

QString NetworkManagerRasApi::errorString(int error) const {
    if (error == ProgramNotStarted && !m_programMessage.isEmpty())
        return m_programMessage;
    return RasApi::errorString(error);
}

void NetworkManagerRasApi::onForgotten() {
    // Paths mean nothing to a new daemon; the links it takes over keep their
    // handles by the identity of their profile.
    for (const Activation& activation : std::as_const(m_activations))
        m_carried.insert(activation.uuid, activation.handle);
    m_activations.clear();
    m_refreshAsked.clear();
    m_restoreRates.clear();
}

QList<NmActiveConnection> NetworkManagerRasApi::activeDialUp() const {
    const QStringList listed = listedNames();
    QList<NmActiveConnection> out;
    for (const QString& path : m_objects.activeConnections()) {
        const auto active = NmActiveConnection::of(m_objects, path);
        if (active && profileOf(*active).isDialUp(listed))
            out.append(*active);
    }
    return out;
}

NmConnectionProfile NetworkManagerRasApi::profileOf(const NmActiveConnection& active) const {
    const auto copied = m_copies.constFind(active.uuid);
    if (copied != m_copies.constEnd())
        return *copied;
    if (const NmConnectionProfile* profile = m_objects.profile(active.connectionPath))
        return *profile;
    // The profile is unreadable: judge by what the activation itself says.
    NmConnectionProfile fallback;
    fallback.path = active.connectionPath;
    fallback.id = active.id;
    fallback.uuid = active.uuid;
    fallback.type = active.type;
    return fallback;
}

bool NetworkManagerRasApi::isCopy(const QString& uuid, uint flags) const {
    return (flags & kVolatile) != 0 || m_copies.contains(uuid);
}

std::optional<QList<NmConnectionProfile>> NetworkManagerRasApi::savedDialUp() const {
    if (!m_objects.synced())
        return savedDialUpAsked();
    const QStringList listed = listedNames();
    QList<NmConnectionProfile> out;
    for (const QString& path : m_objects.profilePaths()) {
        const NmConnectionProfile* profile = m_objects.profile(path);
        const uint flags =
            m_objects.property(path, Nm::kConnectionIface, QStringLiteral("Flags")).toUInt();
        if (profile && !isCopy(profile->uuid, flags) && profile->isDialUp(listed))
            out.append(*profile);
    }
    return out;
}

std::optional<QList<NmConnectionProfile>> NetworkManagerRasApi::savedDialUpAsked() const {
    // Before the first look at NetworkManager is complete (at start-up) the
    // phone book is asked for directly.
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
        const auto flags = m_bus.property(path, Nm::kConnectionIface, QStringLiteral("Flags"));
        if (!isCopy(profile.uuid, flags ? flags->toUInt() : 0) && profile.isDialUp(listed))
            out.append(profile);
    }
    return out;
}

std::optional<NmConnectionProfile> NetworkManagerRasApi::savedProfile(const QString& entry,
                                                                      int& error) const {
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
    // Secrets are handed out only to callers that may modify the profile. A
    // refusal says nothing about the password: NetworkManager most likely
    // has one (it is a saved profile), so no needless prompt is shown.
    const QDBusMessage reply =
        m_bus.call(profile.path, Nm::kConnectionIface, QStringLiteral("GetSecrets"),
                   {profile.credentialSetting});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return true;
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

RasHandle NetworkManagerRasApi::handleOf(const NmActiveConnection& active) {
    const auto known = m_activations.constFind(active.path);
    if (known != m_activations.constEnd() && known->uuid == active.uuid)
        return known->handle;
    Activation activation;
    activation.uuid = active.uuid;
    const auto carried = m_carried.constFind(active.uuid);
    if (carried != m_carried.constEnd()) {
        activation.handle = *carried;
        activation.carried = true;
        m_carried.erase(carried);
    } else {
        activation.handle = ++m_lastHandle;
    }
    m_activations.insert(active.path, activation);
    return activation.handle;
}

void NetworkManagerRasApi::sampleCounters(const QList<NmActiveConnection>& links) {
    for (const NmActiveConnection& link : links) {
        const RasHandle handle = handleOf(link);
        // One reading per activation and interface: the handle outlives a
        // daemon restart, device paths do not.
        for (const QString& device : link.devices) {
            QString iface =
                m_objects.property(device, Nm::kDeviceIface, QStringLiteral("IpInterface"))
                    .toString();
            if (iface.isEmpty())
                iface = m_objects.property(device, Nm::kDeviceIface, QStringLiteral("Interface"))
                            .toString();
            sampleDevice(QString::number(handle) + QLatin1Char('|') + iface, device);
        }
    }
}

void NetworkManagerRasApi::sampleDevice(const QString& key, const QString& device) {
    const QVariantMap stats = m_objects.properties(device, Nm::kStatisticsIface);
    const bool live = stats.value(kRefreshRate).toUInt() > 0;
    if (!stats.isEmpty() && !live && !m_refreshAsked.contains(device))
        askForRefresh(device);
    if (!live) {
        const QString iface =
            m_objects.property(device, Nm::kDeviceIface, QStringLiteral("IpInterface")).toString();
        const auto link = iface.isEmpty() ? std::nullopt : m_sysfs.link(iface);
        if (link && link->hasCounters) {
            m_counters.update(key, link->txBytes, link->rxBytes);
            return;
        }
    }
    if (!stats.isEmpty())
        m_counters.update(key, stats.value(QStringLiteral("TxBytes")).toULongLong(),
                          stats.value(QStringLiteral("RxBytes")).toULongLong());
}

void NetworkManagerRasApi::askForRefresh(const QString& device) {
    // Counters are only kept fresh while someone asks for a refresh rate;
    // the answer arrives as a change of the property.
    m_refreshAsked.insert(device);
    m_restoreRates.insert(device,
                          m_objects.property(device, Nm::kStatisticsIface, kRefreshRate).toUInt());
    m_bus.callLater(
        device, Nm::kPropertiesIface, QStringLiteral("Set"),
        {Nm::kStatisticsIface, kRefreshRate, QVariant::fromValue(QDBusVariant(kRefreshRateMs))},
        this, [](const QDBusMessage&) {}, NmBus::Auth::Interactive);
}

void NetworkManagerRasApi::restoreRefreshRates() {
    if (!m_objects.synced())
        return;
    for (auto it = m_restoreRates.cbegin(); it != m_restoreRates.cend(); ++it) {
        // Someone else may have set a rate of their own since.
        if (m_objects.property(it.key(), Nm::kStatisticsIface, kRefreshRate).toUInt() ==
            kRefreshRateMs)
            m_bus.setProperty(it.key(), Nm::kStatisticsIface, kRefreshRate, *it);
    }
}
