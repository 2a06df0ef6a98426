// The moment of a spin that is not over yet, kept with the game so a crash can bring it back, and its check.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/Payoffs.h"
#include "engine/Reels.h"
#include "gamble/Board.h"
#include "play/GameState.h"

namespace kazoomba {

enum class MomentPhase {
    Idle,        // nothing pending: the reels rest where the last spin left them
    Payoffs,     // a settled spin's win waits to be taken or doubled
    Board,       // the win is on the Vaz Ivero board
    BonusSpins,  // bonus spins are still to be played
    Reels,       // the bet is taken and the stops are chosen: the reels are moving to them
};

struct PendingMoment {
    MomentPhase phase = MomentPhase::Idle;
    std::array<std::int16_t, kCells> stops{8, 9, 8, 9, 8, 9, 8, 9, 8};  // where the wheels rest
    bool bonusSet = false;         // the strips those stops are on
    std::int16_t bonusSpins = 0;   // bonus spins still to play once this moment is over

    // The settled spin's win (Payoffs and Board): what its lines pay plus the pool it wins.
    std::array<std::int16_t, kLines> linePay{};
    float spinWin = 0.0f;
    float pool = 0.0f;             // the pool paid with it; 0 when the spin does not win the pool
    std::int16_t bells = 3;        // the Globe count the spin left; 0 or below when it wins the pool

    // The board (Board only).
    std::array<int, kBoxes> boxContent{};
    std::array<bool, kBoxes> boxOpened{};
    float winnings = 0.0f;
};

// What a moment's stops pay on the game's coin value and last bet: each line's pay and the sum of the
// line wins, added exactly as ScoreSpin adds them.
struct StopsPay {
    std::array<std::int16_t, kLines> linePay{};
    float lineWin = 0.0f;
};
StopsPay PayOfStops(const std::array<std::int16_t, kCells>& stops, bool bonusSet, float coinValue, float lastBet);

// The board's winnings as the opened boxes make them from the stake: 0 after a losing box.
float BoardWinnings(float stake, const std::array<int, kBoxes>& content, const std::array<bool, kBoxes>& opened);

// Why the moment cannot be true of the game it was saved with, in plain words; empty when it can.
std::string CheckPendingMoment(const PendingMoment& moment, const GameState& game);

}  // namespace kazoomba
