#include "PppdProcesses.h"

#include "PppOptionsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList commandLine(const QString& path) {
    QStringList out;
    // NUL-separated, with a NUL after the last argument.
    for (const QByteArray& arg : readFile(path).split('\0'))
        out.append(QString::fromLocal8Bit(arg));
    if (!out.isEmpty() && out.constLast().isEmpty())
        out.removeLast();
    return out;
}

// The parent pid field of /proc/PID/stat; the command name before it may
// hold blanks and parentheses, so the fields start after the last ')'.
qint64 parentOf(const QString& statPath) {
    const QByteArray stat = readFile(statPath);
    const int end = stat.lastIndexOf(')');
    const QList<QByteArray> fields = stat.mid(end + 1).simplified().split(' ');
    return end >= 0 && fields.size() > 1 ? fields.at(1).toLongLong() : 0;
}

QStringList numericEntries(const QString& dir) {
    QStringList out;
    for (const QString& entry : QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        if (numeric)
            out.append(entry);
    }
    return out;
}

// The serial device among pppd's words: the last "/dev/..." that is not the
// value of an option.
QString deviceOf(const QStringList& words) {
    static const QStringList kTakesValue = {"connect", "disconnect", "init",   "welcome",
                                            "pty",     "file",       "record", "socket"};
    QString device;
    for (int i = 0; i < words.size(); ++i) {
        if (words.at(i).startsWith(QLatin1String("/dev/")) &&
            (i == 0 || !kTakesValue.contains(words.at(i - 1))))
            device = words.at(i);
    }
    return device;
}

} // namespace

PppdProcesses::PppdProcesses(PppdFiles files, const PppPeers& peers)
    : m_files(std::move(files)), m_peers(peers) {}

QList<PppdProcess> PppdProcesses::scan() const {
    QList<PppdProcess> out;
    for (const QString& entry : numericEntries(m_files.procDir)) {
        const QStringList args =
            commandLine(m_files.procDir + QLatin1Char('/') + entry + QStringLiteral("/cmdline"));
        if (!args.isEmpty() && QFileInfo(args.constFirst()).fileName() == QLatin1String("pppd"))
            out.append(parse(entry.toLongLong(), args.mid(1), m_peers));
    }
    std::sort(out.begin(), out.end(),
              [](const PppdProcess& a, const PppdProcess& b) { return a.pid < b.pid; });
    return out;
}

PppdProcess PppdProcesses::parse(qint64 pid, const QStringList& arguments, const PppPeers& peers) {
    PppdProcess p;
    p.pid = pid;
    QStringList words = peers.globalOptions();
    for (int i = 0; i < arguments.size(); ++i) {
        words.append(arguments.at(i));
        if (arguments.at(i) == QLatin1String("call") && i + 1 < arguments.size()) {
            p.callName = arguments.at(++i);
            words.append(p.callName);
            words.append(peers.options(p.callName));
        }
    }
    p.linkName = PppOptionsFile::valueOf(words, QStringLiteral("linkname"));
    p.ifname = PppOptionsFile::valueOf(words, QStringLiteral("ifname"));
    const QString unit = PppOptionsFile::valueOf(words, QStringLiteral("unit"));
    if (p.ifname.isEmpty() && !unit.isEmpty())
        p.ifname = QStringLiteral("ppp") + unit;
    p.device = deviceOf(words);
    p.connect = PppOptionsFile::valueOf(words, QStringLiteral("connect"));
    p.demand = words.contains(QStringLiteral("demand"));
    return p;
}

int PppdProcesses::ownerOf(const QList<PppdProcess>& list, const QString& ifname) const {
    // pppd writes IFNAME.pid with its pid, and ppp-LINKNAME.pid with its pid
    // and the interface name: pppd 2.4 in /run, pppd 2.5 in /run/pppd.
    const QString ifnameFile = ifname + QStringLiteral(".pid");
    qint64 pidOfInterface = pidFileLine(ifnameFile, 0).toLongLong();
    if (pidOfInterface == 0)
        pidOfInterface = pidFileLine(QStringLiteral("pppd/") + ifnameFile, 0).toLongLong();
    for (int i = 0; i < list.size(); ++i) {
        const PppdProcess& p = list.at(i);
        if (p.ifname == ifname || (pidOfInterface != 0 && p.pid == pidOfInterface))
            return i;
        if (p.linkName.isEmpty())
            continue;
        const QString linkFile = QStringLiteral("ppp-") + p.linkName + QStringLiteral(".pid");
        if (pidFileLine(linkFile, 1) == ifname ||
            pidFileLine(QStringLiteral("pppd/") + linkFile, 1) == ifname)
            return i;
    }
    return -1;
}

bool PppdProcesses::callUp(const PppdProcess& process) const {
    return holdsLock(process) && !connectScriptRuns(process);
}

bool PppdProcesses::holdsLock(const PppdProcess& process) const {
    if (process.device.isEmpty())
        return false;
    // UUCP style, as pppd's "lock" writes it while it has the device open:
    // LCK..ttyUSB0 holding the pid as text.
    const QString name = QFileInfo(process.device).fileName();
    const QByteArray text = readFile(m_files.lockDir + QStringLiteral("/LCK..") + name).trimmed();
    return !text.isEmpty() && text.toLongLong() == process.pid;
}

bool PppdProcesses::connectScriptRuns(const PppdProcess& process) const {
    // pppd runs its connect script as "sh -c SCRIPT"; the shell may have
    // replaced itself with the script's program.
    const QStringList script = PppOptionsFile::words(process.connect);
    for (const QString& entry : numericEntries(m_files.procDir)) {
        const QString dir = m_files.procDir + QLatin1Char('/') + entry;
        if (parentOf(dir + QStringLiteral("/stat")) != process.pid)
            continue;
        const QStringList args = commandLine(dir + QStringLiteral("/cmdline"));
        const bool shell = args.size() >= 2 && args.at(1) == QLatin1String("-c") &&
                           QFileInfo(args.at(0)).fileName().endsWith(QLatin1String("sh"));
        if (shell || (!script.isEmpty() && args == script))
            return true;
    }
    return false;
}

QString PppdProcesses::pidFileLine(const QString& fileName, int line) const {
    const QList<QByteArray> lines =
        readFile(m_files.runDir + QLatin1Char('/') + fileName).split('\n');
    return line < lines.size() ? QString::fromLocal8Bit(lines.at(line)).trimmed() : QString();
}
