// The monitor's shell feature in a run: the installation start with and
// without an earlier version, the Dialdart launcher and start with the
// session, the companion, help pages and the web commands.

#include "ShellModule.h"
#include "ApplicationControl.h"
#include "CoreFixture.h"
#include "DesktopEntryCheck.h"
#include "HelpPages.h"
#include "MonitorCore.h"
#include "RecordingShell.h"
#include "SessionAutostart.h"
#include "ShellFolders.h"
#include "ShellIntegration.h"
#include "TPBShellLink.h"
#include "TestEnvironment.h"
#include "VirtualRunner.h"
#include "WebPages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrlQuery>

namespace {

void writeFile(const QString& path, const QByteArray& data = "x", bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

class ShellModuleTest : public CoreFixture {
protected:
    void SetUp() override {
        for (const char* sub :
             {"/prog", "/data/applications", "/config/autostart", "/home/Desktop"})
            QDir(root + QLatin1String(sub)).removeRecursively();
        writeFile(program, "#!/bin/sh\n", true);
        writeFile(root + QStringLiteral("/prog/help/tollwatch-en.html"));
        writeFile(root + QStringLiteral("/prog/help/tollwatch-de.html"));
    }

    MonitorCore& core(bool install = false) {
        CommandLine cl;
        cl.install = install;
        m_core = std::make_unique<MonitorCore>(MonitorEnvironment{store,
                                                                  formats,
                                                                  clock,
                                                                  view,
                                                                  view,
                                                                  ras,
                                                                  chime,
                                                                  MonitorFeatures{},
                                                                  control,
                                                                  cl,
                                                                  nullptr,
                                                                  QString(),
                                                                  {&module}});
        return *m_core;
    }
    QString startMenuEntry() const {
        return root + QStringLiteral("/data/applications/Tollwatch.desktop");
    }
    QString runValue() const {
        const auto v = store.readValue(RegRoot::LocalMachine, kRunKey, QStringLiteral("Tollwatch"));
        return v ? v->text : QStringLiteral("<none>");
    }
    QUrl lastOpened() const { return shell.opened.isEmpty() ? QUrl() : shell.opened.last(); }
    void setLanguage(int index) {
        settings.WriteText(kSettingsKey, QStringLiteral("Language"), QString::number(index));
    }

    const QString root = TestEnvironment::folder();
    const QString program = root + QStringLiteral("/prog/tollwatch");
    RecordingShell shell;
    ShellModule module{{shell, nullptr, program, root + QStringLiteral("/prog/help")}};
    VirtualChime chime{clock};
    TerminateFlag control;
    std::unique_ptr<MonitorCore> m_core;
};

TEST_F(ShellModuleTest, InstallStartOnAFreshAccountMakesOnlyTheMenuEntry) {
    core(true).FormCreate();
    EXPECT_TRUE(view.boxes.isEmpty());
    const auto keys = DesktopEntryCheck::keys(startMenuEntry());
    EXPECT_EQ(keys.value("Exec"), program);
    EXPECT_EQ(keys.value("Name"), QStringLiteral("Tollwatch"));
    if (DesktopEntryCheck::available()) {
        EXPECT_EQ(DesktopEntryCheck::validate(startMenuEntry()).toStdString(), "");
    }
    // Without "/I" nothing is written.
    QFile::remove(startMenuEntry());
    core(false).FormCreate();
    EXPECT_FALSE(QFileInfo::exists(startMenuEntry()));
}

TEST_F(ShellModuleTest, InstallStartRemovesTheEarlierVersionAfterSayingSo) {
    store.writeValue(RegRoot::LocalMachine, kPreviousUninstallKey,
                     QStringLiteral("UninstallString"),
                     RegValue::fromString(QStringLiteral("C:\\WINDOWS\\UNINST.EXE -f")));
    // The Programs folder as the earlier version's store named it, with its
    // separator at the end.
    store.writeValue(RegRoot::CurrentUser, kShellFoldersKey, QStringLiteral("Programs"),
                     RegValue::fromString(QStringLiteral("C:\\Menu\\Programs\\")));
    const QString programs = QDir::homePath() + QStringLiteral("/Menu/Programs");
    writeFile(programs + QStringLiteral("/Farrowline.desktop"));
    writeFile(root + QStringLiteral("/config/autostart/Farrowline.desktop"));
    view.onBox = [&](const RecordingView::Box&) {
        EXPECT_TRUE(QFileInfo::exists(programs + QStringLiteral("/Farrowline.desktop")));
    };
    core(true).FormCreate();
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].text, intl.IntlStr(4100));
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Tollwatch"));
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Information);
    EXPECT_FALSE(store.keyExists(RegRoot::LocalMachine, kPreviousUninstallKey));
    EXPECT_FALSE(QFileInfo::exists(programs + QStringLiteral("/Farrowline.desktop")));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/config/autostart/Farrowline.desktop")));
    EXPECT_TRUE(QFileInfo::exists(programs + QStringLiteral("/Tollwatch.desktop")));
    // The folder's own separator is not doubled.
    EXPECT_EQ(ShellIntegration(store, intl, program).startMenuEntryFile(),
              programs + QStringLiteral("/Tollwatch.desktop"));
}

TEST_F(ShellModuleTest, AMenuEntryThatCannotBeWrittenIsReportedAndStartUpGoesOn) {
    writeFile(root + QStringLiteral("/data/applications"), "not a folder");
    core(true).FormCreate();
    ASSERT_FALSE(view.boxes.isEmpty());
    EXPECT_EQ(view.boxes[0].text, intl.IntlStr(130));
    EXPECT_EQ(view.boxes[0].caption, intl.IntlStr(2010));
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Error);
    const QStringList rows = view.rowTexts();
    ASSERT_GE(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith(startMenuEntry())) << rows[0].toStdString();
    EXPECT_EQ(rows.last(), intl.IntlStr(0));
    QFile::remove(root + QStringLiteral("/data/applications"));
}

TEST_F(ShellModuleTest, TheDialdartLauncherReplacesStartWithTheSession) {
    core();
    ShellIntegration shellSide(store, intl, program);
    shellSide.setStartWithSession(true);
    EXPECT_TRUE(shellSide.startsWithSession());
    EXPECT_EQ(runValue(), program);
    const QString autostart = root + QStringLiteral("/config/autostart/Tollwatch.desktop");
    EXPECT_TRUE(QFileInfo::exists(autostart));

    shellSide.setDialdartIcon(true);
    const QString launcher = root + QStringLiteral("/home/Desktop/Dialdart.desktop");
    EXPECT_EQ(shellSide.dialdartIconFile(), launcher);
    EXPECT_EQ(DesktopEntryCheck::keys(launcher).value("Exec"), program + QStringLiteral(" /C"));
    EXPECT_TRUE(QFileInfo(launcher).isExecutable());
    EXPECT_EQ(runValue(), QStringLiteral("<none>"));
    EXPECT_FALSE(QFileInfo::exists(autostart));
    if (DesktopEntryCheck::available()) {
        EXPECT_EQ(DesktopEntryCheck::validate(launcher).toStdString(), "");
    }
    // Off deletes the launcher and leaves start with the session as it is.
    shellSide.setDialdartIcon(false);
    EXPECT_FALSE(QFileInfo::exists(launcher));
    EXPECT_FALSE(shellSide.startsWithSession());
    EXPECT_NO_THROW(shellSide.setDialdartIcon(false));
}

TEST_F(ShellModuleTest, ALauncherThatCannotBeWrittenChangesNothingElse) {
    core();
    ShellIntegration shellSide(store, intl, program);
    shellSide.setStartWithSession(true);
    store.writeValue(RegRoot::CurrentUser, kShellFoldersKey, QStringLiteral("Desktop"),
                     RegValue::fromString(program + QStringLiteral("/inside-a-file")));
    EXPECT_THROW(shellSide.setDialdartIcon(true), EPBShellLink);
    EXPECT_EQ(runValue(), program);
}

TEST_F(ShellModuleTest, AttachingBringsTheAutostartEntryInStepWithTheRunValue) {
    store.writeValue(RegRoot::LocalMachine, kRunKey, QStringLiteral("Tollwatch"),
                     RegValue::fromString(QStringLiteral("/usr/bin/tollwatch")));
    core();
    const QString autostart = root + QStringLiteral("/config/autostart/Tollwatch.desktop");
    EXPECT_EQ(DesktopEntryCheck::keys(autostart).value("Exec"),
              QStringLiteral("/usr/bin/tollwatch"));
}

TEST_F(ShellModuleTest, TheCompanionStartsFromTheMonitorsFolderOrTheBoxSaysItIsMissing) {
    MonitorCore& c = core();
    EXPECT_TRUE(view.enabled.value(QStringLiteral("Companion1"), true));
    c.click(QStringLiteral("Companion1"));
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Tollwatch"));
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Warning);
    EXPECT_EQ(view.boxes[0].text,
              QStringLiteral("The Tollwatch Companion is missing or not installed. Add it by "
                             "reinstalling Tollwatch and selecting \"typical\" setup"));
    EXPECT_TRUE(shell.started.isEmpty());

    writeFile(root + QStringLiteral("/prog/companion"), "#!/bin/sh\n", true);
    c.click(QStringLiteral("ToolbarButton975"));
    c.click(QStringLiteral("Companion2"));
    ASSERT_EQ(shell.started.size(), 2);
    EXPECT_EQ(shell.started[0].program, root + QStringLiteral("/prog/companion"));
    EXPECT_TRUE(shell.started[0].arguments.isEmpty());
    EXPECT_EQ(view.boxes.size(), 1);
    shell.failWith = QStringLiteral("companion: Exec format error");
    c.click(QStringLiteral("Companion1"));
    EXPECT_EQ(view.boxes.size(), 2);
}

TEST_F(ShellModuleTest, HelpOpensThePageOfTheLanguageOrTheEnglishOne) {
    MonitorCore& c = core();
    setLanguage(4);
    c.click(QStringLiteral("Helpcontents1"));
    EXPECT_EQ(lastOpened().toLocalFile(), root + QStringLiteral("/prog/help/tollwatch-de.html"));
    EXPECT_EQ(lastOpened().fragment(), QStringLiteral("contents"));
    setLanguage(9);
    c.click(QStringLiteral("Helpindex1"));
    EXPECT_EQ(lastOpened().toLocalFile(), root + QStringLiteral("/prog/help/tollwatch-en.html"));
    EXPECT_EQ(lastOpened().fragment(), QStringLiteral("index"));
    setLanguage(-3);
    c.click(QStringLiteral("Helpindex1"));
    EXPECT_TRUE(lastOpened().toLocalFile().endsWith(QLatin1String("tollwatch-en.html")));
    // No pages at all: the reason as an event, nothing handed to the browser.
    QDir(root + QStringLiteral("/prog/help")).removeRecursively();
    const int opened = int(shell.opened.size());
    c.click(QStringLiteral("Helpcontents1"));
    EXPECT_EQ(shell.opened.size(), opened);
    EXPECT_TRUE(view.rowTexts().last().startsWith(intl.IntlStr(9430)));
}

TEST_F(ShellModuleTest, WebCommandsOpenTheirStoredAddressElseTheirHelpTopic) {
    MonitorCore& c = core();
    c.click(QStringLiteral("UpdateCentral1"));
    EXPECT_EQ(lastOpened().fragment(), QStringLiteral("updates"));
    c.click(QStringLiteral("VarnholtHome1"));
    EXPECT_EQ(lastOpened().fragment(), QStringLiteral("about"));
    c.click(QStringLiteral("Homepage1"));
    EXPECT_TRUE(lastOpened().isLocalFile());
    setMachineValue(QStringLiteral("home page url"), QStringLiteral(" www.example.org/tw "));
    c.click(QStringLiteral("Homepage1"));
    EXPECT_EQ(lastOpened(), QUrl(QStringLiteral("http://www.example.org/tw")));
    setMachineValue(QStringLiteral("Update Central URL"), QStringLiteral("javascript:alert(1)"));
    const int opened = int(shell.opened.size());
    c.click(QStringLiteral("UpdateCentral1"));
    EXPECT_EQ(shell.opened.size(), opened);
    EXPECT_EQ(view.rowTexts().last(), intl.IntlStr(9440) + QStringLiteral("javascript:alert(1)"));
    // What the desktop says when it cannot open an address becomes an event.
    shell.failWith = QStringLiteral("no program to open it");
    c.click(QStringLiteral("Homepage1"));
    EXPECT_TRUE(view.rowTexts().last().endsWith(QLatin1String("(no program to open it)")));
}

TEST_F(ShellModuleTest, HolidayDefinitionsAskFirst) {
    MonitorCore& c = core();
    view.answers = {BoxAnswer::Cancel, BoxAnswer::Ok};
    c.click(QStringLiteral("HDef1"));
    EXPECT_TRUE(shell.opened.isEmpty());
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].text, intl.IntlStr(5470));
    EXPECT_EQ(view.boxes[0].buttons, BoxButtons::OkCancel);
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Information);
    c.click(QStringLiteral("HDef1"));
    EXPECT_EQ(lastOpened().fragment(), QStringLiteral("holidays"));
}

TEST_F(ShellModuleTest, FeedbackWritesToTheStoredAddressOrSaysThereIsNone) {
    MonitorCore& c = core();
    c.click(QStringLiteral("Support1"));
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].text, intl.IntlStr(9420));
    EXPECT_TRUE(shell.opened.isEmpty());
    setMachineValue(QStringLiteral("Feedback Address"), QStringLiteral("help@example.org"));
    c.click(QStringLiteral("Support1"));
    EXPECT_EQ(lastOpened().scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(lastOpened().path(), QStringLiteral("help@example.org"));
    EXPECT_TRUE(
        QUrlQuery(lastOpened()).queryItemValue(QStringLiteral("subject")).startsWith("Tollwatch"));
    setMachineValue(QStringLiteral("Feedback Address"),
                    QStringLiteral("https://example.org/contact"));
    c.click(QStringLiteral("Support1"));
    EXPECT_EQ(lastOpened(), QUrl(QStringLiteral("https://example.org/contact")));
}

TEST_F(ShellModuleTest, AboutTellsVersionLicenceAndQt) {
    core().click(QStringLiteral("About2"));
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, intl.IntlStr(670));
    EXPECT_TRUE(view.boxes[0].text.contains(QLatin1String(qVersion())));
    EXPECT_TRUE(view.boxes[0].text.contains(intl.IntlStr(9460)));
    EXPECT_TRUE(view.boxes[0].text.contains(intl.IntlStr(9450)));
}

TEST(WebPagesParse, OnlyWebAddressesLocalPagesAndMailForFeedbackPass) {
    MemoryRegistryStore store;
    struct Case {
        const char* text;
        bool mail;
        const char* expected; // nullptr: refused
    };
    const Case cases[] = {
        {"https://example.org/x", false, "https://example.org/x"},
        {"example.org", false, "http://example.org"},
        {"/usr/share/doc/tw.html", false, "file:///usr/share/doc/tw.html"},
        {"file:///usr/share/doc/tw.HTM", false, "file:///usr/share/doc/tw.HTM"},
        {"file:///etc/passwd", false, nullptr},
        {"/usr/bin/xterm", false, nullptr},
        {"javascript:alert(1)", false, nullptr},
        {"ftp://example.org/", false, nullptr},
        {"help@example.org", false, nullptr},
        {"help@example.org", true, "mailto:help@example.org"},
        {"MAILTO:help@example.org?subject=hi", true, "mailto:help@example.org?subject=hi"},
        {"mailto:not an address", true, nullptr},
        {"a@b@c", true, nullptr},
        {"http://", false, nullptr},
    };
    for (const Case& c : cases) {
        const auto url = WebPages::parse(QString::fromUtf8(c.text), c.mail, store);
        const std::string got = url ? url->toString().toStdString() : std::string("(refused)");
        EXPECT_EQ(got, c.expected ? c.expected : "(refused)") << c.text;
    }
}

} // namespace

namespace {

// The shipped pages: one per language, each with the topics the commands
// open and no link to a topic it lacks.
TEST(ShippedHelpPages, EveryLanguageHasItsPageWithTheTopicsTheCommandsOpen) {
    const QString folder = TestEnvironment::sourceDir() + QStringLiteral("/resources/help");
    const QRegularExpression id(QStringLiteral("id=\"([^\"]+)\""));
    const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (int k = 0; k < 9; ++k) {
        const QString code = HelpPages::languageCode(k);
        QFile page(folder + QStringLiteral("/tollwatch-%1.html").arg(code));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << code.toStdString();
        const QString text = QString::fromUtf8(page.readAll());
        EXPECT_TRUE(text.contains(QStringLiteral("lang=\"%1\"").arg(code))) << code.toStdString();
        QSet<QString> ids;
        for (auto it = id.globalMatch(text); it.hasNext();)
            ids.insert(it.next().captured(1));
        for (const char* topic : {"contents", "index", "updates", "holidays", "about"})
            EXPECT_TRUE(ids.contains(QLatin1String(topic))) << code.toStdString() << " " << topic;
        for (auto it = link.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(ids.contains(target)) << code.toStdString() << " #" << target.toStdString();
        }
    }
}

} // namespace
