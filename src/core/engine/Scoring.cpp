// ScoreSpin and the bonus rules that ride on it.
#include "engine/Scoring.h"

namespace kazoomba {

SpinScore ScoreSpin(const Wheels& wheels, const Stake& stake, BonusCounters& bonus, Random& random) {
    random.ReseedFromClock();
    SpinScore score;
    for (int c = 0; c < kCells; ++c)
        if (wheels.SymbolAt(c) == Fulmina) ++score.FulminaCount;

    for (int line = 0; line < kLines; ++line) {
        if (stake.LineCoins[line] <= 0) continue;
        const auto& cells = kPayLines[line];
        LineOutcome out = EvaluateLine(wheels.SymbolAt(cells[0]), wheels.SymbolAt(cells[1]),
                                       wheels.SymbolAt(cells[2]), bonus.BonusMode);
        score.LinePay[line] = out.pay;
        if (out.pay > 0 && !bonus.BonusMode) {
            if (out.code == Globe) bonus.Bells -= 1;
            if (out.code == Smile && bonus.Smiles > 0) bonus.Smiles -= 1;
        }
    }

    bonus.BonusPool += PoolGrowth(stake, bonus.BonusMode, score.FulminaCount);

    float win = 0.0f;
    for (int line = 0; line < kLines; ++line) win += LinePayout(score.LinePay[line], stake.CoinValue, stake.LineCoins[line]);
    score.SpinWin = win;

    if (bonus.BonusMode) bonus.CherryPts += score.SpinWin;
    if (bonus.Smiles <= 0) {
        bonus.BonusSpins = 3;
        bonus.Smiles = 6;
    }
    if (bonus.Bells <= 0) {
        score.SpinWin += bonus.BonusPool;
        score.PoolWon = true;
    }
    return score;
}

void ClearWonPool(BonusCounters& bonus) {
    if (bonus.Bells > 0) return;
    bonus.PoolPts += bonus.BonusPool;
    bonus.BonusPool = 0.0f;
    bonus.Bells = 3;
}

}  // namespace kazoomba
