// Monte Carlo check of the par sheet: whole games on every core, with 95 % confidence intervals.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/Random.h"
#include "engine/Reels.h"

#include "FastEngine.h"
#include "ParSheet.h"

namespace kazoomba::par {

// What a stretch of play added up to, in coins at a coin value of 1 (boards in stakes of 1).
struct Tally {
    std::uint64_t spins = 0;           // paid spins
    std::uint64_t lineWin = 0;
    std::uint64_t lineWinSquares = 0;
    std::uint64_t wholeSquares = 0;    // of a paid spin's whole return: line win, pool won, bonus spins awarded
    std::uint64_t hits = 0;            // paid spins with a line win
    std::uint64_t awards = 0;          // SMILE bonus awards
    std::uint64_t bonusWin = 0;        // won on bonus spins
    std::uint64_t poolWins = 0;
    std::uint64_t poolPaid = 0;
    std::uint64_t poolGrown = 0;
    std::uint64_t poolLeft = 0;        // standing in the pool when the game stopped
    std::uint64_t boards = 0;          // Vaz Ivero boards played each way
    std::uint64_t onePickWin = 0;
    std::uint64_t bestWin = 0;

    Tally& operator+=(const Tally& other);
    bool operator==(const Tally&) const = default;
};

struct SimulationSettings {
    int coins = 8;
    std::uint64_t spins = 0;
    std::uint64_t seed = 0;
    int threads = 1;
    // Play every spin through ScoreSpin and ClearWonPool themselves instead of the tables learnt from them:
    // several times slower, and the referee of the fast engine.
    bool throughScoreSpin = false;
};

struct Simulation {
    std::uint64_t spins = 0;
    int batches = 0;
    Tally total;
    Figures estimate;
    Figures halfWidth;                     // of the 95 % confidence interval; NaN where there is too little data
    std::vector<std::uint64_t> lineWin;    // paid spins by line win in coins
    double sdWhole = 0.0;                  // of a paid spin's whole return, per coin wagered
    double sdWholeHalfWidth = 0.0;
    double seconds = 0.0;
};

// The run is 32 independent games, each cut into batches seeded from (seed, batch) that carry the game's
// counters and pool on, so the result depends on the seed and the number of spins but not on the number of
// threads. `progress` is called now and then from the calling thread with the paid spins played so far.
Simulation Simulate(const Analysis& analysis, const SimulationSettings& settings,
                    const std::function<void(std::uint64_t)>& progress = {});

// One game of `spins` paid spins (and its share of boards) from a new game's counters; the histogram, if
// given, is indexed by line win in coins. Both engines give the same tally for the same seed.
Tally PlayGame(const Analysis& analysis, const SimulationSettings& settings, std::uint64_t spins,
               std::uint64_t gameSeed, std::vector<std::uint64_t>* lineWin = nullptr);

// Figures of a tally, and the batch-means half-widths of their 95 % confidence intervals.
Figures FiguresOf(const Tally& tally, int coins);
Figures HalfWidths(const std::vector<Tally>& batches, int coins);

}  // namespace kazoomba::par
