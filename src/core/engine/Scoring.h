// ScoreSpin: line pays, the SMILE countdown and bonus-spin award, and the bonus pool's growth and payout.
#pragma once

#include <array>
#include <cstdint>

#include "engine/Payoffs.h"
#include "engine/Reels.h"

namespace kazoomba {

// The bonus state that travels with a game.
struct BonusCounters {
    std::int16_t Smiles = 6;      // SMILE lines still needed for bonus spins
    std::int16_t Bells = 3;       // Globe lines still needed to win the pool; may dip below 0 within a spin
    std::int16_t BonusSpins = 0;  // bonus spins still to play
    bool BonusMode = false;       // the bonus reel set is in force
    float BonusPool = 0.0f;
    float CherryPts = 0.0f;       // won on bonus spins over the game
    float PoolPts = 0.0f;         // pools won over the game
};

// What a spin is played for.
struct Stake {
    float CoinValue = 0.25f;
    float Wager = 0.0f;
    std::array<std::int16_t, kLines> LineCoins{};
};

struct SpinScore {
    std::array<std::int16_t, kLines + 1> LinePay{};  // entry 8 is always 0
    std::int16_t FulminaCount = 0;
    float SpinWin = 0.0f;
    bool PoolWon = false;  // Bells reached 0 or below: SpinWin includes the pool
};

// What one line pays in dollars, in the float arithmetic the spin's win is summed in, so that the lines
// shown always add up to the win.
inline float LinePayout(std::int16_t pay, float coinValue, std::int16_t lineCoins) {
    return static_cast<float>(pay) * coinValue * static_cast<float>(lineCoins);
}

// What a spin adds to the bonus pool: three coins for each FULMINA showing, on regular spins with every
// line covered (at least eight coins riding); nothing otherwise.
inline float PoolGrowth(const Stake& stake, bool bonusMode, int fulminaCount) {
    if (bonusMode || stake.Wager < 8.0f * stake.CoinValue || fulminaCount <= 0) return 0.0f;
    return stake.CoinValue * 3.0f * static_cast<float>(fulminaCount);
}

// Scores the resting wheels (reseeding the generator first) and moves the bonus counters: pool growth on
// regular spins with every line covered, CherryPts on bonus spins, the bonus-spin award, and the pool added
// to the win. The pool is cleared only by ClearWonPool, after the win has been presented.
SpinScore ScoreSpin(const Wheels& wheels, const Stake& stake, BonusCounters& bonus, Random& random);

// After a won pool has been presented: book it in PoolPts, empty it and start counting Globe lines again.
void ClearWonPool(BonusCounters& bonus);

}  // namespace kazoomba
