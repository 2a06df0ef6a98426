// Bets, the 64-coin and credit limits, repeating the last bet, coin values, loans and new games.
#include <gtest/gtest.h>

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
    EXPECT_EQ(t.cabinet.calls.back(), "redraw");
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
    t.s().BonusPool = 50.0f;
    t.s().Smiles = 1;
    t.s().Bells = 1;
    t.s().Spins = 40;
    t.s().LastBet = 2.0f;
    t.game.StartNewGame();
    EXPECT_EQ(t.s().BonusPool, 0.0f);
    EXPECT_EQ(t.s().Smiles, 6);
    EXPECT_EQ(t.s().Bells, 3);
    EXPECT_EQ(t.s().Spins, 0);
    EXPECT_FLOAT_EQ(t.s().LastBet, 2.0f);
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
