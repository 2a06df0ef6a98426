// The check of a pending moment: its stops are scored again and its board laid out again.
#include "play/PendingMoment.h"

#include <algorithm>
#include <cmath>

#include "play/GameState.h"

namespace kazoomba {

namespace {

// Amounts are kept in cents: a figure that was stored is within half a cent of the game's own, with room
// for the float arithmetic of very large sums.
bool SameMoney(float stored, float computed) {
    const double tolerance = 0.005 + 1e-6 * std::fabs(static_cast<double>(computed));
    return std::fabs(static_cast<double>(stored) - static_cast<double>(computed)) <= tolerance;
}

bool IsPermutation(const std::array<int, kBoxes>& content) {
    std::array<bool, kBoxes> seen{};
    for (int c : content) {
        if (c < 0 || c >= kBoxes || seen[c]) return false;
        seen[c] = true;
    }
    return true;
}

// The most Globe lines one spin can add to a count that stood at 1 is eight, one a line.
constexpr int kLowestBells = 1 - kLines;

}  // namespace

StopsPay PayOfStops(const std::array<std::int16_t, kCells>& stops, bool bonusSet, float coinValue, float lastBet) {
    Wheels wheels;
    BuildReels(wheels, bonusSet);
    wheels.StopIndex = stops;
    const std::array<std::int16_t, kLines> coins = DealLineCoins(lastBet, coinValue);
    StopsPay pay;
    for (int line = 0; line < kLines; ++line) {
        if (coins[line] <= 0) continue;
        const auto& cells = kPayLines[line];
        pay.linePay[line] =
            EvaluateLine(wheels.SymbolAt(cells[0]), wheels.SymbolAt(cells[1]), wheels.SymbolAt(cells[2]), bonusSet).pay;
    }
    for (int line = 0; line < kLines; ++line) pay.lineWin += LinePayout(pay.linePay[line], coinValue, coins[line]);
    return pay;
}

float BoardWinnings(float stake, const std::array<int, kBoxes>& content, const std::array<bool, kBoxes>& opened) {
    float winnings = stake;
    for (int i = 0; i < kBoxes; ++i) {
        if (!opened[i]) continue;
        if (KindOf(content[i]) == BoxKind::Losing) return 0.0f;
        winnings *= static_cast<float>(MultiplierOf(content[i]));
    }
    return winnings;
}

std::string CheckPendingMoment(const PendingMoment& m, const GameState& game) {
    for (std::int16_t stop : m.stops)
        if (stop < 0 || stop >= kStops) return "a reel stop is not on its strip";
    if (m.bonusSpins < 0 || m.bonusSpins > 3) return "more bonus spins are left than a SMILE award gives";
    // An award gives three and the first is played on the bonus strips at once.
    if (m.bonusSet ? m.bonusSpins > 2 : (m.bonusSpins != 0 && m.bonusSpins != 3))
        return "the bonus spins left do not fit the reels shown";
    if (m.phase == MomentPhase::Idle) {
        if (m.bonusSpins != 0) return "bonus spins are left with no spin in play";
        return {};
    }
    if (!(game.LastBet > 0.0f) || game.LastBet > game.MaxBet + 0.001f) return "no bet was in play";
    if (m.phase == MomentPhase::BonusSpins) {
        if (m.bonusSpins < 1) return "no bonus spin is left to play";
        return {};
    }
    // The reels were moving: the stops decide the spin, which is scored as it comes to rest.
    if (m.phase == MomentPhase::Reels) return {};

    const StopsPay pay = PayOfStops(m.stops, m.bonusSet, game.CoinValue, game.LastBet);
    if (pay.linePay != m.linePay) return "the winning lines are not what the reels show";
    if (m.bells < kLowestBells || m.bells > 3) return "the Globe count is out of range";
    const bool poolWon = m.bells <= 0;
    if (poolWon && m.bonusSet) return "a bonus spin cannot win the pool";
    if (poolWon ? !SameMoney(m.pool, game.BonusPool) : m.pool != 0.0f)
        return "the pool paid is not the pool in play";
    const float win = pay.lineWin + (poolWon ? game.BonusPool : 0.0f);
    if (!(win > 0.0f)) return "the reels show no win";
    if (!SameMoney(m.spinWin, win))
        return m.spinWin > win ? "the win is larger than the reels pay" : "the win is smaller than the reels pay";

    if (m.phase == MomentPhase::Board) {
        if (!IsPermutation(m.boxContent)) return "the board does not hold each of its fifteen boxes once";
        int losing = 0;
        for (int i = 0; i < kBoxes; ++i)
            if (m.boxOpened[i] && KindOf(m.boxContent[i]) == BoxKind::Losing) ++losing;
        if (losing > 1) return "the board has more than one losing box open";
        if (!SameMoney(m.winnings, BoardWinnings(win, m.boxContent, m.boxOpened)))
            return "the board's winnings are not what its open boxes make";
    }
    return {};
}

}  // namespace kazoomba
