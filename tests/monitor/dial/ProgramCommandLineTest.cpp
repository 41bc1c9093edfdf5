// A stored command line read as a program and its arguments.

#include "ProgramCommandLine.h"
#include "DosPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProgramCommandLineTest : public ::testing::Test {
protected:
    ProgramCall parse(const QString& value) const {
        return ProgramCommandLine::parse(value, paths);
    }

    QTemporaryDir drive;
    DosPathMapper paths{{{QLatin1Char('C'), drive.path()}}};
};

TEST_F(ProgramCommandLineTest, QuotesGroupWordsAndArgumentsStayAsWritten) {
    using W = QStringList;
    EXPECT_EQ(ProgramCommandLine::words(QStringLiteral("  a  b\tc ")), (W{"a", "b", "c"}));
    EXPECT_EQ(ProgramCommandLine::words(QStringLiteral("\"a b\" c\"d e\"f")), (W{"a b", "cd ef"}));
    EXPECT_EQ(ProgramCommandLine::words(QStringLiteral("x \"\" y")), (W{"x", "", "y"}));
    EXPECT_EQ(ProgramCommandLine::words(QStringLiteral("x \"open to the end")),
              (W{"x", "open to the end"}));
    EXPECT_EQ(ProgramCommandLine::words(QStringLiteral("a\\b c:\\d")), (W{"a\\b", "c:\\d"}));

    const ProgramCall call = parse(QStringLiteral(" \"C:\\My Apps\\get mail\" --to c:\\inbox "));
    EXPECT_EQ(call.program, drive.path() + QStringLiteral("/My Apps/get mail"));
    EXPECT_EQ(call.arguments, (W{"--to", "c:\\inbox"}));
    const ProgramCall named = parse(QStringLiteral("thunderbird -mail"));
    EXPECT_EQ(named.program, QStringLiteral("thunderbird"));
    EXPECT_EQ(named.arguments, W{"-mail"});
    EXPECT_TRUE(parse(QStringLiteral("   ")).program.isEmpty());
    EXPECT_TRUE(parse(QStringLiteral("\"\"")).program.isEmpty());
}

TEST_F(ProgramCommandLineTest, ExistingPathWithSpacesIsOneProgramWithoutQuotes) {
    ASSERT_TRUE(QDir(drive.path()).mkpath(QStringLiteral("Program Files/Mail")));
    QFile program(drive.filePath(QStringLiteral("Program Files/Mail/mail client")));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();

    const ProgramCall whole = parse(QStringLiteral("C:\\Program Files\\Mail\\mail client"));
    EXPECT_EQ(whole.program, drive.filePath(QStringLiteral("Program Files/Mail/mail client")));
    EXPECT_TRUE(whole.arguments.isEmpty());
    // With arguments the path must be quoted; unquoted it splits at the spaces.
    const ProgramCall split = parse(QStringLiteral("C:\\Program Files\\Mail\\mail client -x"));
    EXPECT_EQ(split.program, drive.filePath(QStringLiteral("Program")));
    EXPECT_EQ(split.arguments, (QStringList{"Files\\Mail\\mail", "client", "-x"}));
}

} // namespace
