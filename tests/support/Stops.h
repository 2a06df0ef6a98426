// Reel stops the tests script, by what they show. Main strips unless named for the bonus strips.
#pragma once

#include <array>

namespace kazoomba::testing {

// Stop on every cell: nothing wins anywhere.
inline constexpr std::array<int, 9> kBlank = {1, 1, 1, 1, 1, 1, 1, 1, 1};
// Top row Target Target Target (stop 6): line 1 pays 25 a coin.
inline constexpr std::array<int, 9> kTargetTop = {6, 6, 6, 1, 1, 1, 1, 1, 1};
// Top row SMILE SMILE SMILE (stop 3), the rest Stop.
inline constexpr std::array<int, 9> kSmileTop = {3, 3, 3, 1, 1, 1, 1, 1, 1};
// Top row Globe Globe Globe (stop 9 on each strip).
inline constexpr std::array<int, 9> kGlobeTop = {9, 9, 9, 1, 1, 1, 1, 1, 1};
// Bonus strips: Stop on every cell.
inline constexpr std::array<int, 9> kBonusBlank = {0, 0, 0, 0, 0, 0, 0, 0, 0};
// Bonus strips: top row three TripleBar (stop 9), 50 coins a coin.
inline constexpr std::array<int, 9> kTripleTop = {9, 9, 9, 0, 0, 0, 0, 0, 0};

}  // namespace kazoomba::testing
