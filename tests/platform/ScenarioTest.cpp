// Scenario files: every directive, the time forms, quoting and comments, and
// the message a malformed line gives.

#include "Scenario.h"

#include "SourceFile.h"
#include "TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using Kind = TimedDirective::Kind;

QDateTime local(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

Scenario parse(const char* text) {
    return Scenario::parse(QString::fromUtf8(text), QStringLiteral("demo.scenario"));
}

TEST(ScenarioTest, ReadsEveryDirective) {
    const Scenario s = parse(R"(# a whole-line comment
clock 2024-01-31 08:00:00
entry "Tele # Net" user "anna" password "se\"cr\\et"   # trailing comment
entry "Plain"
dial "Plain" 0 1 2 error 678
dial "Tele # Net" 0 8192
answer "anna" "secret" ok cancel
answer yes "" no
at 08:00:01 "Tele # Net" state 3 error 600
at +1 "Tele # Net" error 0
at +1 "Other" gone
at +1 bytes 0 18446744073709551615
at +1 enum-error 711
at +1 click Dialdart1
at +1 click "Any name"
at +1 exit
at +1 crash
at +1 await-status
)");
    ASSERT_TRUE(s.clockStart);
    EXPECT_EQ(*s.clockStart, local("2024-01-31 08:00:00"));
    ASSERT_EQ(s.entries.size(), 2);
    EXPECT_EQ(s.entries[0].name, QStringLiteral("Tele # Net"));
    EXPECT_EQ(s.entries[0].password, QStringLiteral("se\"cr\\et"));
    EXPECT_TRUE(s.entries[0].passwordStored);
    EXPECT_FALSE(s.entries[1].passwordStored);
    EXPECT_EQ(s.dialScripts.value(QStringLiteral("Plain")).states, QList<int>({0, 1, 2}));
    EXPECT_EQ(s.dialScripts.value(QStringLiteral("Plain")).error, 678);
    EXPECT_EQ(s.dialScripts.value(QStringLiteral("Tele # Net")).error, 0);

    ASSERT_EQ(s.answers.size(), 4);
    EXPECT_EQ(s.answers[0].texts, QStringList({"anna", "secret"}));
    EXPECT_EQ(s.answers[0].button, ScenarioAnswer::Button::Ok);
    EXPECT_EQ(s.answers[1].button, ScenarioAnswer::Button::Cancel);
    EXPECT_EQ(s.answers[2].button, ScenarioAnswer::Button::Yes);
    EXPECT_EQ(s.answers[3].texts, QStringList({""}));
    EXPECT_EQ(s.answers[3].button, ScenarioAnswer::Button::No);

    const QList<Kind> kinds{Kind::ConnectionState, Kind::ConnectionError, Kind::Gone,  Kind::Bytes,
                            Kind::EnumError,       Kind::Click,           Kind::Click, Kind::Exit,
                            Kind::Crash,           Kind::AwaitStatus};
    ASSERT_EQ(s.directives.size(), kinds.size());
    for (int i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(s.directives[i].kind, kinds[i]) << i;
        EXPECT_EQ(s.directives[i].at, local("2024-01-31 08:00:01").addSecs(i)) << i;
        EXPECT_EQ(s.directives[i].line, 9 + i) << i;
        EXPECT_EQ(s.directives[i].concernsConnectionSource(), i < 5) << i;
    }
    EXPECT_EQ(s.directives[0].state, 3);
    EXPECT_EQ(s.directives[0].error, 600);
    EXPECT_EQ(s.directives[2].entryName, QStringLiteral("Other"));
    EXPECT_EQ(s.directives[3].received, 18446744073709551615ull);
    EXPECT_EQ(s.directives[4].error, 711);
    EXPECT_EQ(s.directives[5].command, QStringLiteral("Dialdart1"));
    EXPECT_EQ(s.directives[6].command, QStringLiteral("Any name"));
}

TEST(ScenarioTest, TimesOfDayMoveForwardAcrossMidnight) {
    const Scenario s = parse("clock 2024-12-31 23:59:50\r\n"
                             "at +5 exit\r\n"
                             "at 23:59:55 exit\r\n"
                             "at 00:00:05 exit\r\n"
                             "at 2025-01-01 00:01:00 exit\r\n"
                             "at +2m exit\r\nat +1h exit\r\nat +30s exit\r\nat 3:00:00 exit\r\n");
    const QList<QDateTime> expected{local("2024-12-31 23:59:55"), local("2024-12-31 23:59:55"),
                                    local("2025-01-01 00:00:05"), local("2025-01-01 00:01:00"),
                                    local("2025-01-01 00:03:00"), local("2025-01-01 01:03:00"),
                                    local("2025-01-01 01:03:30"), local("2025-01-01 03:00:00")};
    ASSERT_EQ(s.directives.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(s.directives[i].at, expected[i]) << i;
}

TEST(ScenarioTest, WithoutAClockTimesCountFromTheStart) {
    const Scenario s = parse("at 00:00:10 exit\nat +1m crash\n");
    EXPECT_FALSE(s.clockStart);
    const QDateTime start = local("2024-06-01 12:00:00");
    const Scenario run = s.rebased(start);
    EXPECT_EQ(run.directives[0].at, start.addSecs(10));
    EXPECT_EQ(run.directives[1].at, start.addSecs(70));
    EXPECT_EQ(run.origin(), start);
}

TEST(ScenarioTest, MalformedLinesNameFileLineAndWhatWasExpected) {
    const struct {
        const char* text;
        int line;
        const char* expected;
    } cases[] = {
        {"entry \"A\"\nfoo bar", 2, "expected a directive"},
        {"entry \"A", 1, "closing quote"},
        {"entry \"A\\n\"", 1, "after a backslash"},
        {"entry A", 1, "an entry name in quotes, found 'A'"},
        {"entry \"A\"\nentry \"A\"", 2, "already listed"},
        {"entry \"A\" pin \"1\"", 1, "user \"U\", password \"P\""},
        {"dial \"B\" 0", 1, "entry listed above"},
        {"entry \"A\"\ndial \"A\"", 2, "at least one state"},
        {"entry \"A\"\ndial \"A\" 0 x", 2, "a state number or error E, found 'x'"},
        {"answer \"anna\"", 1, "ok, cancel, yes or no after the texts"},
        {"answer maybe", 1, "ok, cancel, yes, no"},
        {"at soon exit", 1, "expected a time"},
        {"at 25:00:00 exit", 1, "valid time of day"},
        {"at +5x exit", 1, "expected a time"},
        {"at 2024-01-01 10:00:00 exit", 1, "clock line"},
        {"clock 2024-01-01 10:00:00\nat 2023-12-31 10:00:00 exit", 2, "at or after"},
        {"clock 2024-02-30 10:00:00", 1, "a date"},
        {"at +1 exit\nclock 2024-01-01 10:00:00", 2, "before the first"},
        {"at +1 \"A\" state", 1, "a state number, found the end of the line"},
        {"at +1 \"A\" up", 1, "state N, error E or gone"},
        {"at +1 bytes 1 18446744073709551616", 1, "byte count from 0 to 18446744073709551615"},
        {"at +1 bytes 5 5\nat +1 bytes 4 9", 2, "never go down"},
        {"at +1 enum-error -3", 1, "an error code"},
        {"at +1 exit now", 1, "the end of the line, found 'now'"},
        {"at +1 click", 1, "a command name"},
        {"at +1 \"A\"gone", 1, "space after the closing quote"},
        {"entry \"A\"\nat +1 await-status", 2, "a clock line before await-status"},
    };
    for (const auto& c : cases) {
        try {
            parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ScenarioError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text;
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.expected)))
                << c.text << " gave " << e.what();
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("demo.scenario:%1: ").arg(c.line)))
                << e.what();
        }
    }
}

TEST(ScenarioTest, LoadsAFileAndReportsOneThatCannotBeRead) {
    const QString path = TestEnvironment::folder() + QStringLiteral("/bom.scenario");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF"
               "entry \"K\xC3\xB6"
               "ln\"\n");
    file.close();
    EXPECT_EQ(Scenario::load(path).entries.value(0).name, QStringLiteral("K\u00f6ln"));

    const QString missing = TestEnvironment::folder() + QStringLiteral("/none.scenario");
    try {
        Scenario::load(missing);
        ADD_FAILURE() << "a missing file was accepted";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.line(), 0);
        EXPECT_TRUE(e.text().startsWith(missing + QStringLiteral(": "))) << e.what();
    }
}

TEST(ScenarioTest, DocumentedExampleParses) {
    QFile doc(sourceFile(QStringLiteral("docs/scenario-format.md")));
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(doc.readAll());
    const qsizetype start =
        text.indexOf(QStringLiteral("```\n"), text.indexOf(QStringLiteral("## Example")));
    ASSERT_GT(start, 0);
    const qsizetype end = text.indexOf(QStringLiteral("```"), start + 4);
    const Scenario s = Scenario::parse(text.mid(start + 4, end - start - 4), doc.fileName());
    EXPECT_EQ(s.entries.size(), 2);
    ASSERT_EQ(s.directives.size(), 4);
    EXPECT_EQ(s.directives[2].at, local("2024-03-15 22:00:46"));
}

} // namespace
