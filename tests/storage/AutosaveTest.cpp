// The game in play is written after every settled spin and every change to the bank, as the game wires it.
#include <gtest/gtest.h>

#include "StorageSupport.h"
#include "common/NumberPicture.h"

namespace kazoomba::testing {
namespace {

class Autosave : public SettingsFolder {
protected:
    int saves = 0;
    void SetUp() override {
        table.cabinet.onCheckpoint = [this] {
            ++saves;
            ASSERT_TRUE(SaveCurrentGame(file, table.game, menus));
        };
    }
    QString Saved(const char* key) { return Read("Current Game", key); }
};

TEST_F(Autosave, EachSettledSpinIsInTheFileBeforeTheNextBegins) {
    std::vector<QString> spinsSavedAtEachSpin;
    table.cabinet.onAnimate = [&] { spinsSavedAtEachSpin.push_back(Saved("Spins")); };
    // Every wheel on stop 6 wins: the outcome is saved as the reels start, the win as it is shown, then
    // the settled spin.
    table.game.PlaceCoins(8);
    table.game.SpinCommand();
    EXPECT_EQ(saves, 3);
    EXPECT_EQ(Saved("Spins"), "1");
    EXPECT_EQ(LeadingNumber(Saved("Credits").toStdString()), s().Credits);
    EXPECT_EQ(Saved("LastBet"), "2.00");
    table.game.SpinCommand();  // the last bet again
    EXPECT_EQ(saves, 6);
    // As its reels start, each spin is in the file, counted, with its bet taken.
    EXPECT_EQ(spinsSavedAtEachSpin, (std::vector<QString>{"1", "2"}));
    EXPECT_EQ(Saved("Spins"), "2");
}

TEST_F(Autosave, ALoanANewGameAndACoinValueAreSavedAtOnce) {
    table.game.Borrow(0);
    EXPECT_EQ(Saved("Credits"), "2000.00");
    EXPECT_EQ(Saved("Borrowed"), "2000");
    table.game.ChangeCoinValue(0);
    EXPECT_EQ(Saved("Coins"), "0");
    table.game.StartNewGame();
    EXPECT_EQ(Saved("Credits"), "1000.00");
    EXPECT_EQ(Saved("Borrowed"), "1000");
    EXPECT_EQ(saves, 3);
}

}  // namespace
}  // namespace kazoomba::testing
