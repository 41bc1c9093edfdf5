// Which connection source a run uses, and what is refused before anything runs.

#include "ConnectionSourceChoice.h"
#include "CommandLine.h"
#include "MemoryRegistryStore.h"
#include "RasApiFactory.h"
#include "Settings.h"

#include <gtest/gtest.h>

namespace {

ConnectionSourceChoice choose(const QStringList& args, const QString& stored = QString()) {
    MemoryRegistryStore store;
    Settings settings(store);
    if (!stored.isNull())
        settings.WriteText(kSettingsKey, kConnectionSourceValue, stored);
    return ConnectionSourceChoice::choose(CommandLine::parse(args), settings);
}

} // namespace

TEST(ConnectionSourceChoiceTest, CommandLineThenStoredValueThenAuto) {
    const auto sim =
        choose({QStringLiteral("--ras"), QStringLiteral("sim:a b.scn")}, QStringLiteral("ppp"));
    EXPECT_EQ(sim.source, QStringLiteral("sim:a b.scn"));
    EXPECT_EQ(sim.scenarioFile, QStringLiteral("a b.scn"));

    const auto stored = choose({}, QStringLiteral("networkmanager"));
    EXPECT_EQ(stored.source, QStringLiteral("networkmanager"));
    EXPECT_TRUE(stored.scenarioFile.isEmpty());

    EXPECT_EQ(choose({}).source, QStringLiteral("auto"));
    EXPECT_EQ(choose({}, QStringLiteral("")).source, QStringLiteral("auto"));
    EXPECT_EQ(choose({QStringLiteral("--ras=ppp")}).source, QStringLiteral("ppp"));
}

TEST(ConnectionSourceChoiceTest, UnknownSourcesAreRefusedWithTheirName) {
    try {
        choose({QStringLiteral("--ras"), QStringLiteral("modem")});
        FAIL() << "an unknown source was accepted";
    } catch (const CommandLineError& e) {
        EXPECT_NE(QString::fromUtf8(e.what()).indexOf(QStringLiteral("--ras modem")), -1);
    }
    EXPECT_THROW(choose({}, QStringLiteral("isdn")), CommandLineError);
    EXPECT_THROW(choose({QStringLiteral("--ras=sim:")}), CommandLineError);
}
