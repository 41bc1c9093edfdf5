// PostEvent's texts, the state texts, the command line and the log append.

#include "CommandLine.h"
#include "ConnectionLogAppender.h"
#include "CoreFixture.h"
#include "DialStateText.h"
#include "DosPath.h"
#include "EventReporter.h"
#include "LogFile.h"
#include "RasConstants.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

class PostEventTest : public CoreFixture {
protected:
    PostEventTest() : events(view, clock, formats) {}
    EventReporter events;
};

TEST_F(PostEventTest, LongTextIsCutOnTheStatusLineOnlyAndTheHintAt63) {
    const QString text(70, QLatin1Char('x'));
    events.PostEvent(text.left(49), EventKind::Information);
    EXPECT_EQ(view.lines[1], text.left(48) + QStringLiteral("..."));
    EXPECT_EQ(view.rows.last().text, text.left(49));
    events.PostEvent(text.left(48), EventKind::Information);
    EXPECT_EQ(view.lines[1], text.left(48));
    events.PostEvent(text, EventKind::Information);
    EXPECT_EQ(view.trayHint, text.left(63));
    EXPECT_EQ(view.rows.last().time, QStringLiteral("9:59:00 PM"));
}

TEST_F(PostEventTest, EmptyTextChangesOnlyThePictures) {
    events.PostEvent(QStringLiteral("Before"), EventKind::Information);
    events.PostEvent(QString(), EventKind::Warning);
    EXPECT_EQ(view.rows.size(), 1);
    EXPECT_EQ(view.lines[1], QStringLiteral("Before"));
    EXPECT_EQ(view.trayHint, QStringLiteral("Before"));
    EXPECT_EQ(view.pictures.last(), EventKind::Warning);
}

TEST_F(PostEventTest, StateTextsFollowTheLanguageExceptTheFixedOnes) {
    EXPECT_EQ(DialStateText(RasState::Connected, 0, intl, ras), QStringLiteral("Connected"));
    EXPECT_EQ(DialStateText(RasState::AuthAck, 0, intl, ras),
              QStringLiteral("Authentication: acknowledge"));
    EXPECT_EQ(DialStateText(12345, 0, intl, ras), QString());
    EXPECT_EQ(DialStateText(RasState::Connected, 676, intl, ras), ras.errorString(676));
    settings.WriteText(kSettingsKey, QStringLiteral("Language"), QStringLiteral("5"));
    EXPECT_EQ(DialStateText(RasState::Connected, 0, intl, ras), intl.IntlStr(8090));
    EXPECT_NE(intl.IntlStr(8090), QStringLiteral("Connected"));
    EXPECT_EQ(DialStateText(RasState::AuthAck, 0, intl, ras),
              QStringLiteral("Authentication: acknowledge"));
}

TEST(CommandLineTest, SwitchesCountOnlyAsWholeArguments) {
    const CommandLine paths = CommandLine::parse(
        {QStringLiteral("/cdrom/Install/x"), QStringLiteral("/home/Carl/Users")});
    EXPECT_FALSE(paths.dialAndExit);
    EXPECT_FALSE(paths.install);
    const CommandLine dial = CommandLine::parse({QStringLiteral("/C"), QStringLiteral("/U")});
    EXPECT_TRUE(dial.dialAndExit);
    EXPECT_TRUE(dial.explainSecondStart);
    EXPECT_TRUE(CommandLine::parse({QStringLiteral("/c")}).dialAndExit);
    EXPECT_TRUE(CommandLine::parse({QStringLiteral("/I")}).install);
    EXPECT_FALSE(CommandLine::parse({QStringLiteral("/i")}).install);
}

TEST(CommandLineTest, OptionsNeedTheirValuesAndUnknownOnesAreRefused) {
    const CommandLine sim =
        CommandLine::parse({QStringLiteral("--headless"), QStringLiteral("--ras=sim:a b.scn")});
    EXPECT_TRUE(sim.headless);
    EXPECT_EQ(sim.connectionSource, QStringLiteral("sim:a b.scn"));
    EXPECT_THROW(CommandLine::parse({QStringLiteral("--ras")}), CommandLineError);
    EXPECT_THROW(CommandLine::parse({QStringLiteral("--fast")}), CommandLineError);
}

TEST(CommandLineTest, StatusOptionsGoTogetherAndHelpWinsOverMistakes) {
    const CommandLine status = CommandLine::parse({"--status", "--json", "--follow", "/U"});
    EXPECT_TRUE(status.status && status.json && status.follow && status.explainSecondStart);
    EXPECT_THROW(CommandLine::parse({"--json"}), CommandLineError);
    EXPECT_THROW(CommandLine::parse({"--follow", "--headless"}), CommandLineError);
    EXPECT_THROW(CommandLine::parse({"--status", "--headless"}), CommandLineError);
    EXPECT_TRUE(CommandLine::parse({"--json", "-h"}).help);
    EXPECT_TRUE(CommandLine::parse({"-v", "--follow"}).version);
    // Single-dash words and plain words are ignored as they always were; a
    // value goes with its option whatever it looks like.
    const CommandLine odd = CommandLine::parse({"-x", "notes.txt", "--registry", "--odd.sqlite"});
    EXPECT_EQ(odd.registryFile, "--odd.sqlite");
    EXPECT_FALSE(odd.help || odd.status);
    try {
        CommandLine::parse({"--bogus=1"});
        ADD_FAILURE() << "an unknown option was accepted";
    } catch (const CommandLineError& e) {
        EXPECT_STREQ(e.what(), "unknown option --bogus");
    }
}

class AppendLogLineTest : public CoreFixture {
protected:
    AppendLogLineTest() : events(view, clock, formats), log(store, intl, events) {}
    EventReporter events;
    ConnectionLogAppender log;
    QTemporaryDir dir;
};

TEST_F(AppendLogLineTest, FirstLineCreatesTheFile) {
    const QString path = dir.path() + QStringLiteral("/access.txt");
    settings.WriteText(kSettingsKey, QStringLiteral("Log Filename"), path);
    log.AppendLogLine(QStringLiteral("anna;3/15/24;9:00:00 PM;7;1.25;0.53;2.71;My;provider"));
    EXPECT_EQ(LogFile::readAll(path),
              QByteArray("anna;3/15/24;9:00:00 PM;7;1.25;0.53;2.71;My;provider\r\n"));
    EXPECT_TRUE(view.rows.isEmpty());
}

TEST_F(AppendLogLineTest, FolderThatDoesNotExistIsAnErrorEventWithPathAndCode) {
    const QString path = dir.path() + QStringLiteral("/missing/access.txt");
    settings.WriteText(kSettingsKey, QStringLiteral("Log Filename"), path);
    log.AppendLogLine(QStringLiteral("line"));
    ASSERT_EQ(view.rows.size(), 1);
    EXPECT_EQ(view.rows[0].text, QStringLiteral("Error opening log file ") + path + "(2)");
    EXPECT_EQ(view.rows[0].kind, EventKind::Error);
}

TEST_F(AppendLogLineTest, MachineValueWinsAndDosPathsAreMapped) {
    store.writeValue(RegRoot::CurrentUser, kDrivesKey, QStringLiteral("D"),
                     RegValue::fromString(dir.path()));
    settings.WriteText(kSettingsKey, QStringLiteral("Log Filename"), QStringLiteral("c:\\u.txt"));
    setMachineValue(QStringLiteral("Log Filename"), QStringLiteral("d:\\logs\\m.txt"));
    QDir(dir.path()).mkdir(QStringLiteral("logs"));
    log.AppendLogLine(QStringLiteral("line"));
    EXPECT_EQ(LogFile::readAll(dir.path() + QStringLiteral("/logs/m.txt")), QByteArray("line\r\n"));
    setMachineValue(QStringLiteral("Log Filename"), QString());
    EXPECT_EQ(log.storedLogFileName(), QStringLiteral("c:\\u.txt"));
}

} // namespace
