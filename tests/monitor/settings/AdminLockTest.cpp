// The administrator's gate and the set-password sequence: when the gate
// asks, what a right, wrong, empty or cancelled entry does, and how the
// password is stored and verified.

#include "AdminLock.h"
#include "EventKind.h"
#include "ScriptedPasswordPrompt.h"
#include "SessionState.h"
#include "SetPasswordSequence.h"
#include "SettingsTestSupport.h"
#include "ShiftedText.h"
#include "SqliteRegistryStore.h"

#include <QTemporaryDir>

namespace {

class RecordingEvents : public EventSink {
public:
    void PostEvent(const QString& text, EventKind kind) override {
        events << QStringLiteral("%1:%2").arg(int(kind)).arg(text);
    }
    QStringList events;
};

class AdminLockTest : public SettingsFixture {
protected:
    RecordingEvents events;
    SessionState session;
    ScriptedPasswordPrompt prompt;
    AdminLock lock{settings, intl, events, session, prompt};

    void protect(bool propwnd, bool exitcmd, const QString& password) {
        settings.WriteFlag(kSettingsKey, "Protect propwnd", propwnd);
        settings.WriteFlag(kSettingsKey, "Protect exitcmd", exitcmd);
        setUser("PW", ShiftedText::shift(password));
    }
};

TEST_F(AdminLockTest, BothProtectionsOffShowNothingAndLetEverythingThrough) {
    setUser("PW", ShiftedText::shift("secret"));
    EXPECT_FALSE(lock.IsItProtected(false));
    EXPECT_FALSE(lock.IsItProtected(true));
    EXPECT_TRUE(prompt.requests.isEmpty());
    EXPECT_TRUE(events.events.isEmpty());
}

TEST_F(AdminLockTest, ExitOnlyProtectionAsksOnlyAtExit) {
    protect(false, true, "secret");
    EXPECT_FALSE(lock.IsItProtected(false));
    EXPECT_TRUE(prompt.requests.isEmpty());
    prompt.answers = {QString("secret")};
    EXPECT_FALSE(lock.IsItProtected(true));
    ASSERT_EQ(prompt.requests.size(), 1);
    EXPECT_EQ(prompt.requests[0].caption, "Password protected function");
    EXPECT_EQ(prompt.requests[0].label,
              "This function is password protected. Please enter the administrator's password:");
    EXPECT_EQ(prompt.requests[0].okText, "OK");
    EXPECT_EQ(prompt.requests[0].cancelText, "Cancel");
    // A right password only brings the pictures back.
    EXPECT_EQ(events.events, QStringList{"1:"});
}

TEST_F(AdminLockTest, AWrongPasswordIsAnErrorEventAndCancelRefusesSilently) {
    protect(true, false, "Secret");
    prompt.answers = {QString("secret"), std::nullopt};
    EXPECT_TRUE(lock.IsItProtected(false));
    EXPECT_EQ(events.events, QStringList{"4:Incorrect password entered"});
    EXPECT_TRUE(lock.IsItProtected(false));
    EXPECT_EQ(events.events.size(), 1);
    EXPECT_EQ(prompt.requests.size(), 2);
}

TEST_F(AdminLockTest, AnEmptyStoredPasswordIsMatchedByAnEmptyEntryOnly) {
    protect(true, true, QString());
    prompt.answers = {QString(), QString("x")};
    EXPECT_FALSE(lock.IsItProtected(true));
    EXPECT_TRUE(lock.IsItProtected(false));
}

TEST_F(AdminLockTest, ARightPasswordWhileOnlineRestoresTheConnectedPictures) {
    protect(true, false, "pw");
    session.Online = true;
    prompt.answers = {QString("pw")};
    EXPECT_FALSE(lock.IsItProtected(false));
    EXPECT_EQ(events.events, QStringList{"2:"});
}

TEST_F(AdminLockTest, StoredFormsFromAnotherInstallationVerify) {
    // Lowered by the fixed offset of 5, modulo 256: "Ab\x02" is stored as
    // "<]" followed by code 253.
    settings.WriteFlag(kSettingsKey, "Protect propwnd", true);
    setUser("PW", QString::fromLatin1("<]\xfd"));
    prompt.answers = {QString::fromLatin1("Ab\x02")};
    EXPECT_FALSE(lock.IsItProtected(false));
}

class SetPasswordTest : public SettingsFixture {
protected:
    ScriptedPasswordPrompt prompt;
    SetPasswordSequence sequence{settings, intl, prompt};
    QStringList labels() const {
        QStringList out;
        for (const PasswordRequest& r : prompt.requests)
            out << r.label;
        return out;
    }
};

TEST_F(SetPasswordTest, APasswordIsAskedTwiceUntilBothAgreeAndStoredShiftedAtOnce) {
    prompt.answers = {QString("Tiger"), QString("tiger"), QString("Tiger")};
    EXPECT_TRUE(sequence.run());
    EXPECT_EQ(labels(),
              (QStringList{"Enter the password that will be required for some Tollwatch functions:",
                           "Please reenter the password to verify it:",
                           "You didn't enter the same password. Please verify the password:"}));
    EXPECT_EQ(prompt.requests[0].caption, "Administrator's Password");
    EXPECT_EQ(user("PW"), ShiftedText::shift("Tiger"));
    EXPECT_NE(user("PW"), "Tiger");
}

TEST_F(SetPasswordTest, CancelAtEitherStepLeavesTheOldPasswordInForce) {
    setUser("PW", ShiftedText::shift("old"));
    prompt.answers = {std::nullopt};
    EXPECT_FALSE(sequence.run());
    prompt.answers = {QString("new"), QString("nwe"), std::nullopt};
    EXPECT_FALSE(sequence.run());
    EXPECT_EQ(user("PW"), ShiftedText::shift("old"));
}

TEST_F(SetPasswordTest, AnEmptyPasswordIsAcceptedWithoutVerifying) {
    setUser("PW", ShiftedText::shift("old"));
    prompt.answers = {QString()};
    EXPECT_TRUE(sequence.run());
    EXPECT_EQ(prompt.requests.size(), 1);
    EXPECT_EQ(settings.ReadText(kSettingsKey, "PW", "<default>"), "<default>");
}

TEST(SetPasswordStoreTest, CharactersBelowTheOffsetWrapAndVerifyThroughTheStoreFile) {
    QTemporaryDir dir;
    SqliteRegistryStore store(dir.filePath("registry.sqlite"));
    Settings settings(store);
    IntlStrings intl(settings);
    // Codes 1 and 4 wrap to 252 and 255, 5 becomes 0; a space goes to 27.
    const QString password = QString::fromLatin1("a b\x01\x04Z\x05", 7);
    ScriptedPasswordPrompt prompt;
    prompt.answers = {password, password, password, QString("a b")};
    ASSERT_TRUE(SetPasswordSequence(settings, intl, prompt).run());
    const QString stored = settings.ReadText(kSettingsKey, "PW", QString());
    ASSERT_EQ(stored.size(), password.size());
    EXPECT_EQ(stored.at(3).unicode(), 252);
    EXPECT_EQ(stored.at(4).unicode(), 255);
    EXPECT_EQ(stored.at(6).unicode(), 0);
    settings.WriteFlag(kSettingsKey, "Protect exitcmd", true);
    class NoEvents : public EventSink {
        void PostEvent(const QString&, EventKind) override {}
    } events;
    SessionState session;
    AdminLock lock(settings, intl, events, session, prompt);
    EXPECT_FALSE(lock.IsItProtected(true));
    EXPECT_TRUE(lock.IsItProtected(true));
}

} // namespace
