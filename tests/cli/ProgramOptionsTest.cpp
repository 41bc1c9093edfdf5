// --help, --version and mistakes of the three programs, run as processes:
// the texts go to the right stream with the right status, need no display,
// and a mistake points to --help.

#include "TestEnvironment.h"
#include "TollwatchVersion.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

// Without a display: a program that made its window's application object
// for --help would abort here.
Result run(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    process.setProcessEnvironment(env);
    process.start(TestEnvironment::binDir() + "/" + program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

const QStringList kPrograms = {"tollwatch", "companion", "tollreg"};

} // namespace

TEST(ProgramOptionsTest, EveryProgramAnswersHelpAndVersionWithoutADisplay) {
    for (const QString& program : kPrograms) {
        SCOPED_TRACE(program.toStdString());
        const Result help = run(program, {"--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith("Usage: " + program + " [options]"));
        EXPECT_TRUE(help.out.contains("  -v, --version"));
        EXPECT_TRUE(help.out.contains("  --registry <FILE>"));
        EXPECT_TRUE(help.out.contains("\nExit status: "));
        EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
        EXPECT_EQ(run(program, {"-h"}).out, help.out);
        const Result version = run(program, {"--version"});
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, program + " " TOLLWATCH_VERSION "\n");
        EXPECT_EQ(run(program, {"-v"}).out, version.out);
    }
}

TEST(ProgramOptionsTest, HelpAndVersionComeFirstWherePossible) {
    // The monitor and the companion read the whole line; tollreg takes them
    // in the place of a command.
    EXPECT_EQ(run("tollwatch", {"/I", "-x", "notes.txt", "--version"}).status, 0);
    EXPECT_EQ(run("tollwatch", {"--json", "--help"}).status, 0);
    EXPECT_EQ(run("companion", {"--report", "--bogus", "--help"}).status, 0);
    EXPECT_EQ(run("tollreg", {"--registry", "x.sqlite", "--version"}).status, 0);
}

TEST(ProgramOptionsTest, MistakesPointToHelpAndKeepTheirStatus) {
    struct Case {
        QString program;
        QStringList arguments;
        QString message;
    };
    const QList<Case> cases = {
        {"tollwatch", {"--bogus"}, "tollwatch: unknown option --bogus\n"},
        {"tollwatch", {"--registry"}, "tollwatch: Missing value after '--registry'.\n"},
        {"tollwatch", {"--follow"}, "tollwatch: --json and --follow go with --status\n"},
        {"companion", {"--report", "--bogus"}, "companion: unknown option: --bogus\n"},
        {"companion", {"--report", "--format", "pdf"}, "companion: unknown format: pdf"},
        {"tollreg", {"--bogus"}, "tollreg: unknown option --bogus\n"},
        {"tollreg", {"frob"}, "tollreg: unknown command frob\n"},
        {"tollreg", {"set", "HKCU\\Software"}, "tollreg: usage: tollreg set KEY NAME DATA"},
        {"tollreg", {}, "tollreg: a command is missing\n"},
    };
    for (const Case& c : cases) {
        const Result r = run(c.program, c.arguments);
        SCOPED_TRACE((c.program + " " + c.arguments.join(' ')).toStdString());
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith("Try '" + c.program + " --help' for more information.\n"));
    }
}
