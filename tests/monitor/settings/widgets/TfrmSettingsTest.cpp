// The settings dialog's window as a user works it: the page it opens on,
// Apply enabled by a change, the enabling rules greying controls, OK that
// stays open after a conversion error, and the buttons that act at once.

#include "TfrmSettings.h"
#include "SettingsDialogRig.h"
#include "SettingsPanel.h"
#include "ShiftedText.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

template <typename W> W* child(QWidget& parent, const char* name) {
    W* w = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

class TfrmSettingsTest : public ::testing::Test {
protected:
    TfrmSettings& open(SettingsPage page = SettingsPage::TimeAndCost) {
        dialog = std::make_unique<SettingsDialog>(rig.context());
        form = std::make_unique<TfrmSettings>(*dialog, page);
        return *form;
    }
    void click(const char* button) { child<QPushButton>(*form, button)->click(); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(*form, name); }

    SettingsDialogRig rig;
    std::unique_ptr<SettingsDialog> dialog;
    std::unique_ptr<TfrmSettings> form;
};

TEST_F(TfrmSettingsTest, OpensOnItsPageWithApplyWaitingForAChange) {
    rig.setUser("Dialdart Using name", "Backup ISP");
    TfrmSettings& f = open(SettingsPage::Dialdart);
    EXPECT_EQ(f.windowTitle(), "Settings");
    EXPECT_EQ(f.pages()->currentWidget()->objectName(), "TabSheet7");
    EXPECT_EQ(f.pages()->tabText(1), "Dialdart");
    auto* entries = child<QComboBox>(f, "cmbEntries");
    EXPECT_EQ(entries->count(), 3);
    EXPECT_EQ(entries->currentText(), "Backup ISP");
    auto* apply = child<QPushButton>(f, "ApplyBtn");
    EXPECT_FALSE(apply->isEnabled());
    child<QComboBox>(f, "cmbLanguage")->setCurrentIndex(4);
    EXPECT_TRUE(apply->isEnabled());
    click("ApplyBtn");
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(rig.user("Language"), "4");
    // Re-captioned in the language just applied.
    EXPECT_EQ(f.windowTitle(), "Einstellungen");
    EXPECT_EQ(apply->text(), "&Übernehmen");
}

TEST(TfrmSettingsWidthTest, LongNamesFromOutsideNeverWidenTheDialogPastTheScreen) {
    const QString longName(400, QLatin1Char('W'));
    SettingsDialogRig rig(QStringLiteral("entry \"%1\"\n").arg(longName));
    rig.setUser("Mail client", longName);
    rig.setUser("POP Security", longName);
    SettingsDialog dialog(rig.context());
    TfrmSettings form(dialog, SettingsPage::Mail);
    EXPECT_LE(form.sizeHint().width(), 1024);
    EXPECT_EQ(child<QComboBox>(form, "cmbEntries")->currentText(), longName);
    EXPECT_EQ(child<QComboBox>(form, "ComboBox2")->currentText(), longName);
}

TEST_F(TfrmSettingsTest, TheEnablingRulesGreyWhatTheChoicesLeaveUnused) {
    rig.session.Online = true;
    TfrmSettings& f = open();
    QLineEdit* rate = edit("txtRate");
    EXPECT_FALSE(rate->isEnabled());
    EXPECT_FALSE(child<QRadioButton>(f, "RadioButton3")->isEnabled());
    // A disabled edit has the face of a button.
    EXPECT_EQ(rate->palette().color(QPalette::Disabled, QPalette::Base),
              rate->palette().color(QPalette::Active, QPalette::Button));
    child<QRadioButton>(f, "radioCost")->click();
    EXPECT_TRUE(rate->isEnabled());
    EXPECT_FALSE(child<QPushButton>(f, "btnRates")->isEnabled());
    child<QRadioButton>(f, "RadioButton4")->click();
    EXPECT_FALSE(rate->isEnabled());
    EXPECT_TRUE(child<QPushButton>(f, "btnRates")->isEnabled());

    EXPECT_FALSE(edit("Edit2")->isEnabled()) << "no user totals while connected";
    EXPECT_FALSE(edit("Edit4")->isEnabled());
    EXPECT_TRUE(edit("txtPCTime")->isEnabled());
    EXPECT_FALSE(edit("Edit11")->isEnabled());
    child<QCheckBox>(f, "CheckBox12")->click();
    EXPECT_TRUE(edit("Edit11")->isEnabled());
    EXPECT_TRUE(child<QSlider>(f, "TrackBar1")->isEnabled());
    EXPECT_FALSE(child<SpinEdit>(f, "Edit1")->isEnabled());
    child<QCheckBox>(f, "CheckBox2")->click();
    EXPECT_TRUE(child<SpinEdit>(f, "Edit1")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(f, "Remindme")->isEnabled());
}

TEST_F(TfrmSettingsTest, OkWithAUserTimeThatIsNoIntegerStaysOpenWithTheEarlierValuesWritten) {
    TfrmSettings& f = open();
    f.show();
    child<QRadioButton>(f, "radioCost")->click();
    edit("txtRate")->setText("0,12");
    edit("Edit2")->setText("1x");
    click("OKBtn");
    EXPECT_TRUE(f.isVisible());
    EXPECT_NE(f.result(), QDialog::Accepted);
    ASSERT_EQ(rig.view.boxes.size(), 1);
    EXPECT_EQ(rig.view.boxes[0].text, "'1x' is not a valid integer value");
    EXPECT_EQ(rig.user("Standard Rate"), "0,12");
    EXPECT_EQ(rig.user("Connected"), "<missing>");
    edit("Edit2")->setText("61");
    click("OKBtn");
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(rig.user("Connected"), "61");
}

TEST_F(TfrmSettingsTest, CancelWritesNothingButTheButtonsThatActAtOnceHaveActed) {
    rig.setUser("Connected", "300");
    TfrmSettings& f = open();
    rig.view.answers = {BoxAnswer::Yes};
    click("Button1");
    EXPECT_EQ(edit("Edit2")->text(), "0");
    EXPECT_EQ(rig.user("Connected"), "0");
    rig.password.answers = {QString("pw"), QString("pw")};
    child<QCheckBox>(f, "CheckBox11")->click();
    EXPECT_EQ(rig.password.requests.size(), 2);
    edit("WarnMsg")->setText("Hang up!");
    click("CancelBtn");
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(rig.user("PW"), ShiftedText::shift("pw"));
    EXPECT_EQ(rig.user("Protect exitcmd"), "<missing>");
    EXPECT_EQ(rig.user("Warning message"), "<missing>");
}

TEST_F(TfrmSettingsTest, TheTimeoutLabelFollowsTheSliderAndSpinnersStepWithinTheirRange) {
    TfrmSettings& f = open();
    auto* slider = child<QSlider>(f, "TrackBar1");
    EXPECT_EQ(child<QLabel>(f, "Label25")->text(), "Long  (3 s)");
    slider->setValue(7);
    EXPECT_EQ(child<QLabel>(f, "Label25")->text(), "Long  (7 s)");
    auto* minutes = child<SpinEdit>(f, "Edit3");
    EXPECT_EQ(minutes->value(), "10");
    minutes->stepBy(1);
    EXPECT_EQ(minutes->value(), "15");
    minutes->setValue("31999");
    minutes->stepBy(1);
    EXPECT_EQ(minutes->value(), "32000");
    minutes->setValue("many");
    minutes->stepBy(-1);
    EXPECT_EQ(minutes->value(), "1");
    child<SpinEdit>(f, "Edit5")->setValue("2.9");
    click("OKBtn");
    EXPECT_EQ(rig.user("Warning time"), "1");
    EXPECT_EQ(rig.user("Warning cost"), "2");
    EXPECT_EQ(rig.user("POP_Timeout"), "7");
}

TEST_F(TfrmSettingsTest, TheSecurityChoiceShowsItsCaptionAndStoresItsName) {
    rig.setUser("POP Security", "pop3s");
    TfrmSettings& f = open(SettingsPage::Mail);
    auto* security = child<QComboBox>(f, "cmbSecurity");
    EXPECT_EQ(security->count(), 3);
    EXPECT_EQ(security->currentText(), "TLS from the start (POP3S)");
    security->setCurrentIndex(1);
    click("OKBtn");
    EXPECT_EQ(rig.user("POP Security"), "STLS");
}

} // namespace
