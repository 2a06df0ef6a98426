// Sessions of play: the stopping rules by hand with forced stops, a machine that never pays, and repeatability.
#include <gtest/gtest.h>

#include "Sessions.h"
#include "support/Scripted.h"
#include "support/ParAnalysis.h"

using namespace kazoomba::par;

namespace {
using test::TheAnalysis;

// Stops that score nothing at all: no line win, no SMILE or Globe line, no pool growth.
std::uint64_t NeverPays(const Engine& engine) {
    kazoomba::ClockRandom random(5);
    for (;;)
        if (const std::uint64_t draw = DrawStops(random); engine.regular.Score(draw) == 0) return draw;
}

// Stops with a line win that move no counter and grow no pool.
std::uint64_t PaysPlainly(const Engine& engine) {
    kazoomba::ClockRandom random(6);
    for (;;) {
        const std::uint64_t draw = DrawStops(random);
        const std::uint32_t sum = engine.regular.Score(draw);
        if ((sum & kWinMask) != 0 && (sum & ~kWinMask) == 0) return draw;
    }
}
}  // namespace

TEST(Sessions, StopWhenTheBetNoLongerFitsOrTheSpinsRunOut) {
    const Engine engine(TheAnalysis(), 8);
    const std::uint64_t nothing = NeverPays(engine);
    auto never = [&] { return nothing; };

    const SessionEnd below = PlaySession(engine, 8, 7, 200, never);
    EXPECT_EQ(below.spins, 0);
    EXPECT_TRUE(below.broke);
    EXPECT_EQ(below.credits, 7u);

    const SessionEnd exactlyOne = PlaySession(engine, 8, 8, 200, never);
    EXPECT_EQ(exactlyOne.spins, 1);
    EXPECT_TRUE(exactlyOne.broke);
    EXPECT_EQ(exactlyOne.credits, 0u);

    // The last spin leaves nothing, but the limit ended the session, not the credits.
    const SessionEnd limited = PlaySession(engine, 8, 16, 2, never);
    EXPECT_EQ(limited.spins, 2);
    EXPECT_FALSE(limited.broke);
    EXPECT_EQ(limited.credits, 0u);

    // A win is taken and bought the spins after it.
    const std::uint64_t winning = PaysPlainly(engine);
    const std::uint64_t win = engine.regular.Score(winning) & kWinMask;
    int draws = 0;
    const SessionEnd won = PlaySession(engine, 8, 8, 1000, [&] { return draws++ == 0 ? winning : nothing; });
    EXPECT_EQ(won.spins, 1 + static_cast<int>(win / 8));
    EXPECT_TRUE(won.broke);
    EXPECT_EQ(won.credits, win % 8);
}

TEST(Sessions, EndWhereTheGamesOwnSpinCommandEndsThem) {
    // A new game at 25 cents repeating a 64-coin bet, shown the very stops the session draws and taking every
    // win: it must refuse the bet exactly where the session went broke, or play on to the spin limit, and
    // hold the same credits. Seeds are taken in turn until both endings have been seen.
    const Engine engine(TheAnalysis(), 64);
    int broke = 0, limited = 0;
    for (std::uint64_t seed = 1; broke == 0 || limited == 0; ++seed) {
        kazoomba::ClockRandom draws(seed);
        const SessionEnd end = PlaySession(engine, 64, 4000, 200, [&] { return DrawStops(draws); });
        ++(end.broke ? broke : limited);

        kazoomba::testing::Table table;
        kazoomba::ClockRandom again(seed);
        for (int i = 0; i < 2000; ++i) table.cabinet.outcomes.push_back(StopsOf(DrawStops(again)));
        for (int press = 0; press < 8; ++press) table.game.PlaceCoins(8);  // the eighth press reaches 64 and spins
        int spins = 1;
        bool refused = false;
        while (spins < 200 && !refused) {
            const float wagered = table.s().TotalWagers;
            table.game.SpinCommand();
            refused = table.s().TotalWagers == wagered;
            spins += !refused;
        }
        EXPECT_EQ(spins, end.spins) << "seed " << seed;
        EXPECT_EQ(refused, end.broke) << "seed " << seed;
        EXPECT_EQ(table.s().Credits, static_cast<float>(end.credits) * 0.25f) << "seed " << seed;
    }
}

TEST(Sessions, AMachineThatNeverPaysBreaksEverySessionAfterTheBetsTheBankrollBuys) {
    struct Case {
        int coins;
        double coinValue;
        double bankroll;
        int spins;       // floor(bankroll / bet)
        double credits;  // what is left
    };
    for (const Case& c : {Case{8, 0.25, 1000, 500, 0.0}, Case{64, 0.25, 1000, 62, 8.0}, Case{8, 0.10, 1000, 1250, 0.0},
                          Case{3, 0.05, 10.02, 66, 0.12}, Case{1, 0.05, 10.7, 214, 0.0}, Case{64, 1.0, 63.5, 0, 63.5}}) {
        const Engine engine(TheAnalysis(), c.coins);
        const std::uint64_t nothing = NeverPays(engine);
        SessionSettings settings;
        settings.coins = c.coins;
        settings.coinValue = c.coinValue;
        settings.bankroll = c.bankroll;
        settings.spinLimit = 5000;
        settings.sessions = 3000;
        settings.threads = 2;
        settings.forcedDraw = [nothing] { return nothing; };
        const SessionOdds odds = SimulateSessions(TheAnalysis(), settings);
        EXPECT_EQ(odds.bySpins.at(c.spins), 3000u) << c.coins << " coins at " << c.coinValue;
        EXPECT_EQ(odds.broke.estimate, 1.0);
        EXPECT_EQ(odds.ahead.estimate, 0.0);
        EXPECT_EQ(odds.spinsPlayed.p10, c.spins);
        EXPECT_EQ(odds.spinsPlayed.p90, c.spins);
        EXPECT_NEAR(odds.finalCredits.median, c.credits, 1e-9);
    }
}

TEST(Sessions, FiguresDependOnTheSeedNotOnTheThreads) {
    SessionSettings settings;
    settings.coins = 64;
    settings.sessions = 5000;
    settings.seed = 77;
    settings.threads = 1;
    const SessionOdds one = SimulateSessions(TheAnalysis(), settings);
    settings.threads = 2;
    const SessionOdds two = SimulateSessions(TheAnalysis(), settings);
    settings.seed = 78;
    const SessionOdds other = SimulateSessions(TheAnalysis(), settings);
    EXPECT_EQ(one.bySpins, two.bySpins);
    EXPECT_EQ(one.byCoins, two.byCoins);
    EXPECT_NE(one.byCoins, other.byCoins);
    // Some go broke, some reach the limit, and the chances' intervals hold their estimates.
    EXPECT_GT(one.broke.estimate, 0.0);
    EXPECT_LT(one.broke.estimate, 1.0);
    EXPECT_LT(one.broke.low, one.broke.estimate);
    EXPECT_GT(one.broke.high, one.broke.estimate);
}

TEST(Sessions, AHugeBankrollIsTalliedByTheEndingsThatHappened) {
    // Twenty billion coins: a table indexed by every credit value up to the bankroll would not fit in memory.
    SessionSettings settings;
    settings.coins = 64;
    settings.coinValue = 0.05;
    settings.bankroll = 1e9;
    settings.sessions = 500;
    settings.threads = 2;
    const SessionOdds odds = SimulateSessions(TheAnalysis(), settings);
    EXPECT_EQ(odds.startCoins, 20'000'000'000u);
    EXPECT_EQ(odds.broke.estimate, 0.0);
    EXPECT_EQ(odds.spinsPlayed.p10, 200);
    EXPECT_GE(odds.finalCredits.p10, 1e9 - 200 * 3.2);
    EXPECT_LT(odds.finalCredits.p90, 1e9 + 200 * 3.2 * 10);
}
