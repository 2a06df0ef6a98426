// The par sheet: the figures of one wager, computed exactly from the rules.
#pragma once

#include <array>
#include <vector>

#include "BoardOdds.h"
#include "RuleTables.h"
#include "SpinOdds.h"

namespace kazoomba::par {

// Money figures are in coins per coin wagered; frequencies are "one in N paid spins".
struct Figures {
    int coins = 0;
    double rtpLines = 0.0;
    double rtpPool = 0.0;
    double rtpBonus = 0.0;
    double rtpTotal = 0.0;
    double hitFrequency = 0.0;  // share of paid spins with a line win
    double sdLineWin = 0.0;     // standard deviation of a paid spin's line win
    double bonusAwardEvery = 0.0;
    double poolWinEvery = 0.0;
    double meanPool = 0.0;      // the pool when it is won
    double boardOnePick = 0.0;  // multiples of the stake
    double boardBest = 0.0;
};

// The exact figures of one wager with the distribution of a paid spin's line win behind them.
struct ParSheet {
    Figures figures;
    SpinOdds odds;
    std::array<double, kLines> lineReturns{};  // per coin on each line
    double bonusSpinReturn = 0.0;   // one bonus spin, per coin wagered
    double awardReturn = 0.0;       // all the bonus spins of one award, per coin wagered
    double meanPoolGrowth = 0.0;    // coins the pool grows by on a paid spin
    double boardLossChance = 0.0;   // best board play loses the stake this often
};

// Holds what every wager shares: the rule tables, the per-line odds and the solved board.
class Analysis {
public:
    Analysis();

    ParSheet Wager(int coins) const;
    // Every wager from 1 to 64 coins, without the win distributions.
    std::vector<Figures> AllWagers() const;

    const RuleTables& Rules() const { return rules_; }
    const BoardOdds& Board() const { return board_; }
    const std::array<double, kLines>& LineReturns() const { return lineReturns_; }
    const std::array<double, kLines>& BonusLineReturns() const { return bonusLineReturns_; }

private:
    // Everything but the win distribution, from the odds of the lines' counters and the pair moments.
    Figures FiguresOf(int coins, const SpinOdds& coverage) const;

    RuleTables rules_;
    BoardOdds board_;
    std::array<double, kLines> lineReturns_{};
    std::array<double, kLines> bonusLineReturns_{};
    PayProducts payProducts_{};
};

// The lines' coins for a wager of n coins, at a coin value of 1.
LineCoins CoinsFor(int coins);

}  // namespace kazoomba::par
