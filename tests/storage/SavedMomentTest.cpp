// The moment of a spin kept beside the game in play: written at each checkpoint, read back from one
// snapshot of the file, checked whole, and carried on after a crash.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <tuple>
#include <unistd.h>

#include "StorageSupport.h"
#include "gamble/Board.h"
#include "support/Stops.h"

namespace kazoomba::testing {
namespace {

class SavedMoment : public SettingsFolder {
protected:
    std::vector<QByteArray> files;  // the file as each checkpoint left it
    void SetUp() override {
        table.cabinet.onCheckpoint = [this] {
            ASSERT_TRUE(SaveCurrentGame(file, table.game, menus));
            files.push_back(ReadBytes(path));
        };
    }
    // The file a kill at this checkpoint would have left.
    void KilledAt(std::size_t checkpoint) { WriteBytes(path, files.at(checkpoint)); }
    // The program started again on the file: the game saved at exit, then its moment carried on.
    void Restart(Table& again) {
        RecordingMenus m;
        LoadGame(file, again.game, m, kCurrentGameSlot);
        again.game.ResumeMoment();
    }
    QString Saved(const char* key) { return Read("Current Game", key); }
};

TEST_F(SavedMoment, AWinOnScreenIsKeptBesideTheGameAndOlderKeysStayAsTheyWere) {
    table.cabinet.outcomes = {kTargetTop};
    table.cabinet.onPresentWin = [this] {
        EXPECT_EQ(Saved("Moment"), "Payoffs");
        EXPECT_EQ(Saved("Stops"), "6,6,6,1,1,1,1,1,1");
        EXPECT_EQ(Saved("SpinWin"), "6.25");
        EXPECT_EQ(Saved("LinePays"), "25,0,0,0,0,0,0,0");
        // The game's own keys read as a reader that knows nothing of the moment reads them: the bet is
        // out and the win not yet in.
        EXPECT_EQ(Saved("Credits"), "999.75");
        EXPECT_EQ(Saved("Spins"), "1");
        table.game.TakeWin();
    };
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    EXPECT_EQ(Saved("Moment"), "Idle");
    EXPECT_EQ(Saved("Credits"), "1006.00");
    // The sixteen keys come first and in their order, the moment's after them.
    const QByteArray text = ReadBytes(path);
    EXPECT_LT(text.indexOf("BannerOn="), text.indexOf("Moment="));
    EXPECT_LT(text.indexOf("GameName="), text.indexOf("Credits="));
}

TEST_F(SavedMoment, AWinKilledOnScreenComesBackToBeTakenOnce) {
    table.cabinet.outcomes = {kTargetTop};
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    ASSERT_EQ(files.size(), 3u);  // the reels starting, the win shown, settled
    KilledAt(1);

    Table again;
    Restart(again);
    EXPECT_EQ(again.cabinet.presentedWins, std::vector<float>{6.25f});
    EXPECT_EQ(again.cabinet.animations, 0);
    EXPECT_EQ(again.s().Spins, 1);
    EXPECT_FLOAT_EQ(again.s().Credits, 1006.0f);
    EXPECT_FLOAT_EQ(again.s().TotalWagers, 0.25f);
    EXPECT_EQ(again.game.Reels().StopIndex, (std::array<std::int16_t, 9>{6, 6, 6, 1, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(again.cabinet.messages.empty());
}

// The outcome is in the file, with its bet taken, before the reels move: a game killed while they move
// comes back with them at rest on that outcome and settles it once. The old keys keep their meaning.
TEST_F(SavedMoment, ASpinKilledWhileItsReelsMoveComesBackAtRestAndIsSettledOnce) {
    table.cabinet.outcomes = {kTargetTop};
    table.cabinet.onAnimate = [this] {
        EXPECT_EQ(Saved("Moment"), "Reels");
        EXPECT_EQ(Saved("Stops"), "6,6,6,1,1,1,1,1,1");
        EXPECT_EQ(Saved("Credits"), "999.75");
        EXPECT_EQ(Saved("TotalWagers"), "0.25");
        EXPECT_EQ(Saved("Spins"), "1");
        EXPECT_EQ(Saved("LastBet"), "0.25");
    };
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    KilledAt(0);

    Table again;
    Restart(again);
    EXPECT_TRUE(again.cabinet.messages.empty());
    EXPECT_EQ(again.cabinet.animations, 0) << "the reels rest where they were going";
    EXPECT_EQ(again.game.Reels().StopIndex, (std::array<std::int16_t, 9>{6, 6, 6, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(again.cabinet.presentedWins, std::vector<float>{6.25f});
    EXPECT_EQ(again.s().Spins, 1);
    EXPECT_FLOAT_EQ(again.s().Credits, 1006.0f);
    EXPECT_FLOAT_EQ(again.s().TotalWagers, 0.25f);
    EXPECT_TRUE(again.s().SpinReady);
    // Settled, it is kept as settled: a second crash does not settle it again.
    RecordingMenus m;
    ASSERT_TRUE(SaveCurrentGame(file, again.game, m));
    EXPECT_EQ(Saved("Moment"), "Idle");
}

TEST_F(SavedMoment, ABoardKilledAfterABoxComesBackWithItsBoxesAndItsWinnings) {
    table.cabinet.outcomes = {kTargetTop};
    table.cabinet.onPresentWin = [this] {
        QueueIdentityShuffle(table.random);
        table.game.OpenBoard(table.random);
        table.game.PickBox(2);  // 3X
        table.game.QuitBoard();
    };
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    ASSERT_EQ(files.size(), 5u);  // the reels starting, win, board opened, a box, settled
    KilledAt(3);
    EXPECT_EQ(Saved("Moment"), "Board");
    EXPECT_EQ(Saved("Winnings"), "18.75");
    EXPECT_EQ(Saved("BoxesOpened"), "0,1,0,0,0,0,0,0,0,0,0,0,0,0,0");

    Table again;
    std::array<bool, kBoxes> opened{};
    again.cabinet.onResumeBoard = [&] {
        ASSERT_NE(again.game.OpenedBoard(), nullptr);
        opened = again.game.OpenedBoard()->BoxOpened();
        EXPECT_FLOAT_EQ(again.game.OpenedBoard()->Winnings(), 18.75f);
        again.game.PickBox(1);  // 5X
        again.game.QuitBoard();
    };
    Restart(again);
    EXPECT_TRUE(opened[1]);
    EXPECT_FALSE(opened[0]);
    EXPECT_FLOAT_EQ(again.s().Credits, 999.75f + 93.75f);
    EXPECT_FLOAT_EQ(again.s().DoubleNothing, 93.75f - 6.25f);
}

TEST_F(SavedMoment, BonusSpinsKilledAfterTheAwardAreAllPlayed) {
    s().Smiles = 1;
    table.cabinet.outcomes = {kSmileTop};
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    KilledAt(2);  // the award spin settled, three bonus spins to come
    EXPECT_EQ(Saved("Moment"), "BonusSpins");
    EXPECT_EQ(Saved("BonusSpins"), "3");

    Table again;
    again.cabinet.outcomes = {kTripleTop, kTripleTop, kTripleTop};
    Restart(again);
    EXPECT_EQ(again.cabinet.animations, 3);
    EXPECT_EQ(again.s().Spins, 4);
    EXPECT_FLOAT_EQ(again.s().Credits, 999.75f + 2.5f + 3 * 12.5f);
    EXPECT_FLOAT_EQ(again.s().TotalWagers, 0.25f);
}

TEST_F(SavedMoment, ARecordThatCannotBeTrueIsRefusedWithAMessageAndTheGameLoadsWithoutIt) {
    table.cabinet.outcomes = {kTargetTop};
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    for (const auto& [key, value, why] : std::vector<std::tuple<QString, QString, std::string>>{
             {"SpinWin", "375.00", "the win is larger than the reels pay"},
             {"BonusSpins", "4", "more bonus spins are left than a SMILE award gives"},
             {"Stops", "6,6,6,1,1", "its reel stops cannot be read"},
             {"Moment", "Later", "its kind cannot be read"}}) {
        KilledAt(1);
        ASSERT_TRUE(file.WriteString("Current Game", key, value));
        Table again;
        Restart(again);
        ASSERT_EQ(again.cabinet.messages.size(), 1u) << key.toStdString();
        EXPECT_EQ(again.cabinet.messages[0].title, "Spin Not Restored");
        EXPECT_NE(again.cabinet.messages[0].text.find(why), std::string::npos) << again.cabinet.messages[0].text;
        EXPECT_TRUE(again.cabinet.presentedWins.empty());
        EXPECT_FLOAT_EQ(again.s().Credits, 999.75f);
        EXPECT_EQ(again.s().Spins, 1);
        EXPECT_TRUE(again.s().SpinReady);
    }
    // An impossible board.
    files.clear();
    table.cabinet.onPresentWin = [this] {
        QueueIdentityShuffle(table.random);
        table.game.OpenBoard(table.random);
        table.game.QuitBoard();
    };
    table.cabinet.outcomes = {kTargetTop};
    table.game.SpinCommand();
    KilledAt(2);
    ASSERT_TRUE(file.WriteString("Current Game", "Boxes", "0,0,2,3,4,5,6,7,8,9,10,11,12,13,14"));
    Table again;
    Restart(again);
    ASSERT_EQ(again.cabinet.messages.size(), 1u);
    EXPECT_NE(again.cabinet.messages[0].text.find("fifteen boxes"), std::string::npos);
    EXPECT_EQ(again.cabinet.resumedBoards, 0);
}

// The reason given is the one that is true of the text: a count below zero is not "too many", and an
// amount that is no number is not "smaller than the reels pay".
TEST_F(SavedMoment, ARefusalNamesTheKeyItsTextAndTheRealReason) {
    table.cabinet.outcomes = {kTargetTop};
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    for (const auto& [key, value, why] : std::vector<std::tuple<QString, QString, std::string>>{
             {"BonusSpins", "-1", "BonusSpins \"-1\" is below zero"},
             {"SpinWin", "1e39", "SpinWin \"1e39\" has more than a number in it"},
             {"SpinWin", "abc", "SpinWin \"abc\" is not a number"},
             {"SpinWin", "-6.25", "SpinWin \"-6.25\" is below zero"},
             {"PoolWon", "1" + QString(40, u'0'), "PoolWon \"100000000000000000000000...\" is too large"},
             {"Stops", "6,6,6,1,1", "Stops \"6,6,6,1,1\" is not 9 whole numbers"},
             {"Stops", "6,6,6,1,1,1,1,1,99", "has a stop that is not on its strip"}}) {
        KilledAt(1);
        ASSERT_TRUE(file.WriteString("Current Game", key, value));
        Table again;
        Restart(again);
        ASSERT_EQ(again.cabinet.messages.size(), 1u) << key.toStdString();
        const std::string& text = again.cabinet.messages[0].text;
        EXPECT_NE(text.find(why), std::string::npos) << text;
        EXPECT_EQ(text.find("smaller than the reels pay"), std::string::npos) << text;
        EXPECT_EQ(text.find("than a SMILE award gives"), std::string::npos) << text;
        EXPECT_TRUE(again.cabinet.presentedWins.empty());
    }
}

TEST_F(SavedMoment, AFileWithoutTheMomentLoadsAsBefore) {
    WriteBytes(path, "[Current Game]\nCredits=1234.50\nSpins=7\nLastBet=2.00\n");
    Table again;
    Restart(again);
    EXPECT_FLOAT_EQ(again.s().Credits, 1234.5f);
    EXPECT_EQ(again.game.Moment().phase, MomentPhase::Idle);
    EXPECT_TRUE(again.cabinet.messages.empty());
    EXPECT_TRUE(again.s().SpinReady);
}

TEST_F(SavedMoment, ALoadReadsTheFileOnce) {
    table.cabinet.outcomes = {kTargetTop};
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    const int watcher = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watcher, 0);
    // Closes are watched too: the kernel folds identical events in a row into one, and an open followed by
    // its close keeps every open apart.
    ASSERT_GE(inotify_add_watch(watcher, path.toLocal8Bit().constData(), IN_OPEN | IN_CLOSE), 0);
    Table again;
    RecordingMenus m;
    LoadGame(file, again.game, m, kCurrentGameSlot);
    int opens = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = read(watcher, buffer, sizeof buffer)) > 0;)
        for (char* p = buffer; p < buffer + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
            opens += (reinterpret_cast<inotify_event*>(p)->mask & IN_OPEN) != 0;
    close(watcher);
    EXPECT_EQ(opens, 1);
}

}  // namespace
}  // namespace kazoomba::testing
