// The statistics figures and the texts the window shows.
#include <gtest/gtest.h>

#include "play/Statistics.h"

using namespace kazoomba;

namespace {
GameState NewGame() {
    GameState s;
    s.Credits = 1000;
    s.Borrowed = 1000;
    return s;
}
}  // namespace

TEST(Statistics, ANewGameShowsZerosAndNoRatios) {
    StatisticsTexts t = FormatStatistics(ComputeStatistics(NewGame()));
    EXPECT_EQ(t.Spins, "0");
    EXPECT_EQ(t.Credits, "$1,000.00");
    EXPECT_EQ(t.Borrowed, "$1,000.00");
    EXPECT_EQ(t.TotalBets, "$0.00");
    EXPECT_EQ(t.WonLost, "$0.00");
    EXPECT_EQ(t.Total, "$0.00");
    EXPECT_EQ(t.Normal, "$0.00");
    EXPECT_EQ(t.TotalRatio, "0.00%");
    EXPECT_EQ(t.NormalRatio, "0.00%");
}

TEST(Statistics, LosingTenDollars) {
    GameState s = NewGame();
    s.Credits = 990;
    s.TotalWagers = 10;
    StatisticsTexts t = FormatStatistics(ComputeStatistics(s));
    EXPECT_EQ(t.Credits, "$990.00");
    EXPECT_EQ(t.WonLost, "-$10.00");
    EXPECT_EQ(t.Total, "$0.00");
    EXPECT_EQ(t.TotalRatio, "0.00%");
}

TEST(Statistics, PayoffsSplitIntoNormalAndBonus) {
    GameState s = NewGame();
    s.TotalWagers = 100;
    s.Credits = 1000;  // 100 wagered, 80 back on lines, 20 from a pool
    s.PoolPts = 20;
    StatisticsTexts t = FormatStatistics(ComputeStatistics(s));
    EXPECT_EQ(t.Total, "$100.00");
    EXPECT_EQ(t.TotalRatio, "100.00%");
    EXPECT_EQ(t.Normal, "$80.00");
    EXPECT_EQ(t.NormalRatio, "80.00%");
    EXPECT_EQ(t.Bonus, "$20.00");
    EXPECT_EQ(t.BonusPool, "$20.00");
}

TEST(Statistics, ALostGambleShowsInVazIveroAndNormal) {
    GameState s = NewGame();
    s.TotalWagers = 5;      // $5 bet, $5 won on a line, all of it lost on the board
    s.Credits = 995;
    s.DoubleNothing = -5;
    StatisticsTexts t = FormatStatistics(ComputeStatistics(s));
    EXPECT_EQ(t.VazIvero, "-$5.00");
    EXPECT_EQ(t.Total, "$0.00");
    EXPECT_EQ(t.Normal, "$5.00");
}

TEST(Statistics, RatiosDivideByTheBetsWhenThePayoffsDiffer) {
    GameState s = NewGame();
    s.TotalWagers = 200;    // $200 bet and $350 paid back: $150 ahead
    s.Credits = 1150;
    s.CherryPts = 25;
    s.PoolPts = 50;
    s.DoubleNothing = -10;  // the board kept $10 of the lines' wins
    const StatisticsFigures f = ComputeStatistics(s);
    EXPECT_FLOAT_EQ(f.TotalPayoffs, 350.0f);
    EXPECT_FLOAT_EQ(f.NormalPayoffs, 285.0f);
    const StatisticsTexts t = FormatStatistics(f);
    EXPECT_EQ(t.WonLost, "$150.00");
    EXPECT_EQ(t.Total, "$350.00");
    EXPECT_EQ(t.Normal, "$285.00");
    EXPECT_EQ(t.Bonus, "$75.00");
    EXPECT_EQ(t.TotalRatio, "175.00%");
    EXPECT_EQ(t.NormalRatio, "142.50%");

    s.Credits = 900;        // the same bets, $100 behind: $100 paid back
    s.CherryPts = s.PoolPts = s.DoubleNothing = 0;
    const StatisticsTexts behind = FormatStatistics(ComputeStatistics(s));
    EXPECT_EQ(behind.Total, "$100.00");
    EXPECT_EQ(behind.TotalRatio, "50.00%");
    EXPECT_EQ(behind.NormalRatio, "50.00%");
}
