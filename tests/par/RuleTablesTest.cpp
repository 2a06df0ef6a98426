// The tables learnt from ScoreSpin must say what the game's worked examples say.
#include <gtest/gtest.h>

#include "RuleTables.h"

using namespace kazoomba;
using namespace kazoomba::par;

namespace {
const RuleTables& Rules() {
    static const RuleTables rules;
    return rules;
}
}  // namespace

TEST(RuleTables, LineEffectsMatchTheWorkedLines) {
    const RuleTables& r = Rules();
    EXPECT_EQ(r.Line(0, Fulmina, Target, Target, false).pay, 50);
    EXPECT_EQ(r.Line(4, Fulmina, Fulmina, DontWalk, false).pay, 20);
    EXPECT_EQ(r.Line(7, Fulmina, Fulmina, Fulmina, false).pay, 150);
    EXPECT_EQ(r.Line(2, Flag, StarMap, Flag, false).pay, 0);

    const LineEffect smile = r.Line(1, Fulmina, Fulmina, Smile, false);
    EXPECT_EQ(smile.pay, 40);
    EXPECT_TRUE(smile.smile);
    EXPECT_FALSE(smile.globe);
    const LineEffect globe = r.Line(6, Globe, Fulmina, Globe, false);
    EXPECT_EQ(globe.pay, 40);
    EXPECT_TRUE(globe.globe);
    const LineEffect three = r.Line(3, Fulmina, Fulmina, Fulmina, false);
    EXPECT_FALSE(three.smile || three.globe) << "three FULMINA move no counter";
}

TEST(RuleTables, BonusLinesPayExactMatchesAndMoveNoCounter) {
    const RuleTables& r = Rules();
    EXPECT_EQ(r.Line(0, TripleBar, TripleBar, SingleBar, true).pay, 10);
    EXPECT_EQ(r.Line(0, TripleBar, TripleBar, TripleBar, true).pay, 50);
    EXPECT_EQ(r.Line(5, Target, Target, Target, true).pay, 100);
    EXPECT_EQ(r.Line(5, Smile, Smile, Smile, true).pay, 0);
    EXPECT_FALSE(r.Line(5, Smile, Smile, Smile, true).smile);
}

TEST(RuleTables, PoolGrowsThreeCoinsPerFulminaOnlyWithEveryLineCovered) {
    const RuleTables& r = Rules();
    EXPECT_EQ(r.PoolGrowthPerCell(7, Fulmina), 0.0);
    EXPECT_EQ(r.PoolGrowthPerCell(8, Fulmina), 3.0);
    EXPECT_EQ(r.PoolGrowthPerCell(64, Fulmina), 3.0);
    EXPECT_EQ(r.PoolGrowthPerCell(64, Globe), 0.0);
}

TEST(RuleTables, CounterStepsFollowTheBonusRules) {
    const RuleTables& r = Rules();
    EXPECT_EQ(r.SmileStart(), 6);
    EXPECT_EQ(r.PoolStart(), 3);
    EXPECT_EQ(r.BonusSpinsPerAward(), 3);

    const auto& smiles = r.SmileSteps();
    EXPECT_EQ(smiles[6][1].next, 5);
    EXPECT_FALSE(smiles[6][1].fired);
    EXPECT_EQ(smiles[4][0].next, 4);
    // Two SMILE lines with one marker left: the counter stops at 0, awards, and starts again at 6.
    EXPECT_TRUE(smiles[1][2].fired);
    EXPECT_EQ(smiles[1][2].next, 6);

    const auto& pool = r.PoolSteps();
    EXPECT_EQ(pool[3][1].next, 2);
    EXPECT_FALSE(pool[3][1].fired);
    // Two Globe lines with one needed: the pool is won once and the count starts again at 3.
    EXPECT_TRUE(pool[1][2].fired);
    EXPECT_EQ(pool[1][2].next, 3);
}
