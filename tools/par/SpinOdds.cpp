// Enumeration of the nine wheels by symbol, with each symbol weighted by the stops that show it.
#include "SpinOdds.h"

#include <algorithm>
#include <numeric>

namespace kazoomba::par {
namespace {

using Choices = std::array<std::vector<SymbolCount>, kCells>;
using Shown = std::array<Symbol, kCells>;

Choices CellChoices(bool bonusSet) {
    const StripSet& strips = bonusSet ? BonusStrips() : RegularStrips();
    Choices choices;
    for (int c = 0; c < kCells; ++c) choices[c] = SymbolsOn(strips[WheelOf(c)]);
    return choices;
}

// Calls visit(weight) for every way the given cells can show symbols, with `shown` filled in for them;
// weight is the number of stop combinations of those cells that show it.
template <class Visit>
void ForEachShowing(const std::vector<int>& cells, const Choices& choices, Shown& shown, Visit visit) {
    std::array<std::size_t, kCells> digit{};
    const std::size_t n = cells.size();
    for (;;) {
        std::uint64_t weight = 1;
        for (std::size_t i = 0; i < n; ++i) {
            const SymbolCount& choice = choices[cells[i]][digit[i]];
            shown[cells[i]] = choice.symbol;
            weight *= static_cast<std::uint64_t>(choice.stops);
        }
        visit(weight);
        std::size_t i = 0;
        while (i < n && ++digit[i] == choices[cells[i]].size()) digit[i++] = 0;
        if (i == n) return;
    }
}

// A spin's tallies packed so that adding keys adds them field by field: the line win in coins in the low
// 32 bits, SMILE lines in bits 32 to 39, Globe lines in bits 40 to 47.
using Key = std::uint64_t;
constexpr Key Pack(int win, int smiles, int globes) {
    return static_cast<Key>(win) | static_cast<Key>(smiles) << 32 | static_cast<Key>(globes) << 40;
}
constexpr int WinOf(Key k) { return static_cast<int>(k & 0xFFFFFFFFu); }
constexpr int SmilesOf(Key k) { return static_cast<int>(k >> 32 & 0xFF); }
constexpr int GlobesOf(Key k) { return static_cast<int>(k >> 40 & 0xFF); }

// The pool growth of the cells behind a key is not part of the key (it would multiply the keys); its first
// two moments ride along instead, summed over the combinations: growth = sum weight x G, squares = weight x G^2.
struct Weighted {
    Key key;
    std::uint64_t weight;
    double growth;
    double squares;
};

void Merge(std::vector<Weighted>& list, const Weighted& add) {
    for (Weighted& w : list)
        if (w.key == add.key) {
            w.weight += add.weight;
            w.growth += add.growth;
            w.squares += add.squares;
            return;
        }
    list.push_back(add);
}

// Two independent sets of cells together: the weights multiply and the growths add.
Weighted Combine(const Weighted& f, const Weighted& g) {
    const double wf = static_cast<double>(f.weight), wg = static_cast<double>(g.weight);
    return {f.key + g.key, f.weight * g.weight, f.growth * wg + wf * g.growth,
            f.squares * wg + 2 * f.growth * g.growth + wf * g.squares};
}

// Hub cells lie on three or more lines; the other cells form groups that share a line with each other but
// with no other group, so once the hubs are fixed the groups are independent.
struct Layout {
    std::vector<int> hubCells;
    std::vector<int> hubLines;
    struct Group {
        std::vector<int> cells;
        std::vector<int> lines;
    };
    std::vector<Group> groups;
};

Layout SplitCells() {
    std::array<int, kCells> linesThrough{};
    for (const auto& line : kPayLines)
        for (int c : line) ++linesThrough[c];
    Layout layout;
    std::array<int, kCells> group;
    group.fill(-1);
    std::vector<int> parent(kCells);
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int c) {
        while (parent[c] != c) c = parent[c];
        return c;
    };
    for (int c = 0; c < kCells; ++c)
        if (linesThrough[c] >= 3) layout.hubCells.push_back(c);
    auto isHub = [&](int c) { return linesThrough[c] >= 3; };
    for (const auto& line : kPayLines) {
        int first = -1;
        for (int c : line)
            if (!isHub(c)) {
                if (first < 0) first = c;
                parent[root(c)] = root(first);
            }
    }
    for (int c = 0; c < kCells; ++c) {
        if (isHub(c)) continue;
        const int r = root(c);
        if (group[r] < 0) {
            group[r] = static_cast<int>(layout.groups.size());
            layout.groups.emplace_back();
        }
        layout.groups[group[r]].cells.push_back(c);
    }
    for (int l = 0; l < kLines; ++l) {
        int owner = -1;
        for (int c : kPayLines[l])
            if (!isHub(c)) owner = group[root(c)];
        (owner < 0 ? layout.hubLines : layout.groups[owner].lines).push_back(l);
    }
    return layout;
}

}  // namespace

SpinOdds EnumerateSpin(const RuleTables& rules, const LineCoins& coins) {
    const Choices choices = CellChoices(false);
    const Layout layout = SplitCells();

    // Each line's packed tallies by the symbols on it; a line without coins adds nothing.
    constexpr int kTriples = kSymbolCount * kSymbolCount * kSymbolCount;
    std::array<std::vector<Key>, kLines> lineKey;
    int maxWin = 0;
    for (int l = 0; l < kLines; ++l) {
        lineKey[l].assign(kTriples, 0);
        int linePeak = 0;
        for (int t = 0; t < kTriples; ++t) {
            const Symbol a = static_cast<Symbol>(t / (kSymbolCount * kSymbolCount));
            const Symbol b = static_cast<Symbol>(t / kSymbolCount % kSymbolCount);
            const Symbol c = static_cast<Symbol>(t % kSymbolCount);
            const LineEffect& e = rules.Line(l, a, b, c, false);
            if (coins[l] <= 0) continue;
            lineKey[l][t] = Pack(e.pay * coins[l], e.smile, e.globe);
            linePeak = std::max(linePeak, e.pay * coins[l]);
        }
        maxWin += linePeak;
    }
    int coinsWagered = 0;
    for (int l = 0; l < kLines; ++l) coinsWagered += coins[l];
    auto growthOf = [&](const std::vector<int>& cells, const Shown& s) {
        double g = 0.0;
        for (int c : cells) g += rules.PoolGrowthPerCell(coinsWagered, s[c]);
        return g;
    };
    auto keyOf = [&](int l, const Shown& s) {
        const auto& cells = kPayLines[l];
        return lineKey[l][(s[cells[0]] * kSymbolCount + s[cells[1]]) * kSymbolCount + s[cells[2]]];
    };

    SpinOdds odds;
    odds.lineWin.assign(maxWin + 1, 0);
    Shown shown{};
    std::vector<Weighted> folded, next, groupList;
    ForEachShowing(layout.hubCells, choices, shown, [&](std::uint64_t hubWeight) {
        Key hubKey = 0;
        for (int l : layout.hubLines) hubKey += keyOf(l, shown);
        const double hubGrowth = growthOf(layout.hubCells, shown), w = static_cast<double>(hubWeight);
        folded.assign(1, {hubKey, hubWeight, w * hubGrowth, w * hubGrowth * hubGrowth});
        auto tally = [&](const Weighted& f) {
            const int win = WinOf(f.key);
            odds.lineWin[win] += f.weight;
            odds.smileLines[SmilesOf(f.key)] += f.weight;
            odds.globeLines[GlobesOf(f.key)] += f.weight;
            odds.total += f.weight;
            SpinOdds::CounterClass& c = odds.byCounters[SmilesOf(f.key)][GlobesOf(f.key)];
            const double weight = static_cast<double>(f.weight);
            c.weight += weight;
            c.win += weight * win;
            c.winSquares += weight * win * win;
            c.growth += f.growth;
            c.growthSquares += f.squares;
            c.winGrowth += win * f.growth;
        };
        for (std::size_t i = 0; i < layout.groups.size(); ++i) {
            const auto& group = layout.groups[i];
            groupList.clear();
            ForEachShowing(group.cells, choices, shown, [&](std::uint64_t weight) {
                Key key = 0;
                for (int l : group.lines) key += keyOf(l, shown);
                const double g = growthOf(group.cells, shown), gw = static_cast<double>(weight);
                Merge(groupList, {key, weight, gw * g, gw * g * g});
            });
            // The last group's combinations go straight into the tallies: merging them first would only
            // search the longest list for keys the tallies add up anyway.
            const bool last = i + 1 == layout.groups.size();
            next.clear();
            for (const Weighted& f : folded)
                for (const Weighted& g : groupList) last ? tally(Combine(f, g)) : Merge(next, Combine(f, g));
            folded.swap(next);
        }
        if (layout.groups.empty())
            for (const Weighted& f : folded) tally(f);
    });
    return odds;
}

std::array<double, kLines> LineReturns(const RuleTables& rules, bool bonusSet) {
    const Choices choices = CellChoices(bonusSet);
    std::array<double, kLines> returns{};
    Shown shown{};
    for (int l = 0; l < kLines; ++l) {
        const auto& cells = kPayLines[l];
        std::uint64_t paid = 0, total = 0;
        ForEachShowing({cells.begin(), cells.end()}, choices, shown, [&](std::uint64_t weight) {
            paid += weight * static_cast<std::uint64_t>(rules.Line(l, shown[cells[0]], shown[cells[1]],
                                                                   shown[cells[2]], bonusSet).pay);
            total += weight;
        });
        returns[l] = static_cast<double>(paid) / static_cast<double>(total);
    }
    return returns;
}

PayProducts LinePayProducts(const RuleTables& rules, bool bonusSet) {
    const Choices choices = CellChoices(bonusSet);
    const std::array<double, kLines> means = LineReturns(rules, bonusSet);
    PayProducts products{};
    Shown shown{};
    for (int l = 0; l < kLines; ++l)
        for (int m = l; m < kLines; ++m) {
            std::vector<int> cells(kPayLines[l].begin(), kPayLines[l].end());
            for (int c : kPayLines[m])
                if (std::find(cells.begin(), cells.end(), c) == cells.end()) cells.push_back(c);
            if (cells.size() == 6) {  // no cell in common: the wheels are independent
                products[l][m] = products[m][l] = means[l] * means[m];
                continue;
            }
            auto pay = [&](int line) {
                const auto& on = kPayLines[line];
                return static_cast<std::uint64_t>(rules.Line(line, shown[on[0]], shown[on[1]], shown[on[2]], bonusSet).pay);
            };
            std::uint64_t sum = 0, total = 0;
            ForEachShowing(cells, choices, shown, [&](std::uint64_t weight) {
                sum += weight * pay(l) * pay(m);
                total += weight;
            });
            products[l][m] = products[m][l] = static_cast<double>(sum) / static_cast<double>(total);
        }
    return products;
}

double MeanPoolGrowth(const RuleTables& rules, int coins) {
    const Choices choices = CellChoices(false);
    double growth = 0.0;
    for (int c = 0; c < kCells; ++c)
        for (const SymbolCount& choice : choices[c])
            growth += rules.PoolGrowthPerCell(coins, choice.symbol) * choice.stops / kStops;
    return growth;
}

}  // namespace kazoomba::par
