// Bets, the 64-coin and credit limits, repeating the last bet, coin values, loans and new games.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/SavedFields.h"
#include "support/Scripted.h"

using namespace kazoomba;
using kazoomba::testing::Table;

TEST(Bank, NewGameStartsWithAThousandCredits) {
    Table t;
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f);
    EXPECT_FLOAT_EQ(t.s().Borrowed, 1000.0f);
    EXPECT_EQ(t.s().Smiles, 6);
    EXPECT_EQ(t.s().Bells, 3);
    EXPECT_EQ(t.s().CoinLabel, "25\xC2\xA2");
    EXPECT_FLOAT_EQ(t.s().MaxBet, 16.0f);
    EXPECT_EQ(t.game.Caption(), "Kazoomba Video Slots (32-bit version)");
}

TEST(Bank, TheEightCoinPressPastSixtyFourIsRefusedNamingCoinAndMaximum) {
    Table t;
    for (int i = 0; i < 60; ++i) t.game.PlaceCoins(1);
    EXPECT_FLOAT_EQ(t.s().Wager, 15.0f);
    t.game.PlaceCoins(8);
    ASSERT_EQ(t.cabinet.messages.size(), 1u);
    EXPECT_EQ(t.cabinet.messages[0].title, "Wager Not Allowed");
    EXPECT_EQ(t.cabinet.messages[0].text,
              "You cannot wager more than 64 coins at a time.  At the current coin value of 25\xC2\xA2, your "
              "maximum bet is $16.00.");
    EXPECT_EQ(t.cabinet.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_FLOAT_EQ(t.s().Wager, 15.0f);
    EXPECT_FLOAT_EQ(t.s().Credits, 985.0f);
    // Three more single coins are accepted; the fourth reaches $16.00 and spins by itself.
    for (int i = 0; i < 3; ++i) t.game.PlaceCoins(1);
    EXPECT_EQ(t.s().Spins, 0);
    t.game.PlaceCoins(1);
    EXPECT_EQ(t.s().Spins, 1);
    EXPECT_FLOAT_EQ(t.s().LastBet, 16.0f);
}

TEST(Bank, SixtyFourDimesAreAllAcceptedAndTheLastOneSpins) {
    Table t;
    t.game.SelectCoinValue(3);
    for (int i = 0; i < 63; ++i) t.game.PlaceCoins(1);
    EXPECT_TRUE(t.cabinet.messages.empty());
    EXPECT_EQ(t.s().Spins, 0);
    t.game.PlaceCoins(1);
    EXPECT_TRUE(t.cabinet.messages.empty());
    EXPECT_EQ(t.s().Spins, 1);
    EXPECT_NEAR(t.s().LastBet, 6.40f, 0.001f);
}

// Eight coins at a time at 5 and 10 cents: the float sum of eight presses lands near, not on, the maximum.
TEST(Bank, EightPressesOfBetEightAtFiveAndTenCentsSpinOnceWithoutARefusal) {
    for (int coin : {3, 4}) {
        Table t;
        t.game.SelectCoinValue(coin);
        for (int press = 1; press <= 7; ++press) {
            t.game.PlaceCoins(8);
            ASSERT_EQ(t.s().Spins, 0) << "coin " << coin << ", press " << press;
        }
        t.game.PlaceCoins(8);
        EXPECT_TRUE(t.cabinet.messages.empty()) << "coin " << coin;
        EXPECT_EQ(t.s().Spins, 1) << "coin " << coin;
        EXPECT_EQ(t.cabinet.animations, 1) << "coin " << coin;
        EXPECT_NEAR(t.s().LastBet, kCoinChoices[coin].maxBet, 0.001f) << "coin " << coin;
        EXPECT_EQ(t.s().LineCoins, (std::array<std::int16_t, kLines>{8, 8, 8, 8, 8, 8, 8, 8})) << "coin " << coin;
    }
}

TEST(Bank, CreditsMustCoverTheCoin) {
    Table t;
    t.s().Credits = 0.20f;
    t.game.PlaceCoins(1);
    ASSERT_EQ(t.cabinet.messages.size(), 1u);
    EXPECT_EQ(t.cabinet.messages[0].text, "You cannot wager more credits than you have!");
    EXPECT_EQ(t.cabinet.messages[0].title, "Wager Not Allowed");
    t.s().Credits = 0.25f;
    t.game.PlaceCoins(1);
    EXPECT_EQ(t.cabinet.messages.size(), 1u);
    EXPECT_FLOAT_EQ(t.s().Credits, 0.0f);
    EXPECT_EQ(t.cabinet.coinSounds, 1);
}

TEST(Bank, TheMaximumIsCheckedBeforeTheCredits) {
    Table t;
    for (int i = 0; i < 8; ++i) t.game.PlaceCoins(8);  // 64 coins; the eighth press spins
    t.s().Wager = 16.0f;
    t.s().Credits = 0.0f;
    t.game.PlaceCoins(1);
    EXPECT_EQ(t.cabinet.messages.back().text.rfind("You cannot wager more than 64", 0), 0u);
}

TEST(Bank, SpinWithoutAnyBetIsRefused) {
    Table t;
    t.game.SpinCommand();
    ASSERT_EQ(t.cabinet.messages.size(), 1u);
    EXPECT_EQ(t.cabinet.messages[0].title, "No Wager Placed");
    EXPECT_EQ(t.cabinet.messages[0].text, "Place a bet before spinning!");
    EXPECT_EQ(t.s().Spins, 0);
}

TEST(Bank, ALastBetAboveTheCreditsIsRefusedAndStopsAutoSpin) {
    Table t;
    t.s().LastBet = 16.0f;
    t.s().Credits = 10.0f;
    t.game.SpinCommand();
    ASSERT_EQ(t.cabinet.messages.size(), 1u);
    EXPECT_EQ(t.cabinet.messages[0].title, "Invalid Wager");
    EXPECT_EQ(t.cabinet.messages[0].text,
              "Your last wager is more than your available credits!  You need to borrow more credits or place a "
              "new wager.");
    t.game.ToggleAutoSpin();
    EXPECT_TRUE(t.cabinet.autoCheck);
    t.game.SpinCommand();
    ASSERT_EQ(t.cabinet.messages.size(), 3u);
    EXPECT_EQ(t.cabinet.messages[2].title, "Auto Spin Off");
    EXPECT_EQ(t.cabinet.messages[2].text,
              "Auto Spin mode turned off due to lack of available credits.  Maybe you should borrow some credits!");
    EXPECT_FALSE(t.s().AutoSpin);
    EXPECT_FALSE(t.cabinet.autoCheck);
    EXPECT_FLOAT_EQ(t.s().Credits, 10.0f);
    EXPECT_EQ(t.s().Spins, 0);
}

TEST(Bank, ChangingTheCoinValueReturnsPlacedCoins) {
    Table t;
    t.game.PlaceCoins(8);
    t.game.ChangeCoinValue(4);
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f);
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 0.0f);
    EXPECT_EQ(t.s().Wager, 0.0f);
    EXPECT_EQ(t.s().LastBet, 0.0f);
    EXPECT_EQ(t.cabinet.checkedCoin, 4);
    EXPECT_FLOAT_EQ(t.s().MaxBet, 3.2f);
    // The window is redrawn, then the bank as it now stands is saved.
    const auto& c = t.cabinet.calls;
    ASSERT_GE(c.size(), 2u);
    EXPECT_EQ(c[c.size() - 2], "redraw");
    EXPECT_EQ(c.back(), "checkpoint");  // a plain one: nothing waits for it
}

TEST(Bank, LoansAddUpWithoutLimit) {
    Table t;
    for (int i = 0; i < 5; ++i) t.game.Borrow(0);
    EXPECT_FLOAT_EQ(t.s().Borrowed, 6000.0f);
    EXPECT_FLOAT_EQ(t.s().Credits, 6000.0f);
    t.game.Borrow(4);
    EXPECT_FLOAT_EQ(t.s().Credits, 6050.0f);
}

TEST(Bank, CoinsAreDealtRoundRobinFromTheTopRow) {
    using A = std::array<std::int16_t, 8>;
    EXPECT_EQ(DealLineCoins(2.25f, 0.25f), (A{2, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(DealLineCoins(3.0f, 0.25f), (A{2, 2, 2, 2, 1, 1, 1, 1}));
    EXPECT_EQ(DealLineCoins(16.0f, 0.25f), (A{8, 8, 8, 8, 8, 8, 8, 8}));
    EXPECT_EQ(DealLineCoins(0.25f, 0.25f), (A{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(DealLineCoins(0.0f, 0.25f), (A{}));
}

TEST(Bank, NewGameKeepsNothingButTheSettings) {
    Table t;
    t.game.ChangeCoinValue(3);
    t.game.Borrow(0);
    GameState& s = t.s();
    s.Credits = 12.5f;
    s.TotalWagers = 300.0f;
    s.BonusPool = 50.0f;
    s.Smiles = 1;
    s.Bells = 1;
    s.BonusSpins = 2;
    s.BonusMode = true;
    s.Spins = 40;
    s.DoubleNothing = -20.0f;
    s.PoolPts = 30.0f;
    s.BarPts = 7.0f;
    s.CherryPts = 15.0f;
    s.LastBet = 2.0f;
    s.AutoSpin = true;
    s.WinStopValue = 100;
    t.game.StartNewGame();
    EXPECT_FLOAT_EQ(s.Credits, 1000.0f);
    EXPECT_FLOAT_EQ(s.Borrowed, 1000.0f);
    EXPECT_FLOAT_EQ(s.TotalWagers, 0.0f);
    EXPECT_EQ(s.BonusPool, 0.0f);
    EXPECT_EQ(s.Smiles, 6);
    EXPECT_EQ(s.Bells, 3);
    EXPECT_EQ(s.BonusSpins, 0);
    EXPECT_FALSE(s.BonusMode);
    EXPECT_FALSE(t.game.Reels().bonusSet);
    EXPECT_EQ(s.Spins, 0);
    EXPECT_EQ(s.DoubleNothing, 0.0f);
    EXPECT_EQ(s.PoolPts, 0.0f);
    EXPECT_EQ(s.BarPts, 0.0f);
    EXPECT_EQ(s.CherryPts, 0.0f);
    // The bet to repeat, the coin value and auto spin are the player's settings, not the game's.
    EXPECT_FLOAT_EQ(s.LastBet, 2.0f);
    EXPECT_EQ(s.CoinIndex, 3);
    EXPECT_FLOAT_EQ(s.CoinValue, 0.10f);
    EXPECT_TRUE(s.AutoSpin);
    EXPECT_EQ(s.WinStopValue, 100);
}

TEST(Bank, ANewGamePaysTheBetOnTheTableFromItsOwnCredits) {
    Table t;
    t.game.PlaceCoins(8);
    t.s().Credits = 3.0f;
    t.game.StartNewGame();
    EXPECT_FLOAT_EQ(t.s().Wager, 2.0f);
    EXPECT_FLOAT_EQ(t.s().Credits, 998.0f);
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 2.0f);
    EXPECT_FLOAT_EQ(t.s().Borrowed, 1000.0f);
    // The spin plays that bet without taking it a second time.
    t.game.SpinCommand();
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 2.0f);
    EXPECT_EQ(t.s().Spins, 1);
}

TEST(Bank, RestoringASavedGameInstallsItsMoneyCountersAndCoinValue) {
    Table t;
    t.game.PlaceCoins(8);
    GameState saved;
    saved.Credits = 4242.5f;
    saved.TotalWagers = 880.0f;
    saved.BonusPool = 12.75f;
    saved.Spins = 321;
    saved.Smiles = 2;
    saved.Bells = 1;
    saved.CherryPts = 40.0f;
    saved.BarPts = 3.0f;
    saved.PoolPts = 60.0f;
    saved.DoubleNothing = -15.0f;
    saved.Borrowed = 3000.0f;
    saved.LastBet = 3.2f;
    saved.CoinIndex = 4;
    t.cabinet.calls.clear();
    const int rebuilds = t.cabinet.rebuilds;
    t.game.Restore(saved);
    const GameState& s = t.game.State();
    kazoomba::testing::ExpectSameSavedFields(s, saved);
    // The coin value is chosen as the menu chooses it: checked, priced, placed coins abandoned, redrawn.
    EXPECT_EQ(s.CoinIndex, 4);
    EXPECT_FLOAT_EQ(s.CoinValue, 0.05f);
    EXPECT_FLOAT_EQ(s.MaxBet, 3.2f);
    EXPECT_EQ(s.CoinLabel, "5\xC2\xA2");
    EXPECT_EQ(t.cabinet.checkedCoin, 4);
    EXPECT_FLOAT_EQ(s.Wager, 0.0f);
    EXPECT_EQ(s.LineCoins, (std::array<std::int16_t, kLines>{}));
    EXPECT_EQ(std::count(t.cabinet.calls.begin(), t.cabinet.calls.end(), "redraw"), 1);
    EXPECT_EQ(t.cabinet.rebuilds, rebuilds + 1);
}
