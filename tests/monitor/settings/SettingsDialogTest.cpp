// The settings dialog without widgets: what it shows on a fresh and on a
// used store, the enabling rules, Apply's order and its two conversion
// stops, and the buttons that act at once.

#include "ChimeTimer.h"
#include "SettingsDialogRig.h"
#include "ShiftedText.h"

#include <gtest/gtest.h>

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    SettingsDialog& shown() {
        dialog = std::make_unique<SettingsDialog>(rig.context());
        dialog->Show();
        return *dialog;
    }
    SettingsDialog::ApplyResult apply() { return dialog->Apply(); }
    // The names written since the dialog was shown, in order.
    QStringList writes() const { return rig.store.writes.mid(writesBefore); }
    void markWrites() { writesBefore = int(rig.store.writes.size()); }

    SettingsDialogRig rig;
    std::unique_ptr<SettingsDialog> dialog;
    int writesBefore = 0;
};

TEST_F(SettingsDialogTest, AFreshStoreShowsTheDialogsOwnDefaults) {
    const SettingsValues& v = shown().values();
    EXPECT_EQ(v.entries, (QStringList{"Hometown Dial", "Backup ISP", "Night Owl"}));
    EXPECT_EQ(v.entry, 0);
    EXPECT_FALSE(v.showCost);
    EXPECT_TRUE(v.oneRate);
    EXPECT_EQ(v.rate, "0.20");
    EXPECT_EQ(v.warningTime, "10");
    EXPECT_EQ(v.warningCost, "0.00");
    EXPECT_EQ(v.warningMessage, "You have now used your defined connection time or cost");
    EXPECT_EQ(v.chimePeriod, "10");
    EXPECT_EQ(v.chimeFile, "ding.wav");
    EXPECT_EQ(v.userTime, "0");
    EXPECT_EQ(v.userCost, "0.00");
    EXPECT_EQ(v.pcTime, "0");
    EXPECT_EQ(v.pcCost, "0.00");
    EXPECT_EQ(v.logFile, "c:\\access.txt");
    EXPECT_EQ(v.popTimeout, 3);
    EXPECT_EQ(v.popSecurity, "none");
    EXPECT_EQ(v.language, 2);
    EXPECT_TRUE(v.dialdartStatus);
    EXPECT_FALSE(v.oneClick);
    EXPECT_TRUE(v.monitorXfer);
    EXPECT_FALSE(v.autoload);
    EXPECT_TRUE(rig.view.boxes.isEmpty());
}

TEST_F(SettingsDialogTest, StoredValuesAreShownAsTheDialogReadsThem) {
    rig.setMachine("PC Total time", "125.9");
    rig.setMachine("PC Total cost", "17.5");
    rig.setMachine("Log filename", "d:\\logs\\net.txt");
    rig.setUser("Log Filename", "c:\\ignored.txt");
    rig.setUser("Connected", "75");
    rig.setUser("Connection Cost", "3,5");
    rig.setUser("POP PW", ShiftedText::shift("pässword"));
    rig.setUser("POP Security", "stls");
    rig.setUser("POP_Timeout", "99");
    rig.setUser("Language", "12");
    rig.settings.WriteText("Software\\Microsoft\\Internet ClientX", "POP_server", "pop.isp.net");
    rig.setUser("Chime", "yes");
    rig.setUser("Show cost", "TRUE");
    rig.runEntry.write("/usr/bin/tollwatch");
    const SettingsValues& v = shown().values();
    EXPECT_EQ(v.pcTime, "125");
    EXPECT_EQ(v.pcCost, "17.50");
    EXPECT_EQ(v.logFile, "d:\\logs\\net.txt");
    EXPECT_EQ(v.userTime, "75");
    EXPECT_EQ(v.userCost, "3.50");
    EXPECT_EQ(v.popPassword, "pässword");
    EXPECT_EQ(v.popSecurity, "STLS");
    EXPECT_EQ(v.popTimeout, 10);
    EXPECT_EQ(v.language, 2);
    EXPECT_EQ(v.popHost, "pop.isp.net");
    EXPECT_TRUE(v.chime);
    EXPECT_TRUE(v.showCost);
    EXPECT_TRUE(v.autoload);
}

TEST_F(SettingsDialogTest, UnreadableOrUnknownStoredChoicesAreKeptRatherThanReplaced) {
    rig.setUser("POP Security", "tls1.3");
    rig.setUser("POP_Timeout", "soon");
    rig.setUser("Connection Cost", "a lot");
    rig.setUser("Mail client", "Pine 3.96");
    rig.setMachine("PC Total time", "9e300");
    const SettingsValues& v = shown().values();
    EXPECT_EQ(v.pcTime, "9e300") << "not three hundred digits";
    EXPECT_EQ(v.popSecurity, "tls1.3") << "a mistyped choice never turns into no encryption";
    EXPECT_EQ(v.popTimeout, 3);
    EXPECT_EQ(v.userCost, "a lot");
    EXPECT_TRUE(v.mailClients.contains("Pine 3.96"));
    EXPECT_EQ(v.mailClient, "Pine 3.96");
    apply();
    EXPECT_EQ(rig.user("POP Security"), "tls1.3");
    EXPECT_EQ(rig.user("Mail client"), "Pine 3.96");
    EXPECT_EQ(rig.machine("PC Total time"), "9e300");
}

TEST_F(SettingsDialogTest, TheDialdartEntryIsFoundByItsNameBeforeItsPlaceInTheList) {
    rig.setUser("Dialdart Using", "0");
    rig.setUser("Dialdart Using name", "Night Owl");
    EXPECT_EQ(shown().values().entry, 2) << "the phone book's order changed since";
    rig.setUser("Dialdart Using name", "Gone Provider");
    rig.setUser("Dialdart Using", "1");
    EXPECT_EQ(shown().values().entry, 1);
    rig.setUser("Dialdart Using", "7");
    EXPECT_EQ(shown().values().entry, -1);
    dialog->values().entry = 1;
    apply();
    EXPECT_EQ(rig.user("Dialdart Using"), "1");
    EXPECT_EQ(rig.user("Dialdart Using name"), "Backup ISP");
}

TEST_F(SettingsDialogTest, APhoneBookThatCannotBeReadWarnsAndLeavesTheDialdartEntryAlone) {
    QString book;
    for (int i = 0; i <= 100; ++i)
        book += QStringLiteral("entry \"ISP %1\"\n").arg(i);
    SettingsDialogRig big(book);
    big.setUser("Dialdart Using name", "ISP 7");
    big.setUser("Dialdart Using", "7");
    SettingsDialog d(big.context());
    d.Show();
    ASSERT_EQ(big.view.boxes.size(), 1);
    EXPECT_EQ(big.view.boxes[0].caption, "Tollwatch Warning");
    EXPECT_EQ(big.view.boxes[0].text,
              "Failed to enumerate Remote Access entries, possibly due to a misconfiguration in "
              "the Remote Access software.");
    EXPECT_EQ(big.view.boxes[0].icon, BoxIcon::Warning);
    EXPECT_TRUE(d.values().entries.isEmpty());
    EXPECT_EQ(d.Apply(), SettingsDialog::ApplyResult::Applied);
    EXPECT_EQ(big.user("Dialdart Using name"), "ISP 7");
    EXPECT_EQ(big.user("Dialdart Using"), "7");
}

TEST_F(SettingsDialogTest, WithoutByteCountersTheTransferRateIsSwitchedOffAtOnce) {
    rig.ras.setByteCountersReadable(false);
    rig.setUser("Monitor Xfer", "true");
    SettingsDialog& d = shown();
    EXPECT_EQ(rig.user("Monitor Xfer"), "false") << "written on show, before any Apply";
    EXPECT_FALSE(d.values().monitorXfer);
    EXPECT_FALSE(d.enabling().xfer);
    rig.ras.setByteCountersReadable(true);
    EXPECT_TRUE(shown().enabling().xfer);
    EXPECT_FALSE(dialog->values().monitorXfer) << "the stored choice stays off";
}

TEST(SettingsEnablingTest, EachRuleFollowsItsControls) {
    SettingsValues v;
    SettingsEnabling e = SettingsEnabling::of(v, false, true);
    EXPECT_FALSE(e.rateChoice);
    EXPECT_FALSE(e.rateEdit) << "time only: no rate at all";
    EXPECT_FALSE(e.ratesButton);
    EXPECT_FALSE(e.daily);
    EXPECT_FALSE(e.chime);
    EXPECT_FALSE(e.mail);
    EXPECT_TRUE(e.userTotals);
    v.showCost = true;
    e = SettingsEnabling::of(v, false, true);
    EXPECT_TRUE(e.rateChoice);
    EXPECT_TRUE(e.rateEdit);
    EXPECT_FALSE(e.ratesButton);
    v.oneRate = false;
    e = SettingsEnabling::of(v, false, true);
    EXPECT_FALSE(e.rateEdit);
    EXPECT_TRUE(e.ratesButton);
    v.costWarning = true;
    v.chime = true;
    v.monitorMail = true;
    e = SettingsEnabling::of(v, true, false);
    EXPECT_FALSE(e.warningTime);
    EXPECT_TRUE(e.warningCost);
    EXPECT_TRUE(e.daily) << "either warning enables the daily box";
    EXPECT_TRUE(e.chime);
    EXPECT_TRUE(e.mail);
    EXPECT_FALSE(e.userTotals) << "not while a connection is up";
    EXPECT_FALSE(e.xfer);
}

TEST_F(SettingsDialogTest, ApplyWritesEveryValueInItsFixedOrder) {
    rig.runEntry.write("/old/path");
    SettingsDialog& d = shown();
    markWrites();
    SettingsValues& v = d.values();
    v.autoload = false;
    v.entry = 2;
    v.popPassword = "secret";
    EXPECT_EQ(apply(), SettingsDialog::ApplyResult::Applied);
    const QStringList expected = {"PC Total time",
                                  "PC Total cost",
                                  "Log Filename",
                                  "POP_Timeout",
                                  "Protect propwnd",
                                  "Monitor e-mail",
                                  "Protect exitcmd",
                                  "Dialdart Run",
                                  "Dialdart icon",
                                  "POP host",
                                  "POP username",
                                  "POP Security",
                                  "Mail client",
                                  "Language",
                                  "POP PW",
                                  "Dialdart Using",
                                  "Dialdart Using name",
                                  "RemindBox",
                                  "Warning Daily",
                                  "Dialdart oneclick",
                                  "Warning",
                                  "Cost Warning",
                                  "Dialdart Status",
                                  "Chime",
                                  "Show cost",
                                  "Monitor xfer",
                                  "One rate",
                                  "Reset each month",
                                  "Chime period",
                                  "Standard Rate",
                                  "Connected",
                                  "Connection cost",
                                  "",
                                  "",
                                  "Warning message",
                                  "Warning time",
                                  "Warning cost"};
    EXPECT_EQ(writes(), expected);
    EXPECT_EQ(rig.runEntry.read(), "") << "Autoload cleared removes the entry";
    EXPECT_EQ(rig.icon.calls, QStringList{"off"});
    EXPECT_EQ(rig.user("POP PW"), ShiftedText::shift("secret"));
    EXPECT_EQ(rig.user("Dialdart Using name"), "Night Owl");
    EXPECT_EQ(rig.settings.ReadText(kChimeSoundKey, QString(), "<missing>"), "ding.wav");
    EXPECT_EQ(rig.settings.ReadText("AppEvents\\Eventlabels\\Chime", QString(), "<missing>"),
              "Chime Sound");
    EXPECT_TRUE(rig.view.boxes.isEmpty()) << "no question without the desktop icon";
}

TEST_F(SettingsDialogTest, AUserTimeThatIsNoIntegerStopsApplyWithTheEarlierValuesWritten) {
    SettingsDialog& d = shown();
    d.values().userTime = "12a";
    d.values().rate = "0.07";
    d.values().chimePeriod = "15";
    d.values().warningMessage = "Enough!";
    int recaptions = 0;
    EXPECT_EQ(d.Apply([&] { ++recaptions; }), SettingsDialog::ApplyResult::Stopped);
    ASSERT_EQ(rig.view.boxes.size(), 1);
    EXPECT_EQ(rig.view.boxes[0].text, "'12a' is not a valid integer value");
    EXPECT_EQ(rig.view.boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(rig.user("Standard Rate"), "0.07");
    EXPECT_EQ(rig.user("Chime period"), "15");
    EXPECT_EQ(rig.user("Connected"), "<missing>");
    EXPECT_EQ(rig.user("Warning message"), "<missing>");
    EXPECT_EQ(recaptions, 0);
    // Mended, the same dialog applies.
    d.values().userTime = " 42 ";
    EXPECT_EQ(d.Apply([&] { ++recaptions; }), SettingsDialog::ApplyResult::Applied);
    EXPECT_EQ(rig.user("Connected"), "42");
    EXPECT_EQ(recaptions, 1);
}

TEST_F(SettingsDialogTest, WarningLimitsAreTruncatedAndOneThatIsNoNumberStopsApply) {
    SettingsDialog& d = shown();
    d.values().warningTime = "2.9";
    d.values().warningCost = "7,99";
    EXPECT_EQ(apply(), SettingsDialog::ApplyResult::Applied);
    EXPECT_EQ(rig.user("Warning time"), "2");
    EXPECT_EQ(rig.user("Warning cost"), "7");
    for (const char* bad : {"lots", "inf", "nan", "1e30"}) {
        rig.view.boxes.clear();
        d.values().warningTime = "5";
        d.values().warningCost = QString::fromLatin1(bad);
        d.values().warningMessage = QStringLiteral("after %1").arg(bad);
        EXPECT_EQ(apply(), SettingsDialog::ApplyResult::Stopped) << bad;
        EXPECT_EQ(rig.user("Warning message"), QStringLiteral("after %1").arg(bad));
        EXPECT_EQ(rig.user("Warning time"), "5");
        EXPECT_EQ(rig.user("Warning cost"), "7") << bad;
        ASSERT_EQ(rig.view.boxes.size(), 1);
        EXPECT_TRUE(rig.view.boxes[0].text.contains(QString::fromLatin1(bad)));
    }
}

TEST_F(SettingsDialogTest, WhileConnectedTheUserTotalsAreGreyedAndLeftAsTheyAre) {
    rig.setUser("Connected", "300");
    rig.setUser("Connection cost", "12.00");
    rig.session.Online = true;
    SettingsDialog& d = shown();
    EXPECT_FALSE(d.enabling().userTotals);
    d.values().userTime = "not even a number";
    d.values().userCost = "0";
    EXPECT_EQ(apply(), SettingsDialog::ApplyResult::Applied);
    EXPECT_EQ(rig.user("Connected"), "300");
    EXPECT_EQ(rig.user("Connection cost"), "12.00");
}

TEST_F(SettingsDialogTest, ClearingOneRateLeavesTheRateOfTheRatesDialog) {
    rig.setUser("Standard Rate", "0.15");
    SettingsDialog& d = shown();
    d.values().oneRate = false;
    d.values().rate = "9.99";
    apply();
    EXPECT_EQ(rig.user("One rate"), "false");
    EXPECT_EQ(rig.user("Standard Rate"), "0.15");

    // The rates dialog's OK stores a new normal rate; going back to one rate
    // then keeps it rather than the edit's older text.
    d.values().rate = "0.15";
    rig.setUser("Standard rate", "0.31");
    d.RatesStored();
    d.values().oneRate = true;
    apply();
    EXPECT_EQ(rig.user("Standard Rate"), "0.31");
}

TEST_F(SettingsDialogTest, TheDesktopIconReplacesStartingWithTheSessionAndAsksToExitOnEveryApply) {
    SettingsDialog& d = shown();
    d.values().autoload = true;
    d.values().dialdartIcon = true;
    rig.view.answers = {BoxAnswer::No};
    EXPECT_EQ(apply(), SettingsDialog::ApplyResult::Applied);
    EXPECT_EQ(rig.runEntry.read(), "/opt/tollwatch/bin/tollwatch");
    EXPECT_EQ(rig.icon.calls, QStringList{"on"}) << "after the Run entry, which it turns off";
    ASSERT_EQ(rig.view.boxes.size(), 1);
    EXPECT_EQ(rig.view.boxes[0].caption, "Tollwatch");
    EXPECT_TRUE(rig.view.boxes[0].text.startsWith("You have selected to use 'load on demand'."));
    EXPECT_EQ(rig.view.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(rig.programEnds, 0);

    rig.view.answers = {BoxAnswer::Yes};
    EXPECT_EQ(apply(), SettingsDialog::ApplyResult::Exit);
    ASSERT_EQ(rig.view.boxes.size(), 3);
    EXPECT_EQ(rig.view.boxes[2].text,
              "To make an Dialdartion, doubleclick the desktop Dialdart icon");
    EXPECT_EQ(rig.view.boxes[2].icon, BoxIcon::Information);
    EXPECT_EQ(rig.programEnds, 1);
}

TEST_F(SettingsDialogTest, ALauncherThatCannotBeWrittenIsReportedAndApplyGoesOn) {
    rig.icon.fail = true;
    SettingsDialog& d = shown();
    d.values().dialdartIcon = true;
    d.values().language = 4;
    rig.view.answers = {BoxAnswer::Ok, BoxAnswer::No};
    EXPECT_EQ(apply(), SettingsDialog::ApplyResult::Applied);
    ASSERT_EQ(rig.view.boxes.size(), 2);
    EXPECT_EQ(rig.view.boxes[0].caption, "Result");
    EXPECT_EQ(rig.view.boxes[0].text, "Unable to create the Dialdart desktop icon");
    EXPECT_EQ(rig.view.boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(rig.user("Language"), "4");
    // Asked in the language just chosen.
    EXPECT_TRUE(rig.view.boxes[1].text.startsWith("Sie haben"));
}

TEST_F(SettingsDialogTest, MachineValuesThatCannotBeWrittenAreSkipped) {
    class ReadOnlyMachine : public WriteOrderStore {
    public:
        void writeValue(RegRoot root, const QString& path, const QString& name,
                        const RegValue& value) override {
            if (root == RegRoot::LocalMachine && path.startsWith("SOFTWARE\\Varnholt"))
                throw RegistryError("access denied");
            WriteOrderStore::writeValue(root, path, name, value);
        }
    } store;
    Settings settings(store);
    SettingsDialog d({{settings, rig.intl, rig.formats, {}},
                      rig.ras,
                      rig.session,
                      rig.view,
                      rig.password,
                      rig.runEntry,
                      rig.icon,
                      "/bin/tw",
                      "/snd",
                      {},
                      {}});
    d.Show();
    d.values().logFile = "/home/anna/net.log";
    EXPECT_EQ(d.Apply(), SettingsDialog::ApplyResult::Applied);
    EXPECT_EQ(settings.ReadText(kSettingsKey, "Reset each month", "<missing>"), "false");
    EXPECT_TRUE(rig.view.boxes.isEmpty());
}

TEST_F(SettingsDialogTest, ResetToZeroAsksAndKeepsTheComputersTotals) {
    rig.setUser("Connected", "300");
    rig.setUser("Connection Cost", "12.00");
    rig.setMachine("PC Total time", "900");
    SettingsDialog& d = shown();
    rig.view.answers = {BoxAnswer::No};
    EXPECT_FALSE(d.ResetToZero());
    EXPECT_EQ(rig.user("Connected"), "300");
    ASSERT_EQ(rig.view.boxes.size(), 1);
    EXPECT_EQ(rig.view.boxes[0].text,
              "Are you sure you want to reset the total connection time and cost?");
    EXPECT_EQ(rig.view.boxes[0].caption, "Tollwatch Warning");
    rig.view.answers = {BoxAnswer::Yes};
    EXPECT_TRUE(d.ResetToZero());
    EXPECT_EQ(rig.user("Connected"), "0");
    EXPECT_EQ(rig.user("Connection Cost"), "0");
    EXPECT_EQ(d.values().userTime, "0");
    EXPECT_EQ(d.values().userCost, "0");
    EXPECT_EQ(rig.machine("PC Total time"), "900");
    EXPECT_EQ(d.values().pcTime, "900");
}

TEST_F(SettingsDialogTest, ChimeBrowseStoresAtOnceAndPlayPlaysTheStoredSound) {
    SettingsDialog& d = shown();
    d.values().chimeFile = "/edited/but/not/applied.wav";
    RecordingSound sound;
    d.PlayChime(sound);
    EXPECT_EQ(sound.files, QStringList{"/opt/tollwatch/sounds/ding.wav"});
    d.ChimeFileChosen("/home/anna/bell.wav");
    EXPECT_EQ(d.values().chimeFile, "/home/anna/bell.wav");
    EXPECT_EQ(rig.settings.ReadText(kChimeSoundKey, QString(), {}), "/home/anna/bell.wav");
    sound.playable = false;
    d.PlayChime(sound);
    EXPECT_EQ(sound.files.last(), "/home/anna/bell.wav");
    ASSERT_EQ(rig.view.boxes.size(), 1);
    EXPECT_EQ(rig.view.boxes[0].text, "Unable to play your computers chime sound.\rClick the "
                                      "browse button to select another sound file");
}

TEST_F(SettingsDialogTest, TickingAProtectionWithoutAPasswordAsksForOneAtOnce) {
    SettingsDialog& d = shown();
    d.ProtectionTicked(false);
    EXPECT_TRUE(rig.password.requests.isEmpty());
    rig.password.answers = {QString("key"), QString("key")};
    d.ProtectionTicked(true);
    EXPECT_EQ(rig.password.requests.size(), 2);
    EXPECT_EQ(rig.user("PW"), ShiftedText::shift("key"));
    EXPECT_EQ(rig.user("Protect propwnd"), "<missing>") << "the box itself waits for Apply";
    d.ProtectionTicked(true);
    EXPECT_EQ(rig.password.requests.size(), 2) << "a stored password is not asked again";
    rig.password.answers = {std::nullopt};
    d.SetPassword();
    EXPECT_EQ(rig.user("PW"), ShiftedText::shift("key")) << "cancel keeps the old one";
}

TEST_F(SettingsDialogTest, PropertiesOpensTheSelectedEntryAndViewLogTheLogViewer) {
    SettingsDialog& d = shown();
    d.values().entry = 1;
    d.EditEntry();
    EXPECT_EQ(rig.ras.editedEntries(), QStringList{"Backup ISP"});
    d.values().entry = -1;
    d.EditEntry();
    ASSERT_EQ(rig.view.boxes.size(), 1);
    EXPECT_TRUE(rig.view.boxes[0].text.startsWith("Failed to edit this Remote Access entry"));
    d.ViewLog();
    EXPECT_EQ(rig.logViews, 1);
}

} // namespace
