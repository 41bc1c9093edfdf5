#include "PppFakeTree.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {
// Generous: the helpers are shell scripts that finish at once.
constexpr int kHelperTimeoutMs = 30000;
} // namespace

PppFakeTree::PppFakeTree() {
    for (const char* dir : {"sys/class/net", "proc", "run", "var/lock", "etc/ppp/peers"})
        QDir(m_dir.path()).mkpath(QLatin1String(dir));
    const QByteArray root = m_dir.path().toLocal8Bit();
    writeScript(QStringLiteral("pon"), "printf '%s\\n' \"$*\" >> '" + root +
                                           "/pon.log'\n"
                                           "prev=\nfor a in \"$@\"; do\n"
                                           "  [ \"$prev\" = file ] && cat \"$a\" >> '" +
                                           root +
                                           "/pon.options'\n"
                                           "  prev=$a\ndone\n"
                                           "if [ -f '" +
                                           root +
                                           "/pon.exit.'\"$1\" ]; then\n"
                                           "  echo \"pppd failed\" >&2\n"
                                           "  exit $(cat '" +
                                           root + "/pon.exit.'\"$1\")\nfi\n");
    writeScript(QStringLiteral("editor"), "printf '%s\\n' \"$*\" >> '" + root +
                                              "/editor.log.tmp'\n"
                                              "mv '" +
                                              root + "/editor.log.tmp' '" + root +
                                              "/editor.log'\n");
}

PppOptions PppFakeTree::options() const {
    PppOptions o;
    o.sysClassNet = path(QStringLiteral("sys/class/net"));
    o.peersDir = path(QStringLiteral("etc/ppp/peers"));
    o.secretsDir = path(QStringLiteral("etc/ppp"));
    o.procDir = path(QStringLiteral("proc"));
    o.runDir = path(QStringLiteral("run"));
    o.lockDir = path(QStringLiteral("var/lock"));
    o.pon = path(QStringLiteral("pon"));
    o.editor = path(QStringLiteral("editor"));
    // The made-up pids may be real processes of this machine: never signal them.
    auto* sent = const_cast<QStringList*>(&m_signals);
    o.signalProcess = [sent](qint64 pid, int signal) {
        sent->append(QStringLiteral("%1 %2").arg(pid).arg(signal));
        return 0;
    };
    return o;
}

void PppFakeTree::addPeer(const QString& name, const QByteArray& options) {
    write(QStringLiteral("etc/ppp/peers/") + name, options);
}

void PppFakeTree::addSecret(const QString& user, const QString& secret) {
    QFile file(path(QStringLiteral("etc/ppp/pap-secrets")));
    file.open(QIODevice::Append);
    file.write((user + QStringLiteral(" * \"") + secret + QStringLiteral("\"\n")).toLocal8Bit());
}

void PppFakeTree::addInterface(const QString& name, int ifindex, bool up, int type) {
    const QString dir = QStringLiteral("sys/class/net/") + name;
    QDir(m_dir.path()).mkpath(dir + QStringLiteral("/statistics"));
    write(dir + QStringLiteral("/ifindex"), QByteArray::number(ifindex) + '\n');
    write(dir + QStringLiteral("/type"), QByteArray::number(type) + '\n');
    setUp(name, up);
    setCounters(name, 0, 0);
}

void PppFakeTree::setUp(const QString& name, bool up) {
    // As the kernel writes them: UP|POINTOPOINT|RUNNING|NOARP, or nothing up.
    write(QStringLiteral("sys/class/net/") + name + QStringLiteral("/flags"),
          up ? "0x10d1\n" : "0x1090\n");
}

void PppFakeTree::setCounters(const QString& name, std::uint64_t tx, std::uint64_t rx) {
    const QString dir = QStringLiteral("sys/class/net/") + name + QStringLiteral("/statistics/");
    write(dir + QStringLiteral("tx_bytes"), QByteArray::number(quint64(tx)) + '\n');
    write(dir + QStringLiteral("rx_bytes"), QByteArray::number(quint64(rx)) + '\n');
}

void PppFakeTree::removeInterface(const QString& name) {
    QDir(path(QStringLiteral("sys/class/net/") + name)).removeRecursively();
}

void PppFakeTree::addProcess(qint64 pid, const QStringList& commandLine, qint64 parent) {
    const QString dir = QStringLiteral("proc/") + QString::number(pid);
    QDir(m_dir.path()).mkpath(dir);
    QByteArray text;
    for (const QString& arg : commandLine)
        text += arg.toLocal8Bit() + '\0';
    write(dir + QStringLiteral("/cmdline"), text);
    // As the kernel writes it: the command name in parentheses may hold
    // blanks and parentheses of its own.
    const QByteArray comm = QFileInfo(commandLine.value(0)).fileName().toLocal8Bit().left(15);
    write(dir + QStringLiteral("/stat"), QByteArray::number(pid) + " (" + comm + ") S " +
                                             QByteArray::number(parent) +
                                             " 1 1 0 -1 4194560 0 0 0 0 0 0 0 0 20 0 1 0\n");
}

void PppFakeTree::removeProcess(qint64 pid) {
    QDir(path(QStringLiteral("proc/") + QString::number(pid))).removeRecursively();
}

void PppFakeTree::writeRunFile(const QString& name, const QByteArray& text) {
    write(QStringLiteral("run/") + name, text);
}

void PppFakeTree::removeRunFile(const QString& name) {
    QFile::remove(path(QStringLiteral("run/") + name));
}

void PppFakeTree::setDeviceLock(const QString& device, qint64 pid) {
    const QString file = QStringLiteral("var/lock/LCK..") + device;
    if (pid == 0)
        QFile::remove(path(file));
    else
        write(file, QByteArray::number(pid).rightJustified(10, ' ') + '\n');
}

void PppFakeTree::setPonExit(const QString& entry, int status) {
    const QString file = QStringLiteral("pon.exit.") + entry;
    if (status == 0)
        QFile::remove(path(file));
    else
        write(file, QByteArray::number(status) + '\n');
}

QByteArray PppFakeTree::ponOptionsSeen() const {
    QFile file(path(QStringLiteral("pon.options")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PppFakeTree::finishHelpers(PppRasApi& api) {
    const QDeadlineTimer deadline(kHelperTimeoutMs);
    while (api.helpersRunning() && !deadline.hasExpired())
        QThread::msleep(5);
    QCoreApplication::processEvents();
}

void PppFakeTree::write(const QString& relative, const QByteArray& text) const {
    QFile file(path(relative));
    QDir().mkpath(QFileInfo(file).path());
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
}

void PppFakeTree::writeScript(const QString& name, const QByteArray& body) const {
    write(name, "#!/bin/sh\n" + body);
    QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList PppFakeTree::lines(const QString& relative) const {
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
