// The Options dialog: the file list of slots 1 to 150, the rows' details,
// "&Apply" rewriting the slots without gaps, the report and purge settings,
// the dialog's language.

#include "CompanionSettings.h"
#include "OptionsDialogLogic.h"
#include "OptionsStrings.h"
#include "TestFormats.h"
#include "TfrmSettings.h"
#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

class OptionsTest : public ::testing::Test {
protected:
    OptionsTest() : settings(rig.store), strings(settings) {
        for (const char* name : {"one.txt", "Two.LOG", "three.txt"})
            WindowTest::writeLog(path(name), {"x"});
    }
    QString path(const char* name) const { return rig.dir.filePath(QString::fromLatin1(name)); }
    QString slot(int n) const {
        return rig.read(RegRoot::CurrentUser, kLogFilesKey, QStringLiteral("Log file %1").arg(n));
    }
    QString companionValue(const char* name) const {
        return rig.read(RegRoot::CurrentUser, kCompanionKey, QString::fromLatin1(name));
    }
    std::unique_ptr<TfrmSettings> dialog() {
        return std::make_unique<TfrmSettings>(settings, strings, TestFormats::svSE(), rig.dialogs);
    }

    WindowTest::Rig rig;
    Settings settings;
    CompanionStrings strings;
};

TEST_F(OptionsTest, ApplyWritesTheListedFilesIntoSlotsWithoutGaps) {
    rig.setSlot(1, path("one.txt"));
    rig.setSlot(3, path("Two.LOG"));
    rig.setSlot(150, path("three.txt"));
    rig.setSlot(151, path("ignored.txt"));
    auto d = dialog();
    ASSERT_EQ(d->rows().size(), 3u);
    EXPECT_FALSE(d->applyButton()->isEnabled());
    d->ApplyClick();
    EXPECT_EQ(slot(1), path("one.txt"));
    EXPECT_EQ(slot(2), path("Two.LOG")); // as chosen, letter case kept
    EXPECT_EQ(slot(3), path("three.txt"));
    EXPECT_EQ(slot(4), QString());
    EXPECT_EQ(slot(151), QString()); // the whole subkey was replaced
}

TEST_F(OptionsTest, RowsShowNameFolderDateAndSizeOrUnknown) {
    WindowTest::writeLog(path("one.txt"), {"abc", "de"}); // 3 + 2 + 2 CR LF = 9 bytes
    rig.setSlot(1, path("one.txt"));
    rig.setSlot(2, path("missing.txt"));
    auto d = dialog();
    ASSERT_EQ(d->rows().size(), 2u);
    const LogFileRow& ok = d->rows()[0];
    EXPECT_EQ(ok.name, "one.txt");
    EXPECT_EQ(ok.location, QDir::toNativeSeparators(rig.dir.path()) + QDir::separator());
    EXPECT_TRUE(ok.location.endsWith('/'));
    EXPECT_EQ(ok.size, "9");
    const QDateTime written = QFileInfo(path("one.txt")).lastModified();
    EXPECT_EQ(ok.lastUpdated, written.toString("yyyy-MM-dd HH:mm:ss"));
    const LogFileRow& missing = d->rows()[1];
    EXPECT_EQ(missing.name, "missing.txt");
    EXPECT_EQ(missing.lastUpdated, "unknown");
    EXPECT_EQ(missing.size, "unknown");
    // The row of a file that cannot be opened stays and is written back.
    d->ApplyClick();
    EXPECT_EQ(slot(2), path("missing.txt"));
}

TEST_F(OptionsTest, ADosPathShowsWhereTheFileIsAndIsKeptAsStored) {
    const OptionsDialogLogic logic(settings, DosPathMapper({{'C', rig.dir.path()}}),
                                   TestFormats::svSE());
    const LogFileRow row = logic.describe("c:\\one.txt");
    EXPECT_EQ(row.path, "c:\\one.txt");
    EXPECT_EQ(row.name, "one.txt");
    EXPECT_EQ(row.location, rig.dir.path() + "/");
    EXPECT_EQ(row.size, "3");
}

TEST_F(OptionsTest, AddAppendsARowAndRemembersItsFolderRemoveDeletesTheSelectedOne) {
    rig.setSlot(1, path("one.txt"));
    rig.dialogs.file = path("Two.LOG");
    auto d = dialog();
    d->AddClick();
    ASSERT_EQ(d->rows().size(), 2u);
    EXPECT_EQ(d->rows()[1].path, path("Two.LOG"));
    EXPECT_EQ(companionValue("Last Log Path"), rig.dir.path());
    // A new row is written by OK; only the "Reports" page enables "&Apply".
    EXPECT_FALSE(d->applyButton()->isEnabled());
    // The open dialog started in the default "c:\", the home folder.
    EXPECT_EQ(rig.dialogs.fileStarts, QStringList({QDir::homePath()}));
    d->AddClick();
    EXPECT_EQ(rig.dialogs.fileStarts.last(), rig.dir.path());

    d->RemoveClick(); // nothing selected: nothing happens
    EXPECT_EQ(d->rows().size(), 3u);
    d->LogList()->setCurrentIndex(d->LogList()->model()->index(0, 0));
    d->RemoveClick();
    ASSERT_EQ(d->rows().size(), 2u);
    EXPECT_FALSE(d->applyButton()->isEnabled());
    d->OkClick();
    EXPECT_EQ(slot(1), path("Two.LOG"));
    EXPECT_EQ(slot(2), path("Two.LOG"));
    EXPECT_EQ(slot(3), QString());
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

TEST_F(OptionsTest, ReportAndPurgeSettingsAreShownAndWritten) {
    settings.WriteText(kCompanionKey, "Report Path", "/srv/reports");
    settings.WriteText(kCompanionKey, "Purge after", "3");
    settings.WriteText(kCompanionKey, "Purge", "yes");
    auto d = dialog();
    EXPECT_EQ(d->Edit2()->text(), "/srv/reports");
    EXPECT_EQ(d->Edit1()->value(), 3);
    EXPECT_TRUE(d->purgeCheck()->isChecked());
    EXPECT_FALSE(d->askCheck()->isChecked());
    EXPECT_FALSE(d->applyButton()->isEnabled());

    d->askCheck()->click();
    EXPECT_TRUE(d->applyButton()->isEnabled());
    d->Edit1()->setValue(12);
    d->purgeCheck()->click();
    d->ApplyClick();
    EXPECT_FALSE(d->applyButton()->isEnabled());
    EXPECT_EQ(companionValue("Ask for reportname"), "true");
    EXPECT_EQ(companionValue("Purge"), "false");
    EXPECT_EQ(companionValue("Purge after"), "12");
}

// The box offers 1 to 12 and shows 12 for a stored 24; OK without touching
// it must not turn 24 (which purges nothing) into 12 (which purges a year).
TEST_F(OptionsTest, APurgeAgeTheUserDidNotTouchIsWrittenBackAsStored) {
    for (const char* stored : {"24", "0", "six"}) {
        settings.WriteText(kCompanionKey, "Purge after", stored);
        auto d = dialog();
        d->askCheck()->click();
        d->OkClick();
        EXPECT_EQ(companionValue("Purge after"), stored);
    }
    auto d = dialog();
    d->Edit1()->setValue(4);
    d->ApplyClick();
    EXPECT_EQ(companionValue("Purge after"), "4");
    d->Edit1()->setValue(5); // touched after an Apply too
    d->OkClick();
    EXPECT_EQ(companionValue("Purge after"), "5");
}

TEST_F(OptionsTest, ChangeStoresTheChosenFolderAtOnceAndCancelKeepsIt) {
    rig.dialogs.folder = "/srv/new reports";
    auto d = dialog();
    d->ChangeClick();
    EXPECT_EQ(d->Edit2()->text(), "/srv/new reports");
    EXPECT_EQ(companionValue("Report Path"), "/srv/new reports");
    EXPECT_EQ(rig.dialogs.folderTitles,
              QStringList({"Select the folder you would like to store reports in:"}));
    d->reject();
    EXPECT_EQ(companionValue("Report Path"), "/srv/new reports");
    EXPECT_EQ(companionValue("Purge"), QString()); // nothing else was written
}

TEST_F(OptionsTest, AFailedWriteKeepsTheDialogOpenAndSaysWhy) {
    rig.setSlot(1, path("one.txt"));
    auto d = dialog();
    rig.store.setFailWrites(true);
    d->OkClick();
    EXPECT_NE(d->result(), QDialog::Accepted);
    ASSERT_EQ(rig.dialogs.messages.size(), 1);
    EXPECT_EQ(rig.dialogs.messages[0].caption, "Tollwatch Companion");
    rig.store.setFailWrites(false);
    EXPECT_EQ(slot(1), path("one.txt"));
}

TEST_F(OptionsTest, TheDialogSpeaksTheMainLanguageUnlessItsOwnIsStored) {
    settings.WriteText(kSettingsKey, "Language", "9"); // the monitor: Danish
    OptionsStrings dialogStrings(settings, strings);
    EXPECT_EQ(dialogStrings.languageIndex(), 3);
    EXPECT_EQ(dialogStrings.IntlStr(4200), strings.IntlStr(4200));
    auto d = dialog();
    EXPECT_EQ(d->windowTitle(), strings.IntlStr(3030));

    settings.WriteText(kCompanionKey, "Language", "2"); // the dialog's own table
    EXPECT_EQ(dialogStrings.IntlStr(4010), "Loggfiler");
    settings.WriteText(kCompanionKey, "Language", "4");
    EXPECT_EQ(dialogStrings.IntlStr(4010), "Logfiler");
    settings.WriteText(kCompanionKey, "Language", "12");
    EXPECT_EQ(dialogStrings.IntlStr(4010), "Undefined IntlStr #4010");
    settings.WriteText(kCompanionKey, "Language", "5");
    EXPECT_EQ(dialogStrings.IntlStr(4010), "Log files");
    settings.WriteText(kCompanionKey, "Language", "Swedish");
    EXPECT_EQ(dialogStrings.languageIndex(), 0);
}

TEST_F(OptionsTest, CaptionsComeFromTheTable) {
    auto d = dialog();
    const auto* pages = d->findChild<QTabWidget*>();
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->tabText(0), "Reports");
    EXPECT_EQ(pages->tabText(1), "Log files");
    EXPECT_EQ(d->applyButton()->text(), "&Apply");
    EXPECT_EQ(d->LogList()->model()->headerData(3, Qt::Horizontal).toString(), "Size");
}

} // namespace
