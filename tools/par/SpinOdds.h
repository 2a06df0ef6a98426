// The exact odds of one spin, by enumerating the symbols the nine wheels can show, weighted by their stops.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "RuleTables.h"

namespace kazoomba::par {

using LineCoins = std::array<std::int16_t, kLines>;

// Every stop combination of a paid spin on the regular strips, counted out of 20^9 equally likely ones.
struct SpinOdds {
    std::uint64_t total = 0;
    std::vector<std::uint64_t> lineWin;               // by the spin's line win in coins
    std::array<std::uint64_t, kLines + 1> smileLines{};  // by the number of SMILE lines among the coin lines
    std::array<std::uint64_t, kLines + 1> globeLines{};  // by the number of Globe lines among the coin lines
    // Sums over the stop combinations that bring k SMILE and g Globe lines, as [k][g]: what the counters
    // do next depends on these two alone, and the pool growth (coins) rides with the line win.
    struct CounterClass {
        double weight = 0.0;
        double win = 0.0, winSquares = 0.0;
        double growth = 0.0, growthSquares = 0.0;
        double winGrowth = 0.0;
    };
    std::array<std::array<CounterClass, kLines + 1>, kLines + 1> byCounters{};
};

// Wheels are independent, so the cells on three or more lines (corners and centre) are enumerated first and
// the edge cells, which then fall into independent pairs, are folded in pair by pair.
SpinOdds EnumerateSpin(const RuleTables& rules, const LineCoins& coins);

// Expected pay of each line per coin on it, on the regular or the bonus strips.
std::array<double, kLines> LineReturns(const RuleTables& rules, bool bonusSet);

// E[pay of line l x pay of line m], per coin on each, on the regular or the bonus strips.
using PayProducts = std::array<std::array<double, kLines>, kLines>;
PayProducts LinePayProducts(const RuleTables& rules, bool bonusSet = false);

// Expected number of coins the pool grows by on one paid spin of `coins` coins.
double MeanPoolGrowth(const RuleTables& rules, int coins);

}  // namespace kazoomba::par
