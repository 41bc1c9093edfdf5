// "Save report" and "Print report": the proposed name and folder, the save
// dialog, and how failures to write or to print are shown.

#include "ReportFiles.h"
#include "CompanionTestSupport.h"
#include "DosPath.h"
#include "MemoryRegistryStore.h"
#include "TestFormats.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using CompanionTest::readFile;

namespace {
class FakePrinter : public ReportPrinter {
public:
    bool print(const QString& path) override {
        printed.append(path);
        return works;
    }
    bool works = true;
    QStringList printed;
};

class ReportFilesTest : public ::testing::Test {
protected:
    ReportFilesTest() {
        settings.WriteText(kDrivesKey, "C", dir.path());
        settings.WriteText(kCompanionKey, "Report Path", "c:\\reports\\");
        QDir(dir.path()).mkdir("reports");
    }
    ReportFiles files(const FormatSettings& fmt = TestFormats::svSE()) {
        return ReportFiles(settings, strings, fmt, clock, observer);
    }

    QTemporaryDir dir;
    MemoryRegistryStore store;
    Settings settings{store};
    CompanionStrings strings{settings};
    ManualClock clock{CompanionTest::today()};
    RecordingObserver observer;
    const QStringList report = {"Report compiled", u8"Åsa: 1 hours"};
    const QByteArray written = QString(u8"Report compiled\r\nÅsa: 1 hours\r\n").toUtf8();
};
} // namespace

TEST_F(ReportFilesTest, SavesUnderTheProposedNameInTheMappedFolder) {
    EXPECT_EQ(files().proposedName(), "Usage report (2001-03-20).txt");
    EXPECT_EQ(files(TestFormats::enUS()).proposedName(), "Usage report (3-20-01).txt");
    EXPECT_EQ(files().reportFolder(), dir.filePath("reports/"));
    ASSERT_TRUE(files(TestFormats::enUS()).SaveReport(report));
    EXPECT_EQ(readFile(dir.filePath("reports/Usage report (3-20-01).txt")), written);
    EXPECT_TRUE(observer.saveRequests.isEmpty());
    EXPECT_TRUE(observer.messages.isEmpty());
}

TEST_F(ReportFilesTest, AsksForTheNameWhenToldTo) {
    settings.WriteText(kCompanionKey, "Ask for reportname", "yes");
    EXPECT_FALSE(files().SaveReport(report));
    ASSERT_EQ(observer.saveRequests.size(), 1);
    const SaveDialogRequest& request = observer.saveRequests[0];
    EXPECT_EQ(request.title, "Save master log");
    EXPECT_EQ(request.folder, dir.filePath("reports/"));
    EXPECT_EQ(request.fileName, "Usage report (2001-03-20).txt");
    EXPECT_EQ(QDir(dir.filePath("reports")).entryList(QDir::Files), QStringList());

    observer.chosenFile = dir.filePath("mine.txt");
    EXPECT_TRUE(files().SaveReport(report));
    EXPECT_EQ(readFile(dir.filePath("mine.txt")), written);
}

TEST_F(ReportFilesTest, SaysWhyAReportCannotBeSaved) {
    settings.WriteText(kCompanionKey, "Report Path", "c:\\gone");
    EXPECT_FALSE(files().SaveReport(report));
    ASSERT_EQ(observer.messages.size(), 1);
    EXPECT_EQ(observer.messages[0].caption, "Tollwatch Companion");
    EXPECT_TRUE(observer.messages[0].text.startsWith("Cannot write " + dir.filePath("gone/")))
        << observer.messages[0].text.toStdString();
}

TEST_F(ReportFilesTest, PrintsTheWrittenFileAndWarnsWhenThatFails) {
    FakePrinter printer;
    EXPECT_TRUE(files().PrintReport(report, printer));
    const QString path = dir.filePath("reports/Usage report (2001-03-20).txt");
    EXPECT_EQ(printer.printed, QStringList({path}));
    EXPECT_EQ(readFile(path), written);

    printer.works = false;
    EXPECT_FALSE(files().PrintReport(report, printer));
    settings.WriteText(kCompanionKey, "Report Path", "c:\\gone");
    EXPECT_FALSE(files().PrintReport(report, printer));
    EXPECT_EQ(printer.printed.size(), 2); // nothing to print when writing failed
    ASSERT_EQ(observer.messages.size(), 2);
    EXPECT_EQ(observer.messages[0].text,
              "Unable to start the text print service. You may have to manually print the "
              "report stored in c:\\reports\\");
    EXPECT_TRUE(observer.messages[1].text.endsWith("stored in c:\\gone"));
}

TEST_F(ReportFilesTest, LpPrinterStartsTheProgramWithTheFileAndReadsItsStatus) {
    const QString lp = dir.filePath("lp");
    const QString args = dir.filePath("args");
    CompanionTest::writeFile(
        lp, QString("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + args + "'\nexit \"$FAKE_LP_STATUS\"\n")
                .toUtf8());
    QFile::setPermissions(lp, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("FAKE_LP_STATUS", "0");
    EXPECT_TRUE(LpPrinter(lp).print(dir.filePath("a report; rm -rf x.txt")));
    EXPECT_EQ(readFile(args), dir.filePath("a report; rm -rf x.txt").toUtf8() + "\n");
    qputenv("FAKE_LP_STATUS", "1");
    EXPECT_FALSE(LpPrinter(lp).print(dir.filePath("r.txt")));
    EXPECT_FALSE(LpPrinter(dir.filePath("no-such-lp")).print(dir.filePath("r.txt")));
}
