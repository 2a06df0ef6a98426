// The fast engine's tables, learnt once per wager from the rules, and the draw of a spin's nine stops.
#include "FastEngine.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kazoomba::par {
namespace {

SpinTables BuildTables(const RuleTables& rules, int coins, bool bonusSet) {
    const StripSet& strips = bonusSet ? BonusStrips() : RegularStrips();
    const LineCoins lineCoins = CoinsFor(coins);
    std::array<std::vector<SymbolCount>, kStrips> on;
    std::size_t most = 0;
    for (int s = 0; s < kStrips; ++s) {
        on[s] = SymbolsOn(strips[s]);
        most = std::max(most, on[s].size());
    }
    SpinTables t;
    while ((std::size_t{1} << t.bits) < most) ++t.bits;

    auto symbolAt = [&](int cell, unsigned i) { return on[WheelOf(cell)][i].symbol; };
    int peakGrowth = 0;
    for (int c = 0; c < kCells; ++c)
        for (int k = 0; k < kStops; ++k) {
            const auto& symbols = on[WheelOf(c)];
            const Symbol shown = strips[WheelOf(c)][k];
            const auto i = std::find_if(symbols.begin(), symbols.end(), [&](const SymbolCount& s) { return s.symbol == shown; });
            t.index[c][k] = static_cast<std::uint8_t>(i - symbols.begin());
            if (bonusSet) continue;  // bonus spins leave the pool alone
            const double growth = rules.PoolGrowthPerCell(coins, shown);
            if (growth != std::floor(growth)) throw std::logic_error("pool growth is not a whole number of coins");
            t.cellAdd[c][k] = static_cast<std::uint32_t>(growth) << kGrowthShift;
            peakGrowth += static_cast<int>(growth);
        }
    int peakWin = 0;
    for (int l = 0; l < kLines; ++l) {
        t.lineAdd[l].assign(std::size_t{1} << 3 * t.bits, 0);
        const auto& cells = kPayLines[l];
        int linePeak = 0;
        for (unsigned a = 0; a < on[WheelOf(cells[0])].size(); ++a)
            for (unsigned b = 0; b < on[WheelOf(cells[1])].size(); ++b)
                for (unsigned c = 0; c < on[WheelOf(cells[2])].size(); ++c) {
                    const LineEffect& e = rules.Line(l, symbolAt(cells[0], a), symbolAt(cells[1], b),
                                                     symbolAt(cells[2], c), bonusSet);
                    if (bonusSet && (e.smile || e.globe)) throw std::logic_error("a bonus line moved a counter");
                    if (lineCoins[l] <= 0) continue;
                    const int win = e.pay * lineCoins[l];
                    linePeak = std::max(linePeak, win);
                    t.lineAdd[l][(a << 2 * t.bits) | (b << t.bits) | c] =
                        static_cast<std::uint32_t>(win) | std::uint32_t{e.smile} << kSmileShift |
                        std::uint32_t{e.globe} << kGlobeShift;
                }
        peakWin += linePeak;
    }
    if (peakWin > static_cast<int>(kWinMask) || peakGrowth > 0xFF) throw std::logic_error("a spin's tallies overflow their fields");
    return t;
}

}  // namespace

Engine::Engine(const Analysis& analysis, int coins)
    : rules(analysis.Rules()),
      board(analysis.Board()),
      regular(BuildTables(rules, coins, false)),
      bonus(BuildTables(rules, coins, true)),
      smileSteps(rules.SmileSteps().data()),
      poolSteps(rules.PoolSteps().data()),
      bonusSpins(rules.BonusSpinsPerAward()) {}

std::array<int, kCells> StopsOf(std::uint64_t draw) {
    std::array<int, kCells> stops{};
    for (int c = 0; c < kCells; ++c) {
        stops[c] = static_cast<int>(draw % kStops);
        draw /= kStops;
    }
    return stops;
}

std::uint64_t DrawOf(const std::array<int, kCells>& stops) {
    std::uint64_t draw = 0;
    for (int c = kCells - 1; c >= 0; --c) draw = draw * kStops + static_cast<std::uint64_t>(stops[c]);
    return draw;
}

}  // namespace kazoomba::par
