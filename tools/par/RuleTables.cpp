// Probes ScoreSpin and ClearWonPool on wheels that can show any symbol in any cell.
#include "RuleTables.h"

#include <map>
#include <stdexcept>

#include "engine/Random.h"
#include "engine/Scoring.h"
#include "play/GameState.h"

namespace kazoomba::par {
namespace {

// ScoreSpin reseeds its generator; a probe has nothing to draw, so the reseed is ignored.
class SilentRandom final : public Random {
public:
    double Uniform() override { return 0.0; }
    void ReseedFromClock() override {}
};

// Wheels whose every strip lists the symbol codes in order, so a cell shows symbol s when it rests on stop s.
Wheels ProbeWheels(bool bonusSet, Symbol everywhere) {
    Wheels wheels;
    BuildReels(wheels, bonusSet);
    for (auto& strip : wheels.ReelStrip)
        for (int k = 0; k < kStops; ++k) strip[k] = static_cast<Symbol>(k < kSymbolCount ? k : Stop);
    wheels.StopIndex.fill(everywhere);
    return wheels;
}

// The first `lines` lines carry one coin each, at a coin value of 1.
Stake FirstLines(int lines) {
    Stake stake;
    stake.CoinValue = 1.0f;
    stake.Wager = static_cast<float>(lines);
    for (int l = 0; l < lines; ++l) stake.LineCoins[l] = 1;
    return stake;
}

LineEffect ProbeLine(Wheels& wheels, int line, Symbol a, Symbol b, Symbol c, bool bonusSet) {
    wheels.StopIndex.fill(a);
    const auto& cells = kPayLines[line];
    wheels.StopIndex[cells[0]] = a;
    wheels.StopIndex[cells[1]] = b;
    wheels.StopIndex[cells[2]] = c;
    Stake stake;
    stake.CoinValue = 1.0f;
    stake.Wager = 1.0f;
    stake.LineCoins[line] = 1;
    BonusCounters counters;
    counters.BonusMode = bonusSet;
    const BonusCounters before = counters;
    SilentRandom random;
    const SpinScore score = ScoreSpin(wheels, stake, counters, random);
    return {score.LinePay[line], counters.Smiles != before.Smiles, counters.Bells != before.Bells};
}

// A symbol whose line of three moves the counter picked out by `moves`; -1 if there is none.
template <class Moves>
Symbol SymbolThatMoves(const RuleTables& rules, Moves moves) {
    for (Symbol s = 0; s < kSymbolCount; ++s)
        if (moves(rules.Line(0, s, s, s, false))) return s;
    return -1;
}

}  // namespace

std::vector<SymbolCount> SymbolsOn(const std::array<Symbol, kStops>& strip) {
    std::map<Symbol, int> counts;
    for (Symbol s : strip) ++counts[s];
    std::vector<SymbolCount> out;
    for (auto [symbol, stops] : counts) out.push_back({symbol, stops});
    return out;
}

RuleTables::RuleTables() {
    for (int bonusSet = 0; bonusSet < 2; ++bonusSet) {
        Wheels wheels = ProbeWheels(bonusSet != 0, Stop);
        for (int line = 0; line < kLines; ++line) {
            auto& table = lines_[bonusSet][line];
            table.resize(kSymbolCount * kSymbolCount * kSymbolCount);
            for (Symbol a = 0; a < kSymbolCount; ++a)
                for (Symbol b = 0; b < kSymbolCount; ++b)
                    for (Symbol c = 0; c < kSymbolCount; ++c)
                        table[(a * kSymbolCount + b) * kSymbolCount + c] =
                            ProbeLine(wheels, line, a, b, c, bonusSet != 0);
        }
    }

    // Pool growth: all nine cells show the same symbol; the growth is shared out equally among them (the
    // pool grows by a fixed amount per FULMINA showing).
    SilentRandom random;
    for (int coins = 1; coins <= kMaxCoins; ++coins)
        for (Symbol s = 0; s < kSymbolCount; ++s) {
            Wheels wheels = ProbeWheels(false, s);
            Stake stake;
            stake.CoinValue = 1.0f;
            stake.Wager = static_cast<float>(coins);
            stake.LineCoins = DealLineCoins(stake.Wager, stake.CoinValue);
            BonusCounters counters;
            ScoreSpin(wheels, stake, counters, random);
            poolGrowth_[coins][s] = counters.BonusPool / kCells;
        }

    const BonusCounters fresh;
    smileStart_ = fresh.Smiles;
    poolStart_ = fresh.Bells;

    // Counter steps: every cell shows a symbol whose lines move the counter, and only the first k lines carry
    // coins, so the spin brings exactly k counted lines.
    const Symbol smile = SymbolThatMoves(*this, [](const LineEffect& e) { return e.smile; });
    const Symbol globe = SymbolThatMoves(*this, [](const LineEffect& e) { return e.globe; });
    smileSteps_.resize(smileStart_ + 1);
    poolSteps_.resize(poolStart_ + 1);
    for (int value = 0; value <= smileStart_; ++value)
        for (int k = 0; k <= kLines; ++k) {
            Wheels wheels = ProbeWheels(false, smile < 0 ? Symbol{Stop} : smile);
            BonusCounters counters;
            counters.Smiles = static_cast<std::int16_t>(value);
            ScoreSpin(wheels, FirstLines(smile < 0 ? 0 : k), counters, random);
            const bool awarded = counters.BonusSpins > 0;
            if (awarded) bonusSpinsPerAward_ = counters.BonusSpins;
            smileSteps_[value][k] = {counters.Smiles, awarded};
        }
    for (int value = 0; value <= poolStart_; ++value)
        for (int k = 0; k <= kLines; ++k) {
            Wheels wheels = ProbeWheels(false, globe < 0 ? Symbol{Stop} : globe);
            BonusCounters counters;
            counters.Bells = static_cast<std::int16_t>(value);
            const SpinScore score = ScoreSpin(wheels, FirstLines(globe < 0 ? 0 : k), counters, random);
            if (score.SpinWin > 0.0f) ClearWonPool(counters);  // the game clears a won pool once the win is taken
            poolSteps_[value][k] = {counters.Bells, score.PoolWon};
        }
    for (const auto* steps : {&smileSteps_, &poolSteps_})
        for (const auto& row : *steps)
            for (const CounterStep& step : row)
                if (step.next < 0 || step.next >= static_cast<int>(steps->size()))
                    throw std::logic_error("a counter left the range it starts from");
}

}  // namespace kazoomba::par
