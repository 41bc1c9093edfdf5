// The credentials form: its texts, the masked password, and what OK and
// Cancel give back.

#include "TfrmPassword.h"
#include "TfrmCredentialsPrompt.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const CredentialsPromptTexts kGerman{QStringLiteral("Hometown Dial"),
                                     QStringLiteral("&Benutzername:"), QStringLiteral("&Kennwort:"),
                                     QStringLiteral("OK"), QStringLiteral("Abbrechen")};

template <typename T> T* child(QWidget& form, const char* name) {
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST(TfrmPasswordTest, ShowsTheEntryAndItsTextsWithTheUserNameFilledInAndThePasswordMasked) {
    TfrmPassword form(kGerman, QStringLiteral("anna"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Hometown Dial"));
    EXPECT_EQ(child<QLabel>(form, "Label1")->text(), QStringLiteral("&Benutzername:"));
    EXPECT_EQ(child<QLabel>(form, "Label2")->text(), QStringLiteral("&Kennwort:"));
    EXPECT_EQ(child<QLabel>(form, "Label2")->buddy(), child<QLineEdit>(form, "Edit2"));
    EXPECT_EQ(child<QPushButton>(form, "Button1")->text(), QStringLiteral("OK"));
    EXPECT_EQ(child<QPushButton>(form, "Button2")->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(child<QLineEdit>(form, "Edit1")->text(), QStringLiteral("anna"));
    EXPECT_EQ(child<QLineEdit>(form, "Edit2")->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(child<QLineEdit>(form, "Edit2")->text().isEmpty());
}

// Answers the next modal form with typed values and a button.
void answerNextForm(const QString& user, const QString& password, const char* button) {
    QTimer::singleShot(0, [=] {
        auto* form = qobject_cast<TfrmPassword*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        child<QLineEdit>(*form, "Edit1")->setText(user);
        child<QLineEdit>(*form, "Edit2")->setText(password);
        child<QPushButton>(*form, button)->click();
    });
}

TEST(TfrmPasswordTest, OkGivesTheTypedCredentialsAndCancelNothing) {
    TfrmCredentialsPrompt prompt(nullptr);
    answerNextForm(QStringLiteral("bert"), QStringLiteral("s3cret"), "Button1");
    const auto typed = prompt.ask(kGerman, QStringLiteral("anna"));
    ASSERT_TRUE(typed.has_value());
    EXPECT_EQ(typed->userName, QStringLiteral("bert"));
    EXPECT_EQ(typed->password, QStringLiteral("s3cret"));

    answerNextForm(QStringLiteral("bert"), QStringLiteral("s3cret"), "Button2");
    EXPECT_FALSE(prompt.ask(kGerman, QStringLiteral("anna")).has_value());
}

} // namespace
