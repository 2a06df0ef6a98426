// Pay lines, the two payoff tables, and the rule that scores one line of three symbols.
#pragma once

#include <array>
#include <cstdint>

#include "engine/Symbols.h"

namespace kazoomba {

inline constexpr int kLines = 8;

// The three cells of each pay line, in the order used everywhere: rows, columns, then the two diagonals.
inline constexpr std::array<std::array<int, 3>, kLines> kPayLines = {{
    {0, 1, 2}, {3, 4, 5}, {6, 7, 8},
    {0, 3, 6}, {1, 4, 7}, {2, 5, 8},
    {0, 4, 8}, {6, 4, 2},
}};

// Coins paid per coin on the line. Entry k of the regular table belongs to symbol code k.
inline constexpr std::array<std::int16_t, 7> RegularPayoffs = {150, 25, 20, 15, 15, 10, 5};
// Three Target, three TripleBar, three DoubleBar, three SingleBar, any mix of bars.
inline constexpr std::array<std::int16_t, 5> BonusPayoffs = {100, 50, 25, 15, 10};
// The symbol shown for each bonus table entry on the pay chart.
inline constexpr std::array<Symbol, 5> kBonusChartSymbols = {Target, TripleBar, DoubleBar, SingleBar, AnyBar};

struct LineOutcome {
    std::int16_t pay = 0;   // coins per coin, after the FULMINA multiplier
    Symbol code = -1;       // the winning combination's symbol (regular set), -1 when the line pays nothing
};

// Scores one line. Regular set: FULMINA is wild, one doubles and two quadruple the pay; three FULMINA pay 150.
// Bonus set: exact matches only, no wild, no multiplier.
LineOutcome EvaluateLine(Symbol s1, Symbol s2, Symbol s3, bool bonusMode);

}  // namespace kazoomba
