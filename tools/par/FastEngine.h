// The simulator's fast engine: a paid spin is a few table lookups learnt from ScoreSpin, with the game's
// counters, pool and bonus spins carried from spin to spin.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/Random.h"
#include "engine/Reels.h"

#include "ParSheet.h"

namespace kazoomba::par {

// All nine stops of a spin from one draw: a uniform number below 20^9, read digit by digit in base 20.
// Each wheel's stop is uniform and independent, as the last launch draw of the motion makes it, so the
// motion table itself is skipped.
inline constexpr std::uint64_t kStopCombinations = [] {
    std::uint64_t n = 1;
    for (int c = 0; c < kCells; ++c) n *= kStops;
    return n;
}();
inline constexpr int kDrawShift = [] {
    int bits = 0;
    while ((std::uint64_t{1} << bits) < kStopCombinations) ++bits;
    return 64 - bits;
}();

// The simulator's draw of one spin: all nine stops at once, as a number below 20^9 whose base-20 digits are the
// stops of cells 0 to 8. Inline, as it runs for every spin.
inline std::uint64_t DrawStops(ClockRandom& random) {
    for (;;) {
        const std::uint64_t x = random.Next() >> kDrawShift;
        if (x < kStopCombinations) return x;  // rejection keeps every combination exactly equally likely
    }
}
std::array<int, kCells> StopsOf(std::uint64_t draw);
std::uint64_t DrawOf(const std::array<int, kCells>& stops);

// A spin's tallies packed so that adding entries adds them field by field.
inline constexpr int kSmileShift = 16, kGlobeShift = 20, kGrowthShift = 24;
inline constexpr std::uint32_t kWinMask = 0xFFFF;

struct SpinTables {
    int bits = 0;  // bits of a symbol's index on its strip
    std::array<std::array<std::uint8_t, kStops>, kCells> index{};
    std::array<std::array<std::uint32_t, kStops>, kCells> cellAdd{};
    std::array<std::vector<std::uint32_t>, kLines> lineAdd;

    std::uint32_t Score(std::uint64_t stops) const {
        std::array<unsigned, kCells> at;
        std::uint32_t sum = 0;
        for (int c = 0; c < kCells; ++c) {
            const auto stop = static_cast<unsigned>(stops % kStops);
            stops /= kStops;
            at[c] = index[c][stop];
            sum += cellAdd[c][stop];
        }
        for (int l = 0; l < kLines; ++l) {
            const auto& cells = kPayLines[l];
            sum += lineAdd[l][(at[cells[0]] << 2 * bits) | (at[cells[1]] << bits) | at[cells[2]]];
        }
        return sum;
    }
};

struct Engine {
    Engine(const Analysis& analysis, int coins);
    const RuleTables& rules;
    const BoardOdds& board;
    SpinTables regular;
    SpinTables bonus;
    // The counters' steps and the spins of an award, at hand for every spin.
    const std::array<CounterStep, kLines + 1>* smileSteps;
    const std::array<CounterStep, kLines + 1>* poolSteps;
    int bonusSpins;
};

// The bonus state a game carries from spin to spin, in coins.
struct Counters {
    int smiles = 0;
    int bells = 0;
    std::uint64_t pool = 0;
};

inline Counters NewGame(const RuleTables& rules) { return {rules.SmileStart(), rules.PoolStart(), 0}; }

// What one paid spin brought, in coins: its line win, the pool it grew by and won, and the bonus spins it
// was awarded, already played.
struct PaidSpin {
    std::uint32_t lineWin = 0;
    std::uint32_t growth = 0;
    bool poolWon = false;
    bool awarded = false;
    std::uint64_t poolPaid = 0;
    std::uint64_t bonusWin = 0;
    std::uint64_t Whole() const { return lineWin + poolPaid + bonusWin; }
};

// One paid spin with every win taken; `draw` returns the stops of each spin (paid, then bonus) in turn.
template <class Draw>
inline PaidSpin PlayPaidSpin(const Engine& engine, Counters& game, Draw&& draw) {
    PaidSpin spin;
    const std::uint32_t sum = engine.regular.Score(draw());
    spin.lineWin = sum & kWinMask;
    spin.growth = sum >> kGrowthShift;
    game.pool += spin.growth;
    const CounterStep smile = engine.smileSteps[game.smiles][sum >> kSmileShift & 0xF];
    const CounterStep globe = engine.poolSteps[game.bells][sum >> kGlobeShift & 0xF];
    game.smiles = smile.next;
    game.bells = globe.next;
    if (globe.fired) {
        spin.poolWon = true;
        spin.poolPaid = game.pool;
        game.pool = 0;
    }
    if (smile.fired) {
        spin.awarded = true;
        for (int b = 0; b < engine.bonusSpins; ++b)
            spin.bonusWin += engine.bonus.Score(draw()) & kWinMask;
    }
    return spin;
}

}  // namespace kazoomba::par
