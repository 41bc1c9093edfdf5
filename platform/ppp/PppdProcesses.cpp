#include "PppdProcesses.h"

#include "PppOptionsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QStringList commandLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    // NUL-separated, with a NUL after the last argument.
    for (const QByteArray& arg : file.readAll().split('\0'))
        out.append(QString::fromLocal8Bit(arg));
    if (!out.isEmpty() && out.constLast().isEmpty())
        out.removeLast();
    return out;
}

} // namespace

PppdProcesses::PppdProcesses(QString procDir, QString runDir, const PppPeers& peers)
    : m_procDir(std::move(procDir)), m_runDir(std::move(runDir)), m_peers(peers) {}

QList<PppdProcess> PppdProcesses::scan() const {
    QList<PppdProcess> out;
    const QStringList entries = QDir(m_procDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        const QStringList args =
            commandLine(m_procDir + QLatin1Char('/') + entry + QStringLiteral("/cmdline"));
        if (!args.isEmpty() && QFileInfo(args.constFirst()).fileName() == QLatin1String("pppd"))
            out.append(parse(pid, args.mid(1), m_peers));
    }
    std::sort(out.begin(), out.end(),
              [](const PppdProcess& a, const PppdProcess& b) { return a.pid < b.pid; });
    return out;
}

PppdProcess PppdProcesses::parse(qint64 pid, const QStringList& arguments, const PppPeers& peers) {
    PppdProcess p;
    p.pid = pid;
    QStringList words;
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
    return p;
}

int PppdProcesses::ownerOf(const QList<PppdProcess>& list, const QString& ifname) const {
    // pppd writes IFNAME.pid with its pid, and ppp-LINKNAME.pid with its pid
    // and the interface name.
    const qint64 pidOfInterface = pidFileLine(ifname + QStringLiteral(".pid"), 0).toLongLong();
    for (int i = 0; i < list.size(); ++i) {
        const PppdProcess& p = list.at(i);
        if (p.ifname == ifname || (pidOfInterface != 0 && p.pid == pidOfInterface))
            return i;
        if (!p.linkName.isEmpty() &&
            pidFileLine(QStringLiteral("ppp-") + p.linkName + QStringLiteral(".pid"), 1) == ifname)
            return i;
    }
    return -1;
}

QString PppdProcesses::pidFileLine(const QString& fileName, int line) const {
    QFile file(m_runDir + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QList<QByteArray> lines = file.readAll().split('\n');
    return line < lines.size() ? QString::fromLocal8Bit(lines.at(line)).trimmed() : QString();
}
