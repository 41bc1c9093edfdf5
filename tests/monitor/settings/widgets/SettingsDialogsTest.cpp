// The rates, holidays, password and wizard dialogs as a user works them:
// what their buttons store, and that each fits its texts in every language.

#include "CostModel.h"
#include "DialogRig.h"
#include "MonitorWizard.h"
#include "RunEntry.h"
#include "TfrmHolidays.h"
#include "TfrmRates.h"
#include "TfrmSupervisorPW.h"
#include "TfrmWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include <gtest/gtest.h>

namespace {

template <typename W> W* child(QWidget& parent, const char* name) {
    W* w = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void click(QWidget& dialog, const char* button) {
    child<QPushButton>(dialog, button)->click();
}

TEST(TfrmRatesTest, OkOnAFreshStoreStoresTheDialogDefaultsAndCancelStoresNothing) {
    DialogRig rig;
    {
        TfrmRates rates(rig.context());
        child<QLineEdit>(rates, "Edit6")->setText("0,30");
        click(rates, "CancelBtn");
        EXPECT_EQ(rates.result(), QDialog::Rejected);
    }
    EXPECT_EQ(rig.user("Standard rate"), "<missing>");
    TfrmRates rates(rig.context());
    EXPECT_EQ(child<QLineEdit>(rates, "Edit1")->text(), "0.00");
    EXPECT_EQ(child<QLineEdit>(rates, "Edit2")->text(), "0.20");
    child<QCheckBox>(rates, "Saturdays")->setChecked(true);
    child<QLineEdit>(rates, "Edit6")->setText("0,30");
    click(rates, "OKBtn");
    EXPECT_EQ(rates.result(), QDialog::Accepted);
    EXPECT_EQ(rig.user("Connection Fee"), "0.00");
    EXPECT_EQ(rig.user("Minimum cost"), "0.20");
    EXPECT_EQ(rig.user("Standard rate"), "0,30");
    EXPECT_EQ(rig.user("Satcheap"), "true");
}

TEST(TfrmRatesTest, AStoredBoundLongerThanTheEditAllowsIsShownAndKeptWhole) {
    DialogRig rig;
    rig.settings.WriteText(kSettingsKey, "Cheap before", "07.59.59.0");
    TfrmRates rates(rig.context());
    EXPECT_EQ(child<QLineEdit>(rates, "Edit4")->text(), "07.59.59.0");
    EXPECT_EQ(child<QLineEdit>(rates, "Edit5")->maxLength(), 8);
    click(rates, "OKBtn");
    EXPECT_EQ(rig.user("Cheap before"), "07.59.59.0");
}

TEST(TfrmHolidaysTest, AddingTwiceListsTwiceAndRemovingSelectsTheFirstLine) {
    DialogRig rig;
    TfrmHolidays dialog(rig.context());
    auto* list = child<QListWidget>(dialog, "List");
    child<QComboBox>(dialog, "cmbMonth")->setCurrentIndex(11);
    child<QComboBox>(dialog, "cmbDay")->setCurrentIndex(23);
    click(dialog, "Button3");
    click(dialog, "Button3");
    child<QComboBox>(dialog, "cmbMonth")->setCurrentIndex(0);
    child<QComboBox>(dialog, "cmbDay")->setCurrentIndex(0);
    click(dialog, "Button3");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "01/01");
    EXPECT_EQ(list->item(2)->text(), "12/24");
    // Nothing selected: only a beep.
    click(dialog, "Button4");
    EXPECT_EQ(list->count(), 3);
    list->setCurrentRow(2);
    click(dialog, "Button4");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_FALSE(rig.store.readValue(RegRoot::CurrentUser, kHolidaysKey, "1224"));
    // A new showing lists what is stored.
    TfrmHolidays again(rig.context());
    EXPECT_EQ(child<QListWidget>(again, "List")->count(), 1);
}

TEST(TfrmHolidaysTest, TheDownloadButtonWorksOnlyWhenTheRunOffersTheDownload) {
    DialogRig rig;
    {
        TfrmHolidays dialog(rig.context());
        EXPECT_FALSE(child<QPushButton>(dialog, "Button1")->isEnabled());
    }
    int asked = 0;
    rig.download = [&asked] {
        ++asked;
    };
    TfrmHolidays dialog(rig.context());
    click(dialog, "Button1");
    EXPECT_EQ(asked, 1);
    click(dialog, "Button2");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(TfrmSupervisorPWTest, TheEntryIsMaskedWithAsterisksAndReturned) {
    TfrmSupervisorPW form({"Caption", "Label", "OK", "Cancel"});
    auto* edit = child<QLineEdit>(form, "Edit2");
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->styleSheet(), "lineedit-password-character: 42");
    edit->setText("Se cret");
    EXPECT_TRUE(child<QPushButton>(form, "Button1")->isDefault());
    EXPECT_EQ(form.password(), "Se cret");
    EXPECT_EQ(form.windowTitle(), "Caption");
}

class TfrmWizardTest : public ::testing::Test {
protected:
    DialogRig rig;
    StoreRunEntry run{rig.store};
    MonitorWizard wizard{rig.settings, rig.intl, run, "/usr/bin/tollwatch"};
    TfrmWizard form{wizard, rig.context()};
    QString currentPage() {
        return form.findChild<QStackedWidget*>()->currentWidget()->objectName();
    }
};

TEST_F(TfrmWizardTest, AFirstRunInGermanWithAFixedRateSkipsTheCheapPeriodsToDone) {
    EXPECT_EQ(currentPage(), "Noll");
    EXPECT_FALSE(child<QPushButton>(form, "Button1")->isEnabled());
    child<QComboBox>(form, "cmbLanguage")->setCurrentIndex(4);
    click(form, "Button2");
    EXPECT_EQ(currentPage(), "First");
    EXPECT_EQ(child<QPushButton>(form, "Button2")->text(), "&Weiter >");
    EXPECT_EQ(form.windowTitle(), "Überwachungsassistent");
    EXPECT_TRUE(child<QRadioButton>(form, "RadioButton1")->isChecked());
    click(form, "Button2");
    EXPECT_EQ(currentPage(), "Third");
    EXPECT_TRUE(child<QLineEdit>(form, "Edit7")->isHidden());
    EXPECT_TRUE(child<QLineEdit>(form, "Edit3")->isHidden());
    child<QLineEdit>(form, "Edit1")->setText("0,15");
    click(form, "Button2");
    EXPECT_EQ(currentPage(), "Fourth");
    EXPECT_EQ(child<QPushButton>(form, "Button2")->text(), "&Fertig stellen");
    click(form, "Button1");
    EXPECT_EQ(currentPage(), "Third");
    EXPECT_EQ(child<QLineEdit>(form, "Edit1")->text(), "0,15");
    click(form, "Button2");
    child<QCheckBox>(form, "Autoload")->setChecked(true);
    click(form, "Button2");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(rig.user("Connection Fee"), "0,15");
    EXPECT_EQ(rig.user("Cheap rate"), "0.10");
    EXPECT_EQ(rig.user("One rate"), "true");
    EXPECT_EQ(run.read(), "/usr/bin/tollwatch");
}

TEST_F(TfrmWizardTest, DifferentRatesShowTheCheapPeriodsAndCancelSavesNothingButTheLanguage) {
    click(form, "Button2");
    child<QRadioButton>(form, "RadioButton2")->setChecked(true);
    click(form, "Button2");
    EXPECT_EQ(currentPage(), "Second");
    EXPECT_TRUE(child<QCheckBox>(form, "Saturdays")->isChecked());
    child<QLineEdit>(form, "Edit4")->setText("06.30");
    click(form, "Button2");
    EXPECT_FALSE(child<QLineEdit>(form, "Edit7")->isHidden());
    click(form, "Button3");
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(rig.user("Language"), "2");
    EXPECT_EQ(rig.user("Cheap before"), "<missing>");
}

} // namespace
