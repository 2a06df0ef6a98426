// What the game's scoring rules do, learnt once by playing ScoreSpin and ClearWonPool on made-up wheels.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/Payoffs.h"
#include "engine/Reels.h"
#include "engine/Symbols.h"
#include "play/GameState.h"

namespace kazoomba::par {

// What one pay line that carries a single coin pays and which counters it moves.
struct LineEffect {
    std::int16_t pay = 0;  // coins per coin on the line
    bool smile = false;    // a SMILE line: moves the bonus-spin counter
    bool globe = false;    // a Globe line: moves the pool counter
};

// Where a counter goes on a spin that brings k counted lines, and whether its event (bonus spins awarded,
// pool won) happened on that spin.
struct CounterStep {
    std::int16_t next = 0;
    bool fired = false;
};

// counter value at the start of a spin -> counted lines on the spin (0..8) -> step.
using CounterSteps = std::vector<std::array<CounterStep, kLines + 1>>;

// Every table is filled by asking the rules themselves, so the analysis and the fast simulator can never
// drift from the game: a rule changed in src/engine changes these tables with it.
class RuleTables {
public:
    RuleTables();

    const LineEffect& Line(int line, Symbol a, Symbol b, Symbol c, bool bonusSet) const {
        return lines_[bonusSet][line][(a * kSymbolCount + b) * kSymbolCount + c];
    }
    // Pool growth, in coins, for each cell that shows `symbol` on a paid spin of `coins` coins.
    double PoolGrowthPerCell(int coins, Symbol symbol) const { return poolGrowth_[coins][symbol]; }

    // The SMILE counter: its value in a new game (and after an award), its steps, and the spins awarded.
    int SmileStart() const { return smileStart_; }
    const CounterSteps& SmileSteps() const { return smileSteps_; }
    int BonusSpinsPerAward() const { return bonusSpinsPerAward_; }

    // The pool counter (Globe lines still needed): its start, and its steps including the clearing of a won
    // pool after the win has been taken.
    int PoolStart() const { return poolStart_; }
    const CounterSteps& PoolSteps() const { return poolSteps_; }

private:
    std::array<std::array<std::vector<LineEffect>, kLines>, 2> lines_;
    std::array<std::array<double, kSymbolCount>, kMaxCoins + 1> poolGrowth_{};
    int smileStart_ = 0;
    int poolStart_ = 0;
    int bonusSpinsPerAward_ = 0;
    CounterSteps smileSteps_;
    CounterSteps poolSteps_;
};

// The stops of each strip grouped by symbol: the symbols a wheel can show, each with how many of the 20 stops
// show it.
struct SymbolCount {
    Symbol symbol;
    int stops;
};
std::vector<SymbolCount> SymbolsOn(const std::array<Symbol, kStops>& strip);

}  // namespace kazoomba::par
