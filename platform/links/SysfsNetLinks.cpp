#include "SysfsNetLinks.h"

#include <QDir>
#include <QFile>

namespace {

constexpr unsigned kIffUp = 0x1;

QString readLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readLine(64)).trimmed();
}

std::optional<std::uint64_t> readNumber(const QString& path, int base = 10) {
    bool ok = false;
    const std::uint64_t value = readLine(path).toULongLong(&ok, base);
    return ok ? std::optional<std::uint64_t>(value) : std::nullopt;
}

} // namespace

QString NetLink::instanceKey() const {
    return name + QLatin1Char('#') + QString::number(ifindex);
}

QString SysfsNetLinks::defaultRoot() {
    return QStringLiteral("/sys/class/net");
}

SysfsNetLinks::SysfsNetLinks(QString root) : m_root(std::move(root)) {}

QList<NetLink> SysfsNetLinks::links() const {
    QList<NetLink> out;
    const QStringList names = QDir(m_root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        if (const auto l = link(name))
            out.append(*l);
    }
    return out;
}

std::optional<NetLink> SysfsNetLinks::link(const QString& name) const {
    const QString dir = m_root + QLatin1Char('/') + name;
    const auto ifindex = readNumber(dir + QStringLiteral("/ifindex"));
    // An interface that vanished between the listing and this read.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || !ifindex)
        return std::nullopt;
    NetLink l;
    l.name = name;
    l.ifindex = static_cast<int>(*ifindex);
    l.type = static_cast<int>(readNumber(dir + QStringLiteral("/type")).value_or(0));
    // "flags" is written in hexadecimal ("0x1091"); base 0 reads the prefix.
    l.up = (readNumber(dir + QStringLiteral("/flags"), 0).value_or(0) & kIffUp) != 0;
    const auto tx = readNumber(dir + QStringLiteral("/statistics/tx_bytes"));
    const auto rx = readNumber(dir + QStringLiteral("/statistics/rx_bytes"));
    l.hasCounters = tx && rx;
    l.txBytes = tx.value_or(0);
    l.rxBytes = rx.value_or(0);
    return l;
}
