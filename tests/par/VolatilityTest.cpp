// The spread of a paid spin's whole return, worked out over the counters' chain, against the simulator.
#include <gtest/gtest.h>

#include <cmath>

#include "Simulator.h"
#include "Volatility.h"

using namespace kazoomba::par;

TEST(Volatility, WholeReturnSpreadAgreesWithTheSimulator) {
    // Below eight coins the pool never grows; at eight it is a large share of the return; at 64 it is
    // spread over the biggest wager. As in the simulator's own check of the par sheet, each may stray up to
    // twice its 95 % half-width (about four standard errors; a fixed seed keeps it repeatable), while leaving
    // out the pool's carry from spin to spin or the line win that comes with a bonus moves it by many.
    static const Analysis analysis;
    for (int coins : {3, 8, 64}) {
        const ParSheet sheet = analysis.Wager(coins);
        const Volatility v = ExactVolatility(analysis, sheet);
        ASSERT_TRUE(v.exact) << coins << " coins";
        EXPECT_NEAR(v.meanWhole, sheet.figures.rtpTotal, 1e-9) << coins << " coins";
        EXPECT_GT(v.sdWhole, sheet.figures.sdLineWin) << coins << " coins";

        SimulationSettings settings;
        settings.coins = coins;
        settings.spins = 4'000'000;
        settings.seed = 31 + coins;
        settings.threads = 2;
        const Simulation sim = Simulate(analysis, settings);
        ASSERT_TRUE(std::isfinite(sim.sdWholeHalfWidth) && sim.sdWholeHalfWidth > 0) << coins << " coins";
        EXPECT_LE(std::fabs(sim.sdWhole - v.sdWhole), 2 * sim.sdWholeHalfWidth)
            << coins << " coins: exact " << v.sdWhole << ", simulated " << sim.sdWhole << " +/- " << sim.sdWholeHalfWidth;
    }
}
