// Exact figures against ones that can be checked by hand from the strips, and against each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "CounterChain.h"
#include "ParSheet.h"
#include "support/ParAnalysis.h"

using namespace kazoomba;
using namespace kazoomba::par;

namespace {
using test::TheAnalysis;

const std::vector<Figures>& EveryWager() {
    static const std::vector<Figures> all = TheAnalysis().AllWagers();
    return all;
}

// Stops showing `symbol` on each regular strip.
int On(int strip, Symbol symbol) {
    const auto& s = RegularStrips()[strip];
    return static_cast<int>(std::count(s.begin(), s.end(), symbol));
}

// A line over strips a, b, c by hand: for each symbol, every way of mixing it with FULMINAs (one FULMINA
// doubles, two quadruple), plus three FULMINAs.
double HandLineReturn(int a, int b, int c) {
    const int strips[3] = {a, b, c};
    double paid = RegularPayoffs[0] * On(a, Fulmina) * On(b, Fulmina) * On(c, Fulmina);
    for (Symbol k = Target; k <= DontWalk; ++k)
        for (int wild = 0; wild < 7; ++wild) {  // bit i: cell i shows FULMINA; 7 (all three) is counted above
            double ways = 1;
            for (int i = 0; i < 3; ++i) ways *= (wild >> i & 1) ? On(strips[i], Fulmina) : On(strips[i], k);
            const int wilds = __builtin_popcount(wild);
            paid += ways * RegularPayoffs[k] * (wilds == 0 ? 1 : wilds == 1 ? 2 : 4);
        }
    return paid / 8000.0;
}
}  // namespace

TEST(LineReturns, EachLineMatchesTheHandCount) {
    const auto& returns = TheAnalysis().LineReturns();
    for (int l = 0; l < kLines; ++l) {
        const auto& cells = kPayLines[l];
        EXPECT_DOUBLE_EQ(returns[l], HandLineReturn(WheelOf(cells[0]), WheelOf(cells[1]), WheelOf(cells[2])))
            << "line " << l + 1;
    }
    // Every line but the rising diagonal crosses each strip once and returns 6180 coins in 8000 spins; the
    // rising diagonal shows strip 2 three times and returns 6245.
    EXPECT_DOUBLE_EQ(returns[0], 6180.0 / 8000);
    EXPECT_DOUBLE_EQ(returns[7], 6245.0 / 8000);
}

TEST(LineReturns, BonusStripReturnsFourPointZeroOnePerCoin) {
    // Target 2, TripleBar 2, DoubleBar 4, SingleBar 8 of 20 stops on the one bonus strip:
    // 100(.1^3) + 50(.1^3) + 25(.2^3) + 15(.4^3) + 10(.7^3 - .1^3 - .1^3 - .2^3 - .4^3) = 4.01.
    for (double r : TheAnalysis().BonusLineReturns()) EXPECT_NEAR(r, 4.01, 1e-12);
}

TEST(SpinOdds, DistributionAddsUpAndItsMeanIsTheLinesReturn) {
    for (int coins : {1, 13}) {
        const SpinOdds odds = EnumerateSpin(TheAnalysis().Rules(), CoinsFor(coins));
        EXPECT_EQ(odds.total, 512'000'000'000ull) << "20^9 stop combinations";
        EXPECT_EQ(std::accumulate(odds.lineWin.begin(), odds.lineWin.end(), 0ull), odds.total);
        EXPECT_EQ(std::accumulate(odds.smileLines.begin(), odds.smileLines.end(), 0ull), odds.total);
        double mean = 0;
        for (std::size_t w = 0; w < odds.lineWin.size(); ++w) mean += static_cast<double>(w) * odds.lineWin[w];
        mean /= static_cast<double>(odds.total);
        double expected = 0;
        const LineCoins lineCoins = CoinsFor(coins);
        for (int l = 0; l < kLines; ++l) expected += lineCoins[l] * TheAnalysis().LineReturns()[l];
        EXPECT_NEAR(mean, expected, 1e-9) << coins << " coins";
    }
}

TEST(SpinOdds, SpreadFromTheDistributionEqualsTheSpreadFromLinePairs) {
    for (int coins : {8, 13})  // the table's spread comes from pair moments
        EXPECT_NEAR(TheAnalysis().Wager(coins).figures.sdLineWin, EveryWager()[coins - 1].sdLineWin, 1e-9)
            << coins << " coins";
}

TEST(ParSheet, OneCoinFiguresFollowFromTheTopRowAlone) {
    const Figures f = TheAnalysis().Wager(1).figures;
    // Top row over strips 0, 1, 2: winning combinations per symbol (17 + 35 + 35 + 35 + 35 + 79) plus three
    // FULMINA; SMILE-or-FULMINA 3 x 4 x 3 - 1 = 35, Globe-or-FULMINA 3 x 3 x 4 - 1 = 35.
    EXPECT_DOUBLE_EQ(f.hitFrequency, 237.0 / 8000);
    // One line can bring at most one SMILE a spin, so six of them take 6 / p spins; the pool needs three Globes.
    EXPECT_NEAR(f.bonusAwardEvery, 6 * 8000.0 / 35, 1e-9);
    EXPECT_NEAR(f.poolWinEvery, 3 * 8000.0 / 35, 1e-9);
    EXPECT_EQ(f.rtpPool, 0.0) << "the pool does not grow below eight coins";
    EXPECT_EQ(f.meanPool, 0.0);
    // Three bonus spins of one coin at 4.01 each, once per award.
    EXPECT_NEAR(f.rtpBonus, 3 * 4.01 / (6 * 8000.0 / 35), 1e-12);
}

TEST(ParSheet, EightCoinFiguresHangTogether) {
    const ParSheet s = TheAnalysis().Wager(8);
    const Figures& f = s.figures;
    // Nine wheels with one FULMINA in 20 stops, 3 coins each, over 8 coins wagered.
    EXPECT_DOUBLE_EQ(f.rtpPool, 9 * 3 / 20.0 / 8);
    EXPECT_DOUBLE_EQ(f.rtpLines, (7 * 6180.0 + 6245.0) / 8000 / 8);
    EXPECT_NEAR(f.meanPool, s.meanPoolGrowth * f.poolWinEvery / 8, 1e-9);
    EXPECT_NEAR(s.awardReturn, 3 * 4.01, 1e-12);
    EXPECT_NEAR(f.rtpTotal, f.rtpLines + f.rtpPool + f.rtpBonus, 1e-15);
    EXPECT_GT(f.rtpTotal, 1.0) << "eight coins pay back more than they cost";
}

TEST(ParSheet, WagersFromEightCoinsShareHitsAndCounters) {
    const auto& all = EveryWager();
    ASSERT_EQ(all.size(), 64u);
    for (int coins = 9; coins <= 64; ++coins) {
        EXPECT_EQ(all[coins - 1].hitFrequency, all[7].hitFrequency);
        EXPECT_EQ(all[coins - 1].bonusAwardEvery, all[7].bonusAwardEvery);
        EXPECT_NEAR(all[coins - 1].rtpPool * coins, all[7].rtpPool * 8, 1e-12);
    }
    EXPECT_DOUBLE_EQ(all[15].rtpLines, all[7].rtpLines) << "16 coins put two on every line";
}

TEST(CounterChain, NeverFiringEventTakesForever) {
    LinesPerSpin none{};
    none[0] = 1.0;
    EXPECT_TRUE(std::isinf(SpinsToEvent(TheAnalysis().Rules().SmileSteps(), 6, none)));
}

TEST(CounterChain, SeveralLinesASpinShortenTheWait) {
    // Every spin brings exactly two SMILE lines: 6 -> 4 -> 2 -> 0, the third spin awards.
    LinesPerSpin two{};
    two[2] = 1.0;
    EXPECT_DOUBLE_EQ(SpinsToEvent(TheAnalysis().Rules().SmileSteps(), 6, two), 3.0);
    // Five at once: 6 -> 1, then the next spin takes the last marker (the counter stops at 0).
    LinesPerSpin five{};
    five[5] = 1.0;
    EXPECT_DOUBLE_EQ(SpinsToEvent(TheAnalysis().Rules().SmileSteps(), 6, five), 2.0);
}
