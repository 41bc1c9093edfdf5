#include "NmMock.h"

#include "NetworkManagerRasApi.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <signal.h>
#include <sys/prctl.h>

namespace {

const QString kMockIface = QStringLiteral("org.freedesktop.DBus.Mock");
// Generous: python3-dbusmock needs about half a second on a quiet machine.
constexpr int kStartTimeoutMs = 30000;

int gConnectionCount = 0;

// Helpers must not outlive a test that dies.
void dieWithParent() {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

QVariant variant(const QVariant& value) {
    return QVariant::fromValue(QDBusVariant(value));
}

} // namespace

NmMock::NmMock(bool withNetworkManager)
    : m_connectionName(QStringLiteral("nm-mock-%1").arg(++gConnectionCount)),
      m_connection(m_connectionName) {
    Nm::registerTypes();
    if (startBus() && withNetworkManager)
        startMock();
}

NmMock::~NmMock() {
    QDBusConnection::disconnectFromBus(m_connectionName);
    for (auto* process : {m_mock.get(), m_daemon.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
            process->waitForFinished(5000);
        }
    }
}

bool NmMock::startBus() {
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    m_daemon = std::make_unique<QProcess>();
    m_daemon->setChildProcessModifier(dieWithParent);
    m_daemon->start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=/usr/share/dbus-1/session.conf"),
                     QStringLiteral("--address=unix:path=") + m_dir.filePath("bus"),
                     QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    // The daemon prints its address once it listens.
    if (!m_daemon->waitForStarted(kStartTimeoutMs) ||
        !m_daemon->waitForReadyRead(kStartTimeoutMs)) {
        m_error = QStringLiteral("dbus-daemon did not start: ") + m_daemon->errorString();
        return false;
    }
    m_address = QString::fromLocal8Bit(m_daemon->readLine()).trimmed();
    m_connection = QDBusConnection::connectToBus(m_address, m_connectionName);
    if (!m_connection.isConnected()) {
        m_error = QStringLiteral("cannot connect to ") + m_address;
        return false;
    }
    return true;
}

bool NmMock::startMock(bool startingUp) {
    QDBusServiceWatcher watcher(Nm::kService, m_connection,
                                QDBusServiceWatcher::WatchForRegistration);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, &QEventLoop::quit);
    QTimer::singleShot(kStartTimeoutMs, &loop, &QEventLoop::quit);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
    m_mock = std::make_unique<QProcess>();
    m_mock->setProcessEnvironment(env);
    m_mock->setChildProcessModifier(dieWithParent);
    m_mock->setStandardOutputFile(m_dir.filePath("mock.log"));
    m_mock->setStandardErrorFile(m_dir.filePath("mock.log"), QIODevice::Append);
    QObject::connect(m_mock.get(), &QProcess::finished, &loop, &QEventLoop::quit);
    m_mock->start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                   QStringLiteral("--template"), QStringLiteral(NM_DAEMON_TEMPLATE),
                   QStringLiteral("--parameters"),
                   startingUp ? QStringLiteral("{\"Startup\": true}") : QStringLiteral("{}")});
    if (!m_connection.interface()->isServiceRegistered(Nm::kService))
        loop.exec();
    if (!m_connection.interface()->isServiceRegistered(Nm::kService)) {
        m_error =
            QStringLiteral("python3-dbusmock did not come up; see ") + m_dir.filePath("mock.log");
        return false;
    }
    return true;
}

bool NmMock::waitForFile(const QString& path) {
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!QFileInfo::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

QVariant NmMock::property(const QString& path, const QString& iface, const QString& name) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        Nm::kService, path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    message.setArguments({iface, name});
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, kStartTimeoutMs);
    return qdbus_cast<QDBusVariant>(reply.arguments().value(0)).variant();
}

QDBusMessage NmMock::mockCall(const QString& path, const QString& method,
                              const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(Nm::kService, path, kMockIface, method);
    message.setArguments(arguments);
    return m_connection.call(message, QDBus::Block, kStartTimeoutMs);
}

QString NmMock::addModem(const QString& name, const QString& ipInterface, uint state,
                         bool withStatistics) {
    const QDBusMessage reply = mockCall(Nm::kPath, QStringLiteral("AddModemDevice"),
                                        {name, ipInterface, state, withStatistics});
    return reply.arguments().value(0).toString();
}

void NmMock::activateStepwise(const QString& device) {
    mockCall(Nm::kPath, QStringLiteral("ActivateStepwise"), {device});
}

QString NmMock::addConnection(const NmSettingsMap& settings) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        Nm::kService, Nm::kSettingsPath, Nm::kSettingsIface, QStringLiteral("AddConnection"));
    message.setArguments({QVariant::fromValue(settings)});
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, kStartTimeoutMs);
    return qdbus_cast<QDBusObjectPath>(reply.arguments().value(0)).path();
}

NmSettingsMap NmMock::gsmSettings(const QString& id, const QString& uuid, const QString& userName) {
    NmSettingsMap settings;
    settings[QStringLiteral("connection")] = {{QStringLiteral("id"), id},
                                              {QStringLiteral("uuid"), uuid},
                                              {QStringLiteral("type"), QStringLiteral("gsm")}};
    settings[QStringLiteral("gsm")] = {{QStringLiteral("apn"), QStringLiteral("internet")},
                                       {QStringLiteral("username"), userName}};
    return settings;
}

QString NmMock::addActive(const QStringList& devices, const QString& connectionPath,
                          const QString& name, uint state) {
    const QDBusMessage reply =
        mockCall(Nm::kPath, QStringLiteral("AddActiveConnection"),
                 {devices, connectionPath, QStringLiteral("/"), name, state});
    return reply.arguments().value(0).toString();
}

void NmMock::removeActive(const QString&, const QString& activePath) {
    mockCall(Nm::kPath, QStringLiteral("EndActivation"), {activePath});
}

void NmMock::setActiveDevices(const QString& activePath, const QStringList& devices) {
    QList<QDBusObjectPath> paths;
    for (const QString& device : devices)
        paths.append(QDBusObjectPath(device));
    mockCall(Nm::kPath, QStringLiteral("SetProperty"),
             {activePath, Nm::kActiveIface, QStringLiteral("Devices"),
              variant(QVariant::fromValue(paths))});
}

void NmMock::setDeviceState(const QString& device, uint state, uint reason) {
    QDBusArgument stateReason;
    stateReason.beginStructure();
    stateReason << state << reason;
    stateReason.endStructure();
    mockCall(Nm::kPath, QStringLiteral("SetProperty"),
             {device, Nm::kDeviceIface, QStringLiteral("State"), variant(state)});
    mockCall(Nm::kPath, QStringLiteral("SetProperty"),
             {device, Nm::kDeviceIface, QStringLiteral("StateReason"),
              variant(QVariant::fromValue(stateReason))});
    mockCall(device, QStringLiteral("EmitSignal"),
             {Nm::kDeviceIface, QStringLiteral("StateChanged"), QStringLiteral("uuu"),
              QVariantList{state, uint(0), reason}});
}

void NmMock::setActiveState(const QString& activePath, uint state, uint reason) {
    mockCall(Nm::kPath, QStringLiteral("SetProperty"),
             {activePath, Nm::kActiveIface, QStringLiteral("State"), variant(state)});
    mockCall(activePath, QStringLiteral("EmitSignal"),
             {Nm::kActiveIface, QStringLiteral("StateChanged"), QStringLiteral("uu"),
              QVariantList{state, reason}});
}

void NmMock::setStatistics(const QString& device, quint64 tx, quint64 rx, uint refreshRateMs) {
    const QList<std::pair<QString, QVariant>> values{
        {QStringLiteral("TxBytes"), tx},
        {QStringLiteral("RxBytes"), rx},
        {QStringLiteral("RefreshRateMs"), refreshRateMs}};
    for (const auto& [name, value] : values)
        mockCall(Nm::kPath, QStringLiteral("SetProperty"),
                 {device, Nm::kStatisticsIface, name, variant(value)});
}

void NmMock::setStoredPassword(const QString& connectionPath, const QString& password,
                               const QString& setting) {
    mockCall(Nm::kPath, QStringLiteral("StoreSecret"), {connectionPath, setting, password});
}

QString NmMock::storedPassword(const QString& connectionPath) {
    return mockCall(Nm::kPath, QStringLiteral("StoredSecret"), {connectionPath})
        .arguments()
        .value(0)
        .toString();
}

void NmMock::setCallerPrivileged(bool privileged) {
    mockCall(Nm::kPath, QStringLiteral("SetCallerPrivileged"), {privileged});
}

std::pair<QString, QString> NmMock::activationCredentials(const QString& activePath) {
    const QVariantList answer =
        mockCall(Nm::kPath, QStringLiteral("ActivationCredentials"), {activePath}).arguments();
    return {answer.value(0).toString(), answer.value(1).toString()};
}

bool NmMock::restartDaemon() {
    if (m_mock) {
        m_mock->terminate();
        m_mock->waitForFinished(kStartTimeoutMs);
    }
    // The bus lets go of the name once it has seen the old daemon leave.
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (m_connection.interface()->isServiceRegistered(Nm::kService) && !deadline.hasExpired())
        QThread::msleep(5);
    return startMock(true);
}

void NmMock::finishStartup() {
    mockCall(Nm::kPath, QStringLiteral("FinishStartup"));
}

void NmMock::freeze(bool frozen) {
    if (m_mock && m_mock->state() == QProcess::Running)
        ::kill(pid_t(m_mock->processId()), frozen ? SIGSTOP : SIGCONT);
}

QList<QVariantList> NmMock::callsOf(const QString& path, const QString& method) {
    const QDBusMessage reply = mockCall(path, QStringLiteral("GetMethodCalls"), {method});
    QList<QVariantList> out;
    const QDBusArgument calls = reply.arguments().value(0).value<QDBusArgument>();
    calls.beginArray();
    while (!calls.atEnd()) {
        quint64 time = 0;
        QVariantList arguments;
        calls.beginStructure();
        calls >> time >> arguments;
        calls.endStructure();
        for (QVariant& argument : arguments) {
            if (argument.canConvert<QDBusObjectPath>())
                argument = argument.value<QDBusObjectPath>().path();
        }
        out.append(arguments);
    }
    calls.endArray();
    return out;
}

void NmMock::sync() {
    // The mock answers after sending what it sent before: once this reply is
    // here, its signals are queued in this process.
    mockCall(Nm::kPath, QStringLiteral("GetCalls"));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void NmMock::settle(const NetworkManagerRasApi& api) {
    // A signal may make the source ask again, and the answer may change
    // what it asks next: a few rounds until nothing is awaited.
    const QDeadlineTimer deadline(kStartTimeoutMs);
    for (int round = 0; round < 3; ++round) {
        sync();
        while (api.busy() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
}
