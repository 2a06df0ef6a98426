// Bets, the 64-coin and credit limits, repeating the last bet, coin values, loans and new games.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "gamble/Board.h"
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

namespace {

// Outcomes a played game meets: nothing, a line win, a SMILE award (its bonus spins follow), Globe lines
// toward the pool, and a win on the bonus strips.
constexpr std::array<std::array<int, 9>, 6> kOutcomes = {{{1, 1, 1, 1, 1, 1, 1, 1, 1},
                                                          {6, 6, 6, 1, 1, 1, 1, 1, 1},
                                                          {3, 3, 3, 1, 1, 1, 1, 1, 1},
                                                          {9, 9, 9, 1, 1, 1, 1, 1, 1},
                                                          {9, 9, 9, 0, 0, 0, 0, 0, 0},
                                                          {8, 1, 1, 1, 1, 1, 1, 1, 1}}};

// Plays a game as a player might, from one seed: coin values, bets of every size, loans, spins of every
// kind with wins taken or staked on the board; then leaves it as a loaded game could have it, mid-award
// included, with a bet on the table.
void PlayAnything(Table& t, std::mt19937& rng) {
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    t.cabinet.onAnimate = [&] {
        const auto& stops = kOutcomes[pick(static_cast<int>(kOutcomes.size()))];
        for (int c = 0; c < 9; ++c) GameDoor::Reels(t.game).StopIndex[c] = static_cast<std::int16_t>(stops[c]);
    };
    t.cabinet.onPresentWin = [&] {
        if (pick(2)) return t.game.TakeWin();
        t.game.OpenBoard(t.random);
        while (t.game.OpenedBoard()->BoardLive() && pick(3)) t.game.PickBox(1 + pick(kBoxes));
        t.game.QuitBoard();
    };
    t.s().Smiles = static_cast<std::int16_t>(1 + pick(6));
    t.s().Bells = static_cast<std::int16_t>(1 + pick(3));
    for (int action = 0, actions = 5 + pick(30); action < actions; ++action) {
        switch (pick(5)) {
            case 0: t.game.ChangeCoinValue(pick(5)); break;
            case 1: t.game.Borrow(pick(5)); break;
            case 2: t.game.PlaceCoins(pick(2) ? 1 : 8); break;
            default:
                if (t.s().Credits < t.s().MaxBet) t.game.Borrow(0);
                t.game.SpinCommand();
        }
    }
    // Coins placed one by one add up in floats another way than one bet of the same coins: the bet left
    // on the table is placed at once, as the fresh game places it.
    if (t.s().Wager > 0.0f) t.game.SpinCommand();
    t.cabinet.onAnimate = nullptr;
    t.cabinet.onPresentWin = nullptr;
    GameState& s = t.s();
    s.BonusSpins = static_cast<std::int16_t>(pick(4));
    s.BonusMode = s.BonusSpins > 0;
    s.BonusPool = static_cast<float>(pick(500));
    s.DoubleNothing = -static_cast<float>(pick(500));
    s.BarPts = static_cast<float>(pick(50));
    s.AutoSpin = pick(2);
    s.WinStopValue = pick(3) * 50;
    t.game.PlaceCoins(1 + pick(8));
}

}  // namespace

// Whatever was played before it, a new game is the game a fresh machine starts with the same settings (the
// coin value, the bet to repeat, auto spin and its win stop) and the same bet on the table: the same in
// every counter a save keeps, and the same in everything that follows, spin for spin.
TEST(Bank, ANewGameAfterAnyPlayIsAFreshNewGameSettingsAside) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        Table played;
        PlayAnything(played, rng);
        const GameState& p = played.s();

        Table fresh;
        fresh.game.ChangeCoinValue(p.CoinIndex);
        fresh.s().LastBet = p.LastBet;
        fresh.s().AutoSpin = p.AutoSpin;
        fresh.s().WinStopValue = p.WinStopValue;
        fresh.game.PlaceCoins(static_cast<int>(std::lround(p.Wager / p.CoinValue)));
        ASSERT_FLOAT_EQ(fresh.s().Wager, p.Wager);

        played.game.StartNewGame();
        fresh.game.StartNewGame();
        const auto winsBefore = static_cast<std::ptrdiff_t>(played.cabinet.presentedWins.size());
        for (int spin = 0; spin <= 12; ++spin) {
            SCOPED_TRACE("spin " + std::to_string(spin) + " of the new game");
            const GameState& f = fresh.s();
            kazoomba::testing::ExpectSameSavedFields(p, f);
            EXPECT_EQ(p.Wager, f.Wager);
            EXPECT_EQ(p.LineCoins, f.LineCoins);
            EXPECT_EQ(p.BonusSpins, f.BonusSpins);
            EXPECT_EQ(p.BonusMode, f.BonusMode);
            EXPECT_EQ(p.AutoSpin, f.AutoSpin);
            EXPECT_EQ(p.WinStopValue, f.WinStopValue);
            EXPECT_EQ(played.game.Reels().bonusSet, fresh.game.Reels().bonusSet);
            EXPECT_EQ(std::vector<float>(played.cabinet.presentedWins.begin() + winsBefore, played.cabinet.presentedWins.end()),
                      fresh.cabinet.presentedWins);
            if (::testing::Test::HasFailure()) return;
            if (spin == 12) break;
            // The same outcome for both, and, after an award, for each of its bonus spins.
            const auto& stops = kOutcomes[static_cast<size_t>(spin) % kOutcomes.size()];
            played.cabinet.outcomes.assign(4, stops);
            fresh.cabinet.outcomes.assign(4, stops);
            played.s().AutoSpin = fresh.s().AutoSpin = false;
            played.game.SpinCommand();
            fresh.game.SpinCommand();
        }
    }
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
