// The game itself, started offscreen on a settings file of its own: what a signal does with a save that fails.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

#include "GameProcess.h"
#include "storage/StorageSupport.h"
#include "support/QtApp.h"

namespace kazoomba::testing {
namespace {

TEST(GameProcess, ASignalSaysOnStandardErrorWhyTheGameWasNotSaved) {
    App();
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("kazoomba"));
    const QString ini = folder + QStringLiteral("/KAZO.INI");
    QProcess game;
    StartGame(game, home);
    ASSERT_TRUE(game.waitForStarted());
    // The lock beside the file shows the game holds it; a handler for SIGHUP, which the sound library
    // leaves alone, shows the game now listens for signals.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(game.processId(), SIGHUP); }, 60000));
    EXPECT_TRUE(QFileInfo::exists(ini + QStringLiteral(".lock")));
    // A KAZO.INI that turns into a folder while the game runs fails every save, even for root. (One that
    // is a folder at start is told at start, and never written.)
    ASSERT_TRUE(QDir().mkpath(ini));
    kill(static_cast<pid_t>(game.processId()), SIGTERM);
    ASSERT_TRUE(game.waitForFinished(30000));
    EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
    const QString err = QString::fromLocal8Bit(game.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("kazoomba: SIGTERM: your game could not be saved to ") + ini +
                             QStringLiteral(": it is a folder or device, not a file.")))
        << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(ini + QStringLiteral(".lock")));
}

class SecondStart : public ::testing::TestWithParam<int> {};

// The second copy's "already running" message ends on the signal, and the first game plays on.
TEST_P(SecondStart, TheAlreadyRunningMessageEndsOnTheSignal) {
    App();
    QTemporaryDir home;
    QProcess first, second;
    StartGame(first, home);
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(first.processId(), SIGHUP); }, 60000));
    StartGame(second, home);
    ASSERT_TRUE(second.waitForStarted());
    // Only the message's own guard catches SIGHUP in the second copy.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(second.processId(), SIGHUP); }, 60000));
    kill(static_cast<pid_t>(second.processId()), GetParam());
    EXPECT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.state(), QProcess::Running);
    kill(static_cast<pid_t>(first.processId()), SIGTERM);
    EXPECT_TRUE(first.waitForFinished(30000));
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, SecondStart, ::testing::Values(SIGTERM, SIGINT));

// A settings file the game cannot read is told at start; a game ended there leaves it as it was.
TEST(GameProcess, AFileTheGameCannotReadIsLeftAsItWasByAGameEndedAtItsMessage) {
    App();
    QTemporaryDir home;
    const QString ini = home.filePath(QStringLiteral("kazoomba/KAZO.INI"));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("kazoomba"))));
    const QByteArray damaged = QByteArray("\xFF\xFE[\0S\0", 6) + 'x';  // UTF-16 that breaks off mid-character
    WriteBytes(ini, damaged);
    QProcess game;
    StartGame(game, home);
    ASSERT_TRUE(game.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(game.processId(), SIGHUP); }, 60000));
    kill(static_cast<pid_t>(game.processId()), SIGTERM);
    ASSERT_TRUE(game.waitForFinished(30000));
    EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ReadBytes(ini), damaged);
}

TEST(GameProcess, ACopyOutsideTheBuildTreeLooksForItsDataOnlyBesideItselfAndNamesEachMissingFileOnce) {
    App();
    QTemporaryDir root;
    // An install without its share/ folder: the build's source tree, still on this disk, must not be used.
    const QString games = root.filePath(QStringLiteral("prefix/games"));
    ASSERT_TRUE(QDir().mkpath(games));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KAZOOMBA_GAME), games + QStringLiteral("/kazoomba")));
    const QString nowhere = root.filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkpath(nowhere));
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), nowhere);
    env.insert(QStringLiteral("XDG_DATA_DIRS"), nowhere);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    game.setProcessEnvironment(env);
    game.setProgram(games + QStringLiteral("/kazoomba"));
    game.start();
    ASSERT_TRUE(game.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(game.processId(), SIGHUP); }, 60000));
    kill(static_cast<pid_t>(game.processId()), SIGTERM);
    ASSERT_TRUE(game.waitForFinished(30000));
    const QString err = QString::fromLocal8Bit(game.readAllStandardError());
    const QString data = QDir::cleanPath(games + QStringLiteral("/../share/kazoomba"));
    EXPECT_TRUE(err.contains(QStringLiteral("kazoomba: art not found in ") + data + QStringLiteral(": "))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("kazoomba: sounds not found in ") + data + QStringLiteral("/sounds"))) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral(KAZOOMBA_SOURCE_DIR))) << err.toStdString();
    // Each missing file named once, in the one list.
    EXPECT_EQ(err.count(QStringLiteral("symbols/05-smile.svg")), 1) << err.toStdString();
    EXPECT_EQ(err.count(QStringLiteral("not found")), 2) << err.toStdString();
}

}  // namespace
}  // namespace kazoomba::testing
