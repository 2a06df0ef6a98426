// Exact figures of a wager: line returns, the pool by renewal-reward, the SMILE bonus by its counter's chain.
#include "ParSheet.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "CounterChain.h"
#include "play/GameState.h"

namespace kazoomba::par {
namespace {

LinesPerSpin Shares(const std::array<std::uint64_t, kLines + 1>& counts, std::uint64_t total) {
    LinesPerSpin p{};
    for (int k = 0; k <= kLines; ++k) p[k] = static_cast<double>(counts[k]) / static_cast<double>(total);
    return p;
}

}  // namespace

LineCoins CoinsFor(int coins) { return DealLineCoins(static_cast<float>(coins), 1.0f); }

Analysis::Analysis()
    : lineReturns_(par::LineReturns(rules_, false)),
      bonusLineReturns_(par::LineReturns(rules_, true)),
      payProducts_(LinePayProducts(rules_)) {}

Figures Analysis::FiguresOf(int coins, const SpinOdds& coverage) const {
    const LineCoins lineCoins = CoinsFor(coins);
    const double n = coins;
    Figures f;
    f.coins = coins;

    double mean = 0.0, square = 0.0, bonusSpin = 0.0;
    for (int l = 0; l < kLines; ++l) {
        mean += lineCoins[l] * lineReturns_[l];
        bonusSpin += lineCoins[l] * bonusLineReturns_[l];
        for (int m = 0; m < kLines; ++m) square += lineCoins[l] * lineCoins[m] * payProducts_[l][m];
    }
    f.rtpLines = mean / n;
    f.sdLineWin = std::sqrt(std::max(0.0, square - mean * mean)) / n;
    f.hitFrequency = 1.0 - static_cast<double>(coverage.lineWin[0]) / static_cast<double>(coverage.total);

    // Every spin is independent, so each counter is a Markov chain that starts afresh after its event.
    const CounterSteps& smiles = rules_.SmileSteps();
    const CounterSteps& pool = rules_.PoolSteps();
    f.bonusAwardEvery = SpinsToEvent(smiles, ValueAfterEvent(smiles, rules_.SmileStart()), Shares(coverage.smileLines, coverage.total));
    f.poolWinEvery = SpinsToEvent(pool, ValueAfterEvent(pool, rules_.PoolStart()), Shares(coverage.globeLines, coverage.total));

    // Renewal-reward: what the pool grows by on average is paid on average, and a won pool holds the growth of
    // one cycle between wins (Wald: mean growth per spin times mean spins per cycle).
    const double growth = MeanPoolGrowth(rules_, coins);
    f.rtpPool = growth / n;
    f.meanPool = growth * f.poolWinEvery / n;
    if (growth == 0.0) f.meanPool = 0.0;

    const double award = rules_.BonusSpinsPerAward() * bonusSpin / n;
    f.rtpBonus = std::isinf(f.bonusAwardEvery) ? 0.0 : award / f.bonusAwardEvery;
    f.rtpTotal = f.rtpLines + f.rtpPool + f.rtpBonus;

    f.boardOnePick = board_.OnePick();
    f.boardBest = board_.Best();
    return f;
}

ParSheet Analysis::Wager(int coins) const {
    ParSheet sheet;
    sheet.odds = EnumerateSpin(rules_, CoinsFor(coins));
    sheet.figures = FiguresOf(coins, sheet.odds);

    // The spread straight from the distribution (the pair moments give the same figure).
    double mean = 0.0, square = 0.0;
    const double total = static_cast<double>(sheet.odds.total);
    for (std::size_t w = 0; w < sheet.odds.lineWin.size(); ++w) {
        const double p = static_cast<double>(sheet.odds.lineWin[w]) / total;
        mean += p * static_cast<double>(w);
        square += p * static_cast<double>(w) * static_cast<double>(w);
    }
    sheet.figures.sdLineWin = std::sqrt(std::max(0.0, square - mean * mean)) / coins;

    sheet.lineReturns = lineReturns_;
    const LineCoins lineCoins = CoinsFor(coins);
    for (int l = 0; l < kLines; ++l) sheet.bonusSpinReturn += lineCoins[l] * bonusLineReturns_[l] / coins;
    sheet.awardReturn = rules_.BonusSpinsPerAward() * sheet.bonusSpinReturn;
    sheet.meanPoolGrowth = MeanPoolGrowth(rules_, coins);
    sheet.boardLossChance = board_.BestLossChance();
    return sheet;
}

std::vector<Figures> Analysis::AllWagers() const {
    // Hit frequency and the counters depend only on which lines carry coins, and from eight coins on every
    // line does; so eight enumerations serve all 64 wagers.
    std::vector<SpinOdds> coverage;
    for (int coins = 1; coins <= kLines; ++coins) coverage.push_back(EnumerateSpin(rules_, CoinsFor(coins)));
    std::vector<Figures> all;
    for (int coins = 1; coins <= kMaxCoins; ++coins)
        all.push_back(FiguresOf(coins, coverage[std::min(coins, kLines) - 1]));
    return all;
}

}  // namespace kazoomba::par
