// The figures of the Game Statistics window, computed from the game state on the 32-bit floats it holds.
#pragma once

#include <cstdint>
#include <string>

#include "play/GameState.h"

namespace kazoomba {

struct StatisticsFigures {
    std::int32_t Spins = 0;
    float Credits = 0, Borrowed = 0, TotalWagers = 0;
    float WonLost = 0;          // Credits - Borrowed
    float TotalPayoffs = 0;     // TotalWagers + WonLost
    float BonusPayoffs = 0;     // CherryPts + PoolPts
    float NormalPayoffs = 0;    // TotalPayoffs - BonusPayoffs - DoubleNothing
    float DoubleNothing = 0, CherryPts = 0, PoolPts = 0;
    bool HasRatios = false;     // only when something was wagered
    float TotalRatio = 0, NormalRatio = 0;
};

StatisticsFigures ComputeStatistics(const GameState& state);

// The figures as the window shows them, in its pictures.
struct StatisticsTexts {
    std::string Spins, Credits, Borrowed, TotalBets, WonLost, Total, Normal, VazIvero, Bonus, BonusRolls,
        BonusPool, TotalRatio, NormalRatio;
};
StatisticsTexts FormatStatistics(const StatisticsFigures& figures);

}  // namespace kazoomba
