// Dialdart end to end on a fake NetworkManager (python3-dbusmock on a private
// system bus, behaving as the daemon does): the monitor core with its
// dialling feature dials a saved gsm profile with a typed user name and
// password, times the connection NetworkManager brings up, hangs it up from
// the Disconnect item and logs it once; the typed credentials reach the link
// and never the saved profile.

#include "ApplicationControl.h"
#include "Clock.h"
#include "DialModule.h"
#include "LogFile.h"
#include "MemoryRegistryStore.h"
#include "ModuleRunEnvironment.h"
#include "MonitorCore.h"
#include "NetworkManagerRasApi.h"
#include "NmMock.h"
#include "RecordingShell.h"
#include "RecordingView.h"
#include "Settings.h"
#include "TestFormats.h"
#include "VirtualRunner.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// NetworkManager's device states on the way up (NMDeviceState): prepare,
// config, need-auth, ip-config, activated; and its "activated" state of an
// active connection.
constexpr uint kDeviceDisconnected = 30;
const QList<uint> kDeviceStatesUp{40, 50, 60, 70, 100};
constexpr uint kActiveActivated = 2;

const QString kProfile = QStringLiteral("Mobile Broadband");

class DialNetworkManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
        modem =
            mock.addModem(QStringLiteral("ttyUSB0"), QStringLiteral("ppp0"), kDeviceDisconnected);
        profile = mock.addConnection(
            NmMock::gsmSettings(kProfile, QStringLiteral("0b6f5b1e-8d4a-4e0c-9a55-6a7e2f41c3d2"),
                                QStringLiteral("anna")));
        // NetworkManager takes the activation up step by step, as a modem does.
        mock.activateStepwise(modem);
        // A user whom polkit lets modify the profile may read its secrets, so
        // the missing password is known and asked for.
        mock.setCallerPrivileged(true);
        store.writeValue(RegRoot::LocalMachine, kMachineKey, QStringLiteral("Log filename"),
                         RegValue::fromString(dir.filePath(QStringLiteral("access.txt"))));
        settings.WriteText(kSettingsKey, QStringLiteral("Skip intro"), QStringLiteral("true"));
        settings.WriteText(kSettingsKey, QStringLiteral("Dialdart Using name"), kProfile);
        NetworkManagerOptions options;
        options.sysClassNet = dir.filePath(QStringLiteral("sys"));
        ras = std::make_unique<NetworkManagerRasApi>(mock.connection(), settings, options);
        module = std::make_unique<DialModule>(shell);
        core = std::make_unique<MonitorCore>(moduleRunEnvironment(store, formats, clock, view, *ras,
                                                                  chime, control, {module.get()}));
        core->FormCreate();
    }

    // One second: what NetworkManager sent arrives, then Timer1 ticks.
    void second() {
        clock.advance(1);
        mock.settle(*ras);
        core->MinTimer();
    }
    QStringList events() const {
        QStringList out;
        for (const RecordingView::Row& row : view.rows)
            out << QStringLiteral("%1\t%2").arg(int(row.kind)).arg(row.text);
        return out;
    }
    QString activePath() {
        const QStringList paths = Nm::objectPaths(
            mock.property(Nm::kPath, Nm::kManagerIface, QStringLiteral("ActiveConnections")));
        return paths.isEmpty() ? QString() : paths.constLast();
    }

    NmMock mock;
    QTemporaryDir dir;
    QString modem;
    QString profile;
    MemoryRegistryStore store;
    Settings settings{store};
    ManualClock clock{QDateTime(QDate(2024, 3, 15), QTime(21, 0, 0))};
    FormatSettings formats = TestFormats::enUS();
    RecordingView view;
    RecordingShell shell;
    VirtualChime chime{clock};
    TerminateFlag control;
    std::unique_ptr<NetworkManagerRasApi> ras;
    std::unique_ptr<DialModule> module;
    std::unique_ptr<MonitorCore> core;
};

TEST_F(DialNetworkManagerTest, DialdartDialsTheProfileTimesItAndDisconnectEndsItWithOneLogLine) {
    EXPECT_EQ(view.items.value(QStringLiteral("Connect2")), QStringList{kProfile});

    // No password is stored with the profile: the form asks for one, and the
    // user types another user name as well.
    view.promptValues << QStringList{QStringLiteral("bea"), QStringLiteral("s3cret")};
    ASSERT_TRUE(core->click(QStringLiteral("Dialdart1")));
    ASSERT_EQ(view.prompts.size(), 1);
    EXPECT_EQ(view.prompts[0].caption, kProfile);
    EXPECT_EQ(view.prompts[0].initial.value(0), QStringLiteral("anna"));
    mock.settle(*ras);
    const QString active = activePath();
    ASSERT_FALSE(active.isEmpty()) << events().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(mock.activationCredentials(active),
              std::make_pair(QStringLiteral("bea"), QStringLiteral("s3cret")));

    for (uint state : kDeviceStatesUp) {
        mock.setDeviceState(modem, state, 0);
        second();
    }
    mock.setActiveState(active, kActiveActivated, 0);
    mock.setStatistics(modem, 64 * 1024, 512 * 1024);
    for (int i = 0; i < 70; ++i)
        second();
    ASSERT_TRUE(core->session().Online) << events().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(events().contains(QStringLiteral("2\tConnected to ") + kProfile));
    EXPECT_TRUE(view.lines[1].startsWith(QStringLiteral("This connection: 00:01:1")))
        << view.lines[1].toStdString();

    ASSERT_TRUE(core->click(QStringLiteral("Disconnect1")));
    const auto deactivations = mock.callsOf(Nm::kPath, QStringLiteral("DeactivateConnection"));
    ASSERT_EQ(deactivations.size(), 1);
    EXPECT_EQ(deactivations[0].value(0).toString(), active);
    second();
    EXPECT_FALSE(core->session().Online);
    const QStringList seen = events();
    EXPECT_EQ(seen.filter(QStringLiteral("Connection aborted by user")).size(), 1);
    EXPECT_EQ(seen.last(), QStringLiteral("1\tDisconnected, this connection: 0:02 (total: 0:02)"));
    EXPECT_TRUE(seen.filter(QRegularExpression(QStringLiteral("^[45]\t"))).isEmpty())
        << seen.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(view.enabled.value(QStringLiteral("Dialdart1")), true);

    const QList<QByteArray> log =
        LogFile::splitLines(LogFile::readAll(dir.filePath(QStringLiteral("access.txt"))));
    ASSERT_EQ(log.size(), 1);
    // Started at 21:00:05, two minutes as counted for totals, the rates of the
    // counters the modem's statistics gave.
    EXPECT_TRUE(log[0].contains(";9:00:05 PM;2;")) << log[0].toStdString();
    EXPECT_TRUE(log[0].endsWith(";0.90;7.21;" + kProfile.toUtf8())) << log[0].toStdString();
    EXPECT_TRUE(mock.callsOf(profile, QStringLiteral("Update")).isEmpty())
        << "the typed password is never saved in the profile";
    EXPECT_TRUE(mock.storedPassword(profile).isEmpty());
}

} // namespace
