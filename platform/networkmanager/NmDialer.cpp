#include "NmDialer.h"

#include "NmActiveConnection.h"
#include "NmStateTable.h"
#include "RasConstants.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QTimer>
#include <QUuid>

#include <pwd.h>
#include <unistd.h>

namespace {

enum : int {
    CannotFindEntry = 623,
    PortNotAvailable = 633,
    NoPermission = 649,
    FromDevice = 651,
    SourceUnavailable = 711,
};

QString localUser() {
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

} // namespace

NmDialer::NmDialer(NmBus& bus, NmObjects& objects, QObject* parent)
    : QObject(parent), m_bus(bus), m_objects(objects) {
    connect(&m_objects, &NmObjects::changed, this, &NmDialer::onChanged);
}

int NmDialer::errorOfReply(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    if (name.endsWith(QLatin1String(".UnknownConnection")))
        return CannotFindEntry;
    if (name.endsWith(QLatin1String(".UnknownDevice")) ||
        name.endsWith(QLatin1String(".ConnectionNotAvailable")))
        return PortNotAvailable;
    if (name.endsWith(QLatin1String(".PermissionDenied")) ||
        name.endsWith(QLatin1String(".AccessDenied")))
        return NoPermission;
    if (name.startsWith(QLatin1String("org.freedesktop.DBus.Error.")))
        return SourceUnavailable;
    return FromDevice;
}

NmSettingsMap NmDialer::copyWithCredentials(const NmConnectionProfile& profile,
                                            const NmTypedCredentials& typed, const QString& user) {
    NmSettingsMap settings = profile.settings;
    QVariantMap& connection = settings[QStringLiteral("connection")];
    connection.insert(QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces));
    connection.insert(QStringLiteral("autoconnect"), false);
    connection.remove(QStringLiteral("timestamp"));
    // A profile of this user alone needs only "modify.own", which polkit
    // grants an active session without asking.
    if (!user.isEmpty())
        connection.insert(QStringLiteral("permissions"),
                          QStringList{QStringLiteral("user:") + user + QLatin1Char(':')});
    if (!profile.credentialSetting.isEmpty()) {
        QVariantMap& credentials = settings[profile.credentialSetting];
        if (!typed.userName.isEmpty())
            credentials.insert(QStringLiteral("username"), typed.userName);
        if (!typed.password.isEmpty()) {
            credentials.insert(QStringLiteral("password"), typed.password);
            credentials.insert(QStringLiteral("password-flags"), uint(0));
        }
    }
    return settings;
}

int NmDialer::dial(const NmConnectionProfile& profile, const NmTypedCredentials& typed,
                   RasApi::DialCallback callback, QString& activePath, QString& uuid) {
    const QDBusObjectPath none(QStringLiteral("/"));
    const bool copy = !typed.password.isEmpty() ||
                      (!typed.userName.isEmpty() && typed.userName != profile.userName);
    QDBusMessage reply;
    NmSettingsMap settings;
    if (copy) {
        // Handing a typed password to the saved profile would make
        // NetworkManager ask polkit for "modify.system" and save it to disk.
        settings = copyWithCredentials(profile, typed, localUser());
        const QVariantMap options{{QStringLiteral("persist"), QStringLiteral("volatile")}};
        reply =
            m_bus.call(Nm::kPath, Nm::kManagerIface, QStringLiteral("AddAndActivateConnection2"),
                       {QVariant::fromValue(settings), QVariant::fromValue(none),
                        QVariant::fromValue(none), options},
                       NmBus::Auth::Interactive);
    } else {
        reply = m_bus.call(Nm::kPath, Nm::kManagerIface, QStringLiteral("ActivateConnection"),
                           {QVariant::fromValue(QDBusObjectPath(profile.path)),
                            QVariant::fromValue(none), QVariant::fromValue(none)},
                           NmBus::Auth::Interactive);
    }
    const int index = copy ? 1 : 0;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() <= index)
        return errorOfReply(reply);
    activePath = qdbus_cast<QDBusObjectPath>(reply.arguments().at(index)).path();
    uuid =
        copy ? settings.value(QStringLiteral("connection")).value(QStringLiteral("uuid")).toString()
             : profile.uuid;
    m_pending.append({activePath, false, false, -1, std::move(callback)});
    // NetworkManager may have got far before this activation was followed:
    // look once the caller has the handle.
    QTimer::singleShot(0, this, &NmDialer::onChanged);
    return 0;
}

int NmDialer::hangUp(const QString& activePath) {
    const int index = indexOf(activePath);
    if (index >= 0)
        m_pending.removeAt(index);
    const QDBusMessage reply =
        m_bus.call(Nm::kPath, Nm::kManagerIface, QStringLiteral("DeactivateConnection"),
                   {QVariant::fromValue(QDBusObjectPath(activePath))}, NmBus::Auth::Interactive);
    if (reply.type() == QDBusMessage::ReplyMessage ||
        reply.errorName().endsWith(QLatin1String(".ConnectionNotActive")))
        return 0;
    return errorOfReply(reply);
}

int NmDialer::indexOf(const QString& activePath) const {
    for (int i = 0; i < m_pending.size(); ++i) {
        if (m_pending.at(i).activePath == activePath)
            return i;
    }
    return -1;
}

void NmDialer::onChanged() {
    const QList<Pending> pending = m_pending;
    for (const Pending& p : pending)
        check(p);
}

void NmDialer::check(const Pending& p) {
    const int index = indexOf(p.activePath);
    if (index < 0)
        return;
    const auto change = m_objects.lastActiveChange(p.activePath);
    const bool endedWithReason = change && change->first == NmState::ActiveDeactivated;
    const auto active = NmActiveConnection::of(m_objects, p.activePath);
    if (!active) {
        // Gone: it failed; why is known when its last change said so.
        if (p.seen)
            deliver(p.activePath, RasState::Disconnected,
                    endedWithReason ? NmState::errorOfActiveReason(change->second) : FromDevice);
        return;
    }
    m_pending[index].seen = true;
    if (endedWithReason) {
        deliver(p.activePath, RasState::Disconnected, NmState::errorOfActiveReason(change->second));
        return;
    }
    const NmState::Observed observed = active->observe(m_objects);
    if (observed.deviceState && *observed.deviceState < NmState::DevicePrepare) {
        // Back to idle after it had started: the activation is over.
        if (p.deviceStarted)
            deliver(p.activePath, RasState::Disconnected,
                    NmState::errorOfDeviceReason(observed.deviceReason));
        else
            deliver(p.activePath, NmState::dialStateOfActive(active->state), 0);
        return;
    }
    if (observed.deviceState)
        m_pending[index].deviceStarted = true;
    const RasConnStatus status = NmState::statusOf(observed);
    deliver(p.activePath, status.state, status.error);
}

void NmDialer::deliver(const QString& activePath, int state, int error) {
    const int index = indexOf(activePath);
    if (index < 0)
        return;
    Pending& p = m_pending[index];
    // Going down without a reason is not news: the reason follows.
    if (error == 0 && (state == RasState::Disconnected || state == p.lastState))
        return;
    p.lastState = state;
    const RasApi::DialCallback callback = p.callback;
    if (error != 0 || state == RasState::Connected)
        m_pending.removeAt(index);
    // Last, as the callback may hang up or dial again.
    if (callback)
        callback(state, error);
}
