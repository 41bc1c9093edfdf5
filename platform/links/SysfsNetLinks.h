#pragma once
// The network interfaces as /sys/class/net (or a test's tree) shows them:
// index, link type, whether they are up, and their byte counters.

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

struct NetLink {
    QString name;
    int ifindex = 0;
    int type = 0; // ARPHRD_* value
    bool up = false;
    bool hasCounters = false;
    std::uint64_t txBytes = 0;
    std::uint64_t rxBytes = 0;

    // One name per instance of the interface: a link set up again under the
    // same name gets a new index.
    QString instanceKey() const;
};

class SysfsNetLinks {
public:
    static constexpr int ArphrdPpp = 512;
    static QString defaultRoot();

    explicit SysfsNetLinks(QString root = defaultRoot());

    // Every interface, sorted by name.
    QList<NetLink> links() const;
    std::optional<NetLink> link(const QString& name) const;

private:
    QString m_root;
};
