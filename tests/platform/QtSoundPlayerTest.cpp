// The chime player: a missing, broken or never-loading file gives a beep and
// reports failure; the shipped chime loads.

#include "QtSoundPlayer.h"

#include "SourceFile.h"
#include "TestEnvironment.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace {

class QtSoundPlayerTest : public ::testing::Test {
protected:
    QtSoundPlayer::Beep countBeeps() {
        return [this] {
            ++m_beeps;
        };
    }
    SoundPlayer::Outcome keep(std::optional<bool>& into) {
        return [&into](bool played) {
            into = played;
        };
    }
    // Runs the event loop until outcome is known (decoding happens on a
    // worker thread), with a guard against a player that never answers.
    static void settle(const std::optional<bool>& outcome) {
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (outcome)
                loop.quit();
        });
        check.start(1);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    static QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = TestEnvironment::folder() + QLatin1Char('/') + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

    int m_beeps = 0;
};

TEST_F(QtSoundPlayerTest, MissingFileBeepsAndFailsAtOnce) {
    QtSoundPlayer player(countBeeps());
    std::optional<bool> outcome;
    player.play(TestEnvironment::folder() + QStringLiteral("/no-such.wav"), keep(outcome));
    EXPECT_EQ(outcome, std::optional<bool>(false));
    player.play(QString());
    EXPECT_EQ(m_beeps, 2);
}

TEST_F(QtSoundPlayerTest, FileThatNeverLoadsBeepsAfterTheTimeOut) {
    QtSoundPlayer player(countBeeps(), 0);
    std::optional<bool> outcome;
    player.play(writeFile(QStringLiteral("notes.wav"), "not a sound at all\n"), keep(outcome));
    settle(outcome);
    EXPECT_EQ(outcome, std::optional<bool>(false));
    EXPECT_EQ(m_beeps, 1);
}

TEST_F(QtSoundPlayerTest, NewerSoundReplacesOneStillLoadingWithASingleBeep) {
    QtSoundPlayer player(countBeeps(), 60000);
    std::optional<bool> first;
    std::optional<bool> second;
    player.play(writeFile(QStringLiteral("slow.wav"), "still not a sound\n"), keep(first));
    // The decoder runs on a thread of its own: on a busy machine it may give
    // up on the file before the newer sound comes, and that failure beeps.
    const int failedOnItsOwn = first ? 1 : 0;
    player.play(QStringLiteral("/nonexistent/ding.wav"), keep(second));
    EXPECT_EQ(first, std::optional<bool>(false));
    EXPECT_EQ(second, std::optional<bool>(false));
    EXPECT_EQ(m_beeps, 1 + failedOnItsOwn);
}

TEST_F(QtSoundPlayerTest, ShippedChimePlaysWithoutABeepAndAgainAtOnce) {
    const QString chime = sourceFile(QStringLiteral("resources/sounds/ding.wav"));
    ASSERT_TRUE(QFile::exists(chime));
    QtSoundPlayer player(countBeeps(), 60000);
    std::optional<bool> outcome;
    player.play(chime, keep(outcome));
    settle(outcome);
    EXPECT_EQ(outcome, std::optional<bool>(true));
    std::optional<bool> again;
    player.play(chime, keep(again));
    EXPECT_EQ(again, std::optional<bool>(true));
    EXPECT_EQ(m_beeps, 0);
}

} // namespace
