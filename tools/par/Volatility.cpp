// The long-run moments of a paid spin's whole return, solved over the joint chain of the two counters.
#include "Volatility.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "CounterChain.h"

namespace kazoomba::par {

Volatility VolatilityFrom(double meanWhole, double sdWhole, bool exact) {
    Volatility v;
    v.exact = exact;
    v.meanWhole = meanWhole;
    v.sdWhole = sdWhole;
    v.index90 = 1.645 * sdWhole;
    v.index95 = 1.96 * sdWhole;
    const int spins[] = {100, 1'000, 10'000, 100'000};
    for (std::size_t i = 0; i < v.bands.size(); ++i) {
        const double half = v.index90 / std::sqrt(static_cast<double>(spins[i]));
        v.bands[i] = {spins[i], meanWhole - half, meanWhole + half};
    }
    return v;
}

Volatility ExactVolatility(const Analysis& analysis, const ParSheet& sheet) {
    const RuleTables& rules = analysis.Rules();
    const SpinOdds& odds = sheet.odds;
    const int coins = sheet.figures.coins;
    const double total = static_cast<double>(odds.total);
    const auto nan = std::numeric_limits<double>::quiet_NaN();

    // The bonus spins of one award: independent spins on the bonus strips.
    const LineCoins lineCoins = CoinsFor(coins);
    const PayProducts bonusProducts = LinePayProducts(rules, true);
    double spinMean = 0.0, spinSquare = 0.0;
    for (int l = 0; l < kLines; ++l) {
        spinMean += lineCoins[l] * analysis.BonusLineReturns()[l];
        for (int m = 0; m < kLines; ++m) spinSquare += lineCoins[l] * lineCoins[m] * bonusProducts[l][m];
    }
    const double spins = rules.BonusSpinsPerAward();
    const double awardMean = spins * spinMean;
    const double awardSquare = spins * (spinSquare - spinMean * spinMean) + awardMean * awardMean;

    // The states the two counters reach together from a new game.
    const CounterSteps& smileSteps = rules.SmileSteps();
    const CounterSteps& poolSteps = rules.PoolSteps();
    const int bellValues = static_cast<int>(poolSteps.size());
    auto id = [&](int smiles, int bells) { return smiles * bellValues + bells; };
    std::vector<int> index(smileSteps.size() * poolSteps.size(), -1), order{id(rules.SmileStart(), rules.PoolStart())};
    index[order[0]] = 0;
    struct Class {
        int smiles, globes;
        const SpinOdds::CounterClass* sums;
    };
    std::vector<Class> classes;
    for (int k = 0; k <= kLines; ++k)
        for (int g = 0; g <= kLines; ++g)
            if (odds.byCounters[k][g].weight > 0) classes.push_back({k, g, &odds.byCounters[k][g]});
    auto step = [&](int state, const Class& c) {
        const CounterStep& smile = smileSteps[state / bellValues][c.smiles];
        const CounterStep& globe = poolSteps[state % bellValues][c.globes];
        return std::tuple{id(smile.next, globe.next), smile.fired, globe.fired};
    };
    for (std::size_t i = 0; i < order.size(); ++i)
        for (const Class& c : classes) {
            const int next = std::get<0>(step(order[i], c));
            if (index[next] >= 0) continue;
            index[next] = static_cast<int>(order.size());
            order.push_back(next);
        }
    const int n = static_cast<int>(order.size());

    // Stationary chances: pi (I - T) = 0 with the chances summing to 1 in place of the last equation.
    // Pool moments: the pool at the start of a spin, m1 = E[pool; state] and m2 = E[pool^2; state], carried
    // over every spin that does not win it: m (I - N) = r.
    std::vector<std::vector<double>> stay(n, std::vector<double>(n, 0.0)), keep(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i) {
        stay[i][i] += 1.0;
        keep[i][i] += 1.0;
        for (const Class& c : classes) {
            const auto [next, awarded, won] = step(order[i], c);
            const double p = c.sums->weight / total;
            stay[index[next]][i] -= p;  // transposed: one equation per state entered
            if (!won) keep[index[next]][i] -= p;
        }
    }
    for (int i = 0; i < n; ++i) stay[n - 1][i] = 1.0;
    std::vector<double> unit(n, 0.0);
    unit[n - 1] = 1.0;
    const std::vector<double> pi = SolveLinear(stay, unit);
    if (pi.empty()) return VolatilityFrom(nan, nan, false);
    std::vector<double> r1(n, 0.0);
    for (int i = 0; i < n; ++i)
        for (const Class& c : classes) {
            const auto [next, awarded, won] = step(order[i], c);
            if (!won) r1[index[next]] += pi[i] * c.sums->growth / total;
        }
    const std::vector<double> m1 = SolveLinear(keep, r1);
    if (m1.empty()) return VolatilityFrom(nan, nan, false);
    std::vector<double> r2(n, 0.0);
    for (int i = 0; i < n; ++i)
        for (const Class& c : classes) {
            const auto [next, awarded, won] = step(order[i], c);
            if (!won) r2[index[next]] += (2 * m1[i] * c.sums->growth + pi[i] * c.sums->growthSquares) / total;
        }
    const std::vector<double> m2 = SolveLinear(keep, r2);
    if (m2.empty()) return VolatilityFrom(nan, nan, false);

    // R = L + A B + W (X + G): line win L, award A with its bonus spins B, pool won W holding the pool X
    // before the spin and the spin's own growth G. B is independent of the rest; X of the spin.
    double mean = 0.0, square = 0.0;
    for (const Class& c : classes) {
        mean += c.sums->win / total;
        square += c.sums->winSquares / total;
    }
    for (int i = 0; i < n; ++i)
        for (const Class& c : classes) {
            const auto [next, awarded, won] = step(order[i], c);
            const double p = c.sums->weight / total, l1 = c.sums->win / total, g1 = c.sums->growth / total;
            // E[X + G; state, class] and E[(X + G)^2; ...]
            const double pool1 = m1[i] * p + pi[i] * g1;
            const double pool2 = m2[i] * p + 2 * m1[i] * g1 + pi[i] * c.sums->growthSquares / total;
            if (awarded) {
                mean += pi[i] * p * awardMean;
                square += pi[i] * p * awardSquare + 2 * awardMean * pi[i] * l1;
            }
            if (won) {
                mean += pool1;
                square += pool2 + 2 * (m1[i] * l1 + pi[i] * c.sums->winGrowth / total);
            }
            if (awarded && won) square += 2 * awardMean * pool1;
        }
    return VolatilityFrom(mean / coins, std::sqrt(std::max(0.0, square - mean * mean)) / coins, true);
}

}  // namespace kazoomba::par
