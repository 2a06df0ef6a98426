// Strips, the cell pattern and the precomputed spin motion.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/Reels.h"
#include "support/Scripted.h"

using namespace kazoomba;
using kazoomba::testing::ScriptedRandom;

TEST(Strips, DecodeFromTheirDefinitions) {
    const std::array<Symbol, 20> strip0 = {6, 11, 4, 5, 11, 3, 1, 6, 0, 2, 6, 4, 3, 11, 4, 1, 5, 11, 2, 11};
    const std::array<Symbol, 20> strip1 = {6, 11, 4, 5, 11, 3, 1, 6, 0, 2, 6, 11, 3, 5, 2, 4, 1, 5, 11, 3};
    const std::array<Symbol, 20> strip2 = {6, 11, 4, 5, 11, 3, 1, 6, 0, 2, 6, 11, 3, 2, 6, 5, 11, 2, 4, 11};
    const std::array<Symbol, 20> bonus = {11, 9, 1, 9, 8, 9, 8, 11, 9, 7, 11, 9, 1, 9, 8, 9, 8, 11, 9, 7};
    EXPECT_EQ(RegularStrips()[0], strip0);
    EXPECT_EQ(RegularStrips()[1], strip1);
    EXPECT_EQ(RegularStrips()[2], strip2);
    for (const auto& s : BonusStrips()) EXPECT_EQ(s, bonus);
    for (const auto& s : RegularStrips()) EXPECT_EQ(std::count(s.begin(), s.end(), Fulmina), 1);
    for (Symbol s : bonus) EXPECT_TRUE(s != Fulmina && s != Globe && s != Smile);
}

TEST(Strips, EveryRowAndColumnHoldsEachStripOnce) {
    for (int r = 0; r < 3; ++r) {
        std::set<int> row, col;
        for (int i = 0; i < 3; ++i) { row.insert(WheelOf(3 * r + i)); col.insert(WheelOf(3 * i + r)); }
        EXPECT_EQ(row.size(), 3u);
        EXPECT_EQ(col.size(), 3u);
    }
    EXPECT_EQ(WheelOf(6), 2);
    EXPECT_EQ(WheelOf(4), 2);
    EXPECT_EQ(WheelOf(2), 2);
}

TEST(RestFrame, ShowsFulminaInCornersAndCentreAndGlobeElsewhere) {
    Wheels w;
    BuildReels(w, false);
    InitRestFrame(w);
    for (int c = 0; c < kCells; ++c) {
        const auto& f = w.Trajectory[kRestFrame][c];
        EXPECT_EQ(f.offset, c % 2 ? 610 : 544);
        // The symbol in the middle of the window: rows offset + 16 .. offset + 79 hold stop (offset - 16 - 18 + 66) / 66 - 1.
        const int stop = (f.offset + 48 - 34) / 66;
        EXPECT_EQ(w.ReelStrip[WheelOf(c)][stop], c % 2 ? Globe : Fulmina);
        EXPECT_EQ(w.StopIndex[c], stop);
    }
}

TEST(RestFrame, StopsSetAtRestShowWhatASpinEndingThereShows) {
    Wheels spun;
    BuildReels(spun, false);
    ScriptedRandom r;
    r.fallback = 0.3;
    std::int32_t spins = 0;
    ComputeSpin(spun, r, spins);
    Wheels restored;
    BuildReels(restored, false);
    SetRestStops(restored, spun.StopIndex);
    for (int c = 0; c < kCells; ++c) {
        EXPECT_EQ(restored.Trajectory[kRestFrame][c].offset, spun.Trajectory[kRestFrame][c].offset);
        EXPECT_EQ(restored.SymbolAt(c), spun.SymbolAt(c));
    }
}

TEST(ComputeSpin, LaunchDrawZeroRestsOnStopSixAndDrawNineteenOnStopFive) {
    for (auto [u, stop] : {std::pair{0.0, 6}, std::pair{0.999, 5}}) {
        Wheels w;
        BuildReels(w, false);
        ScriptedRandom r;
        r.fallback = u;
        std::int32_t spins = 0;
        ComputeSpin(w, r, spins);
        EXPECT_EQ(spins, 1);
        EXPECT_EQ(r.reseeds, 1);
        EXPECT_EQ(r.draws, 441);  // cell c draws on frames 0 .. 12c
        for (int c = 0; c < kCells; ++c) {
            EXPECT_EQ(w.StopIndex[c], stop);
            EXPECT_EQ(w.Trajectory[kRestFrame][c].offset, 66 * stop + 18);
        }
    }
}

TEST(ComputeSpin, MotionLaunchesSlowsAndStopsInCellOrder) {
    Wheels w;
    BuildReels(w, false);
    ScriptedRandom r;
    r.fallback = 0.0;
    std::int32_t spins = 0;
    ComputeSpin(w, r, spins);
    const auto& t = w.Trajectory;
    EXPECT_EQ(t[0][0].offset, 18);     // launch 66 * 0 + 36, less the common 18
    EXPECT_EQ(t[1][0].offset, 1288);   // 18 - 32 - 18 wraps around the strip
    EXPECT_EQ(t[2][0].offset, 1238);   // 50 rows a frame at first
    // Cell 0 rests from frame 33 on; frame 34 is its first copied frame.
    EXPECT_EQ(t[33][0].offset, 414);
    EXPECT_NE(t[32][0].offset, 414);
    EXPECT_EQ(t[34][0].offset, 414);
    for (int c = 0; c < kCells; ++c) {
        EXPECT_EQ(t[StopFrame(c)][c].offset, 414) << c;
        EXPECT_NE(t[StopFrame(c) - 1][c].offset, 414) << c;
        EXPECT_EQ(t[kRestFrame][c].offset, t[kRestFrame - 1][c].offset);
        for (int f = 0; f < kFrames; ++f) {
            EXPECT_GE(t[f][c].offset, 0);
            EXPECT_LE(t[f][c].offset, 1319);
        }
    }
}

TEST(ComputeSpin, OnlyEachCellsLastDrawDecidesItsStop) {
    Wheels w;
    BuildReels(w, false);
    ScriptedRandom r;
    std::array<int, 9> stops = {0, 3, 7, 8, 9, 12, 15, 19, 5};
    kazoomba::testing::ForceStops(r, stops);
    std::int32_t spins = 0;
    ComputeSpin(w, r, spins);
    for (int c = 0; c < kCells; ++c) EXPECT_EQ(w.StopIndex[c], stops[c]);
    // Each cell shows the symbol its strip's definition writes at that stop.
    for (int c = 0; c < kCells; ++c) {
        const std::string_view text = kRegularStripText[WheelOf(c)];
        const int written = (text[2 * stops[c]] - '0') * 10 + (text[2 * stops[c] + 1] - '0');
        EXPECT_EQ(w.SymbolAt(c), written) << "cell " << c;
    }
}

// AnyBar stands for any bar on the pay chart; a wheel that showed it would pay a line no rule describes.
TEST(Strips, HoldOnlySymbolsTheWheelsCanShow) {
    for (const StripSet* set : {&RegularStrips(), &BonusStrips()})
        for (const auto& strip : *set)
            for (Symbol symbol : strip) {
                EXPECT_GE(symbol, Fulmina);
                EXPECT_LE(symbol, Stop);
                EXPECT_NE(symbol, AnyBar);
            }
}
