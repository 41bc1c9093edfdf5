#pragma once
// The NetworkManager source on the fake daemon with a modem and a saved
// mobile broadband profile, and the means to look at it as the monitor does.

#include "NetworkManagerRasApi.h"
#include "NmMock.h"

#include "MemoryRegistryStore.h"
#include "RasConstants.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

struct NmStep {
    int state;
    int error;
    bool operator==(const NmStep& o) const { return state == o.state && error == o.error; }
};

inline std::ostream& operator<<(std::ostream& os, const NmStep& s) {
    return os << "(" << s.state << ", " << s.error << ")";
}

inline NmSettingsMap nmProfile(const QString& id, const QString& type,
                               const QVariantMap& extra = {}) {
    NmSettingsMap settings;
    QVariantMap connection{{QStringLiteral("id"), id},
                           {QStringLiteral("uuid"), QStringLiteral("uuid-") + id},
                           {QStringLiteral("type"), type}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        connection.insert(it.key(), it.value());
    settings[QStringLiteral("connection")] = connection;
    return settings;
}

class NmSourceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
        options.sysClassNet = sysfs.path();
        options.editor = sysfs.filePath(QStringLiteral("no-such-editor"));
        modem = mock.addModem(QStringLiteral("modem0"), QStringLiteral("ppp0"), 30);
        gsm = mock.addConnection(NmMock::gsmSettings(QStringLiteral("Mobile Broadband"),
                                                     QStringLiteral("uuid-gsm"),
                                                     QStringLiteral("anna")));
        api = std::make_unique<NetworkManagerRasApi>(mock.connection(), settings, options);
        settle();
    }

    void settle() { mock.settle(*api); }
    // What the monitor's poll sees once the daemon's news have arrived.
    QList<RasConnection> connections() {
        settle();
        QList<RasConnection> out;
        EXPECT_EQ(api->enumConnections(out), 0);
        return out;
    }
    QStringList names() {
        QStringList out;
        for (const RasConnection& c : connections())
            out.append(c.entryName);
        return out;
    }
    RasConnStatus statusOf(const QString& entry) {
        RasConnStatus status{-1, -1};
        for (const RasConnection& c : connections()) {
            if (c.entryName == entry) {
                EXPECT_EQ(api->connectStatus(c.handle, status), 0);
            }
        }
        return status;
    }
    ByteCounters counters() {
        settle();
        return api->byteCounters();
    }
    RasApi::DialCallback recorder() {
        return [this](int state, int error) {
            steps.append({state, error});
        };
    }
    // Dials the gsm profile; returns the active connection NetworkManager made.
    QString dialGsm(RasHandle& handle, const QString& password = QString()) {
        EXPECT_EQ(api->dial(QStringLiteral("Mobile Broadband"), QStringLiteral("anna"), password,
                            recorder(), handle),
                  0);
        const QStringList active = activePaths();
        return active.isEmpty() ? QString() : active.constLast();
    }
    QStringList activePaths() {
        return Nm::objectPaths(
            mock.property(Nm::kPath, Nm::kManagerIface, QStringLiteral("ActiveConnections")));
    }

    NmMock mock;
    QTemporaryDir sysfs;
    MemoryRegistryStore store;
    Settings settings{store};
    NetworkManagerOptions options;
    std::unique_ptr<NetworkManagerRasApi> api;
    QString modem;
    QString gsm;
    QList<NmStep> steps;
};
