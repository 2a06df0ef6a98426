// Line pays, the FULMINA multiplier, the bonus set, and the SMILE and pool rules of ScoreSpin.
#include <gtest/gtest.h>

#include "engine/Scoring.h"
#include "support/Scripted.h"

using namespace kazoomba;
using kazoomba::testing::ScriptedRandom;

namespace {
int Pay(Symbol a, Symbol b, Symbol c, bool bonus = false) { return EvaluateLine(a, b, c, bonus).pay; }

// The stop on `strip` that shows `symbol` (the first one).
int StopOf(int strip, Symbol symbol, bool bonus = false) {
    const auto& s = (bonus ? BonusStrips() : RegularStrips())[strip];
    for (int k = 0; k < kStops; ++k) if (s[k] == symbol) return k;
    return -1;
}

// Wheels showing the given nine symbols.
Wheels Showing(const std::array<Symbol, 9>& symbols, bool bonus = false) {
    Wheels w;
    BuildReels(w, bonus);
    for (int c = 0; c < 9; ++c) {
        int stop = StopOf(WheelOf(c), symbols[c], bonus);
        EXPECT_GE(stop, 0) << "symbol " << symbols[c] << " is not on strip " << WheelOf(c);
        w.StopIndex[c] = static_cast<std::int16_t>(stop);
    }
    return w;
}

Stake Coins(int n, float coinValue = 0.25f) {
    Stake s;
    s.CoinValue = coinValue;
    for (int i = 0; i < n; ++i) s.Wager += coinValue;
    for (int i = 0; i < kLines; ++i) s.LineCoins[i] = static_cast<std::int16_t>(n / 8 + (i < n % 8));
    return s;
}
}  // namespace

TEST(LinePay, WorkedLinesOfTheRegularSet) {
    EXPECT_EQ(Pay(Fulmina, Target, Target), 50);
    EXPECT_EQ(Pay(Fulmina, Fulmina, DontWalk), 20);
    EXPECT_EQ(Pay(Fulmina, Fulmina, Fulmina), 150);
    EXPECT_EQ(Pay(Fulmina, Stop, Stop), 0);
    EXPECT_EQ(Pay(Stop, Stop, Stop), 0);
    EXPECT_EQ(Pay(Globe, Fulmina, Globe), 40);
    EXPECT_EQ(Pay(Fulmina, Fulmina, Smile), 40);
    EXPECT_EQ(Pay(Flag, StarMap, Flag), 0);
    EXPECT_EQ(Pay(Flag, Fulmina, StarMap), 0);
    EXPECT_EQ(Pay(StarMap, StarMap, StarMap), 15);
    EXPECT_EQ(EvaluateLine(Fulmina, Fulmina, Smile, false).code, Smile);
    EXPECT_EQ(EvaluateLine(Fulmina, Fulmina, Fulmina, false).code, Fulmina);
    EXPECT_EQ(EvaluateLine(Globe, Fulmina, Globe, false).code, Globe);
}

TEST(LinePay, BonusSetMatchesExactlyWithoutWild) {
    EXPECT_EQ(Pay(TripleBar, TripleBar, SingleBar, true), 10);
    EXPECT_EQ(Pay(TripleBar, TripleBar, TripleBar, true), 50);
    EXPECT_EQ(Pay(DoubleBar, DoubleBar, DoubleBar, true), 25);
    EXPECT_EQ(Pay(SingleBar, SingleBar, SingleBar, true), 15);
    EXPECT_EQ(Pay(Target, Target, Target, true), 100);
    EXPECT_EQ(Pay(Target, Target, TripleBar, true), 0);
    EXPECT_EQ(Pay(Fulmina, Target, Target, true), 0);
    EXPECT_EQ(Pay(Stop, Stop, Stop, true), 0);
}

TEST(ScoreSpin, OnlyLinesCarryingCoinsAreScoredAndMultipliedByTheirCoins) {
    // Middle row three Targets; top row nothing.
    Wheels w = Showing({Stop, Stop, Stop, Target, Target, Target, Stop, Stop, Stop});
    ScriptedRandom r;
    BonusCounters b;
    SpinScore one = ScoreSpin(w, Coins(1), b, r);
    EXPECT_EQ(one.LinePay[1], 0);
    EXPECT_EQ(one.SpinWin, 0.0f);
    SpinScore two = ScoreSpin(w, Coins(2), b, r);
    EXPECT_EQ(two.LinePay[1], 25);
    EXPECT_FLOAT_EQ(two.SpinWin, 6.25f);
    SpinScore ten = ScoreSpin(w, Coins(10), b, r);  // lines 0 and 1 carry two coins
    EXPECT_FLOAT_EQ(ten.SpinWin, 12.5f);
    EXPECT_EQ(ten.LinePay[8], 0);
    EXPECT_EQ(r.reseeds, 3);
}

TEST(ScoreSpin, ThreeFulminaOnTheTopRowPayOneHundredFiftyAndMoveNoCounter) {
    // Top row F F F needs stop 8 on strips 0, 1, 2.
    Wheels w = Showing({Fulmina, Fulmina, Fulmina, Stop, Stop, Stop, Stop, Stop, Stop});
    ScriptedRandom r;
    BonusCounters b;
    SpinScore s = ScoreSpin(w, Coins(1), b, r);
    EXPECT_FLOAT_EQ(s.SpinWin, 37.5f);
    EXPECT_EQ(s.FulminaCount, 3);
    EXPECT_EQ(b.Smiles, 6);
    EXPECT_EQ(b.Bells, 3);
}

TEST(ScoreSpin, PoolGrowsOnlyWhenEveryLineCarriesACoin) {
    Wheels w = Showing({Fulmina, Stop, Stop, Stop, Fulmina, Stop, Stop, Stop, Fulmina});
    ScriptedRandom r;
    BonusCounters seven, eight, dime;
    ScoreSpin(w, Coins(7), seven, r);
    EXPECT_EQ(seven.BonusPool, 0.0f);
    ScoreSpin(w, Coins(8), eight, r);
    EXPECT_FLOAT_EQ(eight.BonusPool, 2.25f);  // 9 x 25 cents
    ScoreSpin(w, Coins(8, 0.10f), dime, r);
    EXPECT_FLOAT_EQ(dime.BonusPool, 0.90f);
    // Every coin value, built up one coin at a time, reaches the eight-coin threshold.
    for (float v : {1.0f, 0.5f, 0.25f, 0.1f, 0.05f}) {
        BonusCounters c;
        ScoreSpin(w, Coins(8, v), c, r);
        EXPECT_GT(c.BonusPool, 0.0f) << v;
    }
}

TEST(ScoreSpin, TwoGlobeLinesWithOneBellLeftPayThePoolOnce) {
    // Top row G G G and left column G . . with the middle-left, bottom-left ... use top row and middle column.
    Wheels w = Showing({Globe, Globe, Globe, Stop, Globe, Stop, Stop, Globe, Stop});
    ScriptedRandom r;
    BonusCounters b;
    b.Bells = 1;
    b.BonusPool = 10.0f;
    SpinScore s = ScoreSpin(w, Coins(8), b, r);
    EXPECT_EQ(b.Bells, -1);
    EXPECT_TRUE(s.PoolWon);
    EXPECT_FLOAT_EQ(s.SpinWin, 2 * 20 * 0.25f + 10.0f);
    ClearWonPool(b);
    EXPECT_EQ(b.Bells, 3);
    EXPECT_EQ(b.BonusPool, 0.0f);
    EXPECT_FLOAT_EQ(b.PoolPts, 10.0f);
}

TEST(ScoreSpin, TheWonPoolIncludesThisSpinsOwnFulminaGrowth) {
    // Top row Globe, FULMINA, Globe: one FULMINA showing.
    Wheels w = Showing({Globe, Fulmina, Globe, Stop, Stop, Stop, Stop, Stop, Stop});
    ScriptedRandom r;
    BonusCounters b;
    b.Bells = 1;
    b.BonusPool = 5.0f;
    SpinScore s = ScoreSpin(w, Coins(8), b, r);
    EXPECT_FLOAT_EQ(b.BonusPool, 5.75f);
    EXPECT_FLOAT_EQ(s.SpinWin, 40 * 0.25f + 5.75f);
}

TEST(ScoreSpin, TwoSmileLinesWithOneSmileLeftAwardBonusSpinsOnce) {
    Wheels w = Showing({Smile, Smile, Smile, Stop, Smile, Stop, Stop, Smile, Stop});
    ScriptedRandom r;
    BonusCounters b;
    b.Smiles = 1;
    ScoreSpin(w, Coins(8), b, r);
    EXPECT_EQ(b.BonusSpins, 3);
    EXPECT_EQ(b.Smiles, 6);
}

TEST(ScoreSpin, SmileOrGlobeOnALineWithoutCoinsChangesNothing) {
    // One coin rides the top row only; the winning middle row carries none.
    for (Symbol symbol : {Smile, Globe}) {
        Wheels w = Showing({Stop, Stop, Stop, symbol, symbol, symbol, Stop, Stop, Stop});
        ScriptedRandom r;
        BonusCounters b;
        b.BonusPool = 9.0f;
        const SpinScore s = ScoreSpin(w, Coins(1), b, r);
        EXPECT_EQ(b.Smiles, 6) << symbol;
        EXPECT_EQ(b.Bells, 3) << symbol;
        EXPECT_EQ(b.BonusSpins, 0) << symbol;
        EXPECT_EQ(s.LinePay[1], 0) << symbol;
        EXPECT_FALSE(s.PoolWon) << symbol;
        EXPECT_FLOAT_EQ(s.SpinWin, 0.0f) << symbol;
    }
}

TEST(ScoreSpin, BonusSpinsBookCherryPtsAndLeaveTheCountersAlone) {
    Wheels w = Showing({TripleBar, TripleBar, TripleBar, Stop, Stop, Stop, Stop, Stop, Stop}, true);
    ScriptedRandom r;
    BonusCounters b;
    b.BonusMode = true;
    b.Smiles = 2;
    b.Bells = 2;
    b.BonusPool = 4.0f;
    SpinScore s = ScoreSpin(w, Coins(8), b, r);
    EXPECT_FLOAT_EQ(s.SpinWin, 12.5f);
    EXPECT_FLOAT_EQ(b.CherryPts, 12.5f);
    EXPECT_EQ(b.Smiles, 2);
    EXPECT_EQ(b.Bells, 2);
    EXPECT_FLOAT_EQ(b.BonusPool, 4.0f);
}
