// A new user's first start after installation: "/I" on a fresh account puts
// the monitor into the desktop's application menu, and a second "/I" start
// writes the same entry again without complaint.

#include "DesktopEntryCheck.h"
#include "HeadlessRun.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(FirstStart, InstallStartOnAFreshAccountPutsTheMonitorInTheMenu) {
    QTemporaryDir account;
    ASSERT_TRUE(account.isValid());
    const QString home = account.path() + QStringLiteral("/home");
    QDir().mkpath(home);
    QProcessEnvironment env = HeadlessRun::environment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.remove(QStringLiteral("TOLLWATCH_REGISTRY"));
    const QString scenario = account.path() + QStringLiteral("/first.scn");
    QFile scn(scenario);
    ASSERT_TRUE(scn.open(QIODevice::WriteOnly));
    scn.write("clock 2024-03-15 10:00:00\nat +2s exit\n");
    scn.close();

    for (int run = 0; run < 2; ++run) {
        const HeadlessResult result = HeadlessRun::run(
            {QStringLiteral("/I"), QStringLiteral("--ras"), QStringLiteral("sim:") + scenario},
            env);
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        // "/I" also brings up the Monitor Wizard (its pages are boxes headless);
        // no other box: no earlier version to remove, no failed menu entry.
        const QStringList boxes =
            result.of(QStringLiteral("box"))
                .filter(QRegularExpression(QStringLiteral("^(?!Monitor Wizard\t)")));
        EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
    }
    const QString entry = home + QStringLiteral("/.local/share/applications/Tollwatch.desktop");
    const auto keys = DesktopEntryCheck::keys(entry);
    EXPECT_EQ(keys.value("Exec"), HeadlessRun::program());
    EXPECT_EQ(keys.value("Type"), QStringLiteral("Application"));
    // The store of a fresh account lies in its own config folder.
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/.config/varnholt/registry.sqlite")));
    if (!DesktopEntryCheck::available())
        GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    EXPECT_EQ(DesktopEntryCheck::validate(entry).toStdString(), "");
}

} // namespace
