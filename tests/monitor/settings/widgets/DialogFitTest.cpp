// Every settings dialog and every wizard page, shown in each of the nine
// languages, cuts none of its texts. English and German pictures of each are
// left in the build folder (artifacts/settings-PLATFORM-*.png) to be looked at.

#include "DialogRig.h"
#include "MonitorWizard.h"
#include "RunEntry.h"
#include "TestEnvironment.h"
#include "TfrmHolidays.h"
#include "TfrmRates.h"
#include "TfrmSupervisorPW.h"
#include "TfrmWizard.h"

#include <QDir>
#include <QGuiApplication>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include <gtest/gtest.h>

namespace {

// The language list indices of the nine languages (1 and 2 are both English).
const int kLanguages[] = {0, 1, 3, 4, 5, 6, 7, 8, 9};

QString languageName(int index) {
    return IntlStrings::languageList().at(index);
}

class DialogFitTest : public ::testing::TestWithParam<int> {
protected:
    DialogFitTest() {
        rig.language(GetParam());
        rig.download = [] {
        };
    }
    // Checks the shown dialog and, in English and German, keeps its picture.
    void look(QWidget& dialog, const QString& name) {
        DialogFit::showAndSettle(dialog);
        EXPECT_EQ(DialogFit::clippedTexts(dialog).join('\n').toStdString(), "")
            << name.toStdString() << " in " << languageName(GetParam()).toStdString();
        if (GetParam() != 1 && GetParam() != 4)
            return;
        const QString folder = QDir(TestEnvironment::binDir()).absoluteFilePath("../artifacts");
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString file =
            QStringLiteral("%1/settings-%2-%3-%4.png")
                .arg(folder, QGuiApplication::platformName(), name, GetParam() == 1 ? "en" : "de");
        EXPECT_TRUE(dialog.grab().save(file)) << file.toStdString();
    }

    DialogRig rig;
};

TEST_P(DialogFitTest, RatesAndHolidaysDialogs) {
    TfrmRates rates(rig.context());
    look(rates, "rates");
    TfrmHolidays holidays(rig.context());
    holidays.findChild<QPushButton*>("Button3")->click();
    look(holidays, "holidays");
}

TEST_P(DialogFitTest, PasswordPromptsOfTheGateAndTheSetPasswordSequence) {
    const IntlStrings& t = rig.intl;
    TfrmSupervisorPW gate({t.IntlStr(5410), t.IntlStr(5460), t.IntlStr(1000), t.IntlStr(1010)});
    look(gate, "password-gate");
    TfrmSupervisorPW again({t.IntlStr(5400), t.IntlStr(5440), t.IntlStr(1000), t.IntlStr(1010)});
    look(again, "password-verify");
}

TEST_P(DialogFitTest, EveryWizardPage) {
    rig.store.deleteValue(RegRoot::CurrentUser, kSettingsKey, "Language");
    StoreRunEntry run(rig.store);
    MonitorWizard wizard(rig.settings, rig.intl, run, "/usr/bin/tollwatch");
    wizard.values().language = GetParam();
    TfrmWizard form(wizard, rig.context());
    auto* pages = form.findChild<QStackedWidget*>();
    look(form, "wizard-1-language");
    form.findChild<QPushButton*>("Button2")->click();
    form.findChild<QRadioButton*>("RadioButton2")->setChecked(true);
    for (int page = 2; page <= 5; ++page) {
        look(form,
             QStringLiteral("wizard-%1-%2").arg(page).arg(pages->currentWidget()->objectName()));
        form.findChild<QPushButton*>("Button2")->click();
    }
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(NineLanguages, DialogFitTest, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return languageName(p.param)
                                        .section(' ', 0, 0)
                                        .replace(QStringLiteral("ç"), QStringLiteral("c"))
                                        .replace(QStringLiteral("ñ"), QStringLiteral("n"))
                                        .replace(QStringLiteral("ê"), QStringLiteral("e"))
                                        .toStdString() +
                                    std::to_string(p.param);
                         });

} // namespace
