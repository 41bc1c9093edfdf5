// The mail check's widgets: the countdown bar refuses key presses and clicks
// while a wait runs (timers go on), the confirmation form reports its tick,
// and the mail log lies exactly over the event list of the status window.

#include "Clock.h"
#include "QtSoundPlayer.h"
#include "TWait.h"
#include "TfrmConfirm.h"
#include "TfrmTAPIMon.h"
#include "WaitIndicator.h"
#include "WindowMailView.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

void type(QWidget& target, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
}

void click(QWidget& target) {
    const QPointF at(target.width() / 2, target.height() / 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, target.mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&target, &e);
    }
}

TEST(MailWidgetsTest, DuringAWaitKeysAndClicksAreRefusedButTimersRun) {
    QWidget window;
    WaitIndicator wait1(&window);
    QLineEdit edit(&window);
    QPushButton button(&window);
    button.resize(40, 20);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    ManualClock clock(QDateTime(QDate(2024, 3, 15), QTime(21, 0)));
    TWait wait(clock, &wait1);
    bool timerRan = false;
    QTimer::singleShot(0, [&] {
        timerRan = true;
        type(edit, Qt::Key_A, QStringLiteral("a"));
        click(button);
        EXPECT_TRUE(wait1.swallowingInput());
        wait.Stop();
    });
    wait.setCaption(QStringLiteral("3"));
    EXPECT_EQ(wait.StartModal(), TWait::Stopped);
    EXPECT_TRUE(timerRan);
    EXPECT_TRUE(edit.text().isEmpty());
    EXPECT_FALSE(wait1.swallowingInput());
    EXPECT_EQ(clicks, 0);
    type(edit, Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(edit.text(), QStringLiteral("b"));
    click(button);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(wait1.caption(), QStringLiteral("3"));
}

TEST(MailWidgetsTest, TheConfirmationFormShowsItsTextsAndReportsTheTick) {
    TfrmConfirm form({QStringLiteral("Tollwatch"), QStringLiteral("Your e-mail client..."),
                      QStringLiteral("&Skip this message in the future"), QStringLiteral("OK"),
                      QStringLiteral("Cancel")});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tollwatch"));
    auto* skip = form.findChild<QCheckBox*>(QStringLiteral("chkNoConfirm"));
    ASSERT_NE(skip, nullptr);
    EXPECT_FALSE(form.skipInFuture());
    QTimer::singleShot(0, [&] {
        skip->setChecked(true);
        form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_TRUE(form.skipInFuture());
}

TEST(MailWidgetsTest, TheMailLogLiesOverTheEventListAndHidesWithIt) {
    QtSoundPlayer sound;
    TfrmTAPIMon window([](const QString&) {}, [](int) {}, sound);
    window.show();
    WindowMailView view(*window.mailLog(), &window);
    view.appendMailLog(QStringLiteral("> USER anna"));
    view.setMailLogVisible(true);
    QApplication::processEvents();
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("listHistoria"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(window.mailLog()->isVisible());
    EXPECT_EQ(window.mailLog()->geometry(), list->geometry());
    EXPECT_EQ(window.mailLog()->toPlainText(), QStringLiteral("> USER anna"));
    window.setHistoryVisible(false);
    EXPECT_FALSE(window.mailLog()->isVisible());
    window.setHistoryVisible(true);
    EXPECT_TRUE(window.mailLog()->isVisible());
    view.setMailLogVisible(false);
    EXPECT_FALSE(window.mailLog()->isVisible());
    EXPECT_TRUE(list->isVisible());
}

} // namespace
