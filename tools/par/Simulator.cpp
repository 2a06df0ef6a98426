// The simulator's two engines (tables learnt from the rules, or the rules themselves), the threads and the
// confidence intervals.
#include "Simulator.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <thread>

#include "engine/Random.h"
#include "engine/Scoring.h"
#include "gamble/Board.h"
#include "play/GameState.h"

namespace kazoomba::par {
namespace {

// All nine stops of a spin from one draw: a uniform number below 20^9, read digit by digit in base 20.
// Each wheel's stop is uniform and independent, as the last launch draw of the motion makes it, so the
// motion table itself is skipped.
constexpr std::uint64_t StopCombinations() {
    std::uint64_t n = 1;
    for (int c = 0; c < kCells; ++c) n *= kStops;
    return n;
}
constexpr std::uint64_t kCombinations = StopCombinations();
constexpr int BitsFor(std::uint64_t n) {
    int bits = 0;
    while ((std::uint64_t{1} << bits) < n) ++bits;
    return bits;
}
constexpr int kDrawShift = 64 - BitsFor(kCombinations);

// The rules reseed their generator from the clock; a simulation must repeat from its seed, so the reseed is
// ignored and the draws come from the seeded generator alone.
class SeededRandom final : public Random {
public:
    explicit SeededRandom(std::uint64_t seed) : inner_(seed) {}
    double Uniform() override { return inner_.Uniform(); }
    void ReseedFromClock() override {}

private:
    ClockRandom inner_;
};

std::uint64_t GameSeed(std::uint64_t seed, std::uint64_t game) { return seed + (game + 1) * 0x9E3779B97F4A7C15ull; }

// ---- The fast engine: a spin is two table lookups per cell and one per line, all learnt from ScoreSpin. ----

// A spin's tallies packed so that adding entries adds them field by field.
constexpr int kSmileShift = 16, kGlobeShift = 20, kGrowthShift = 24;
constexpr std::uint32_t kWinMask = 0xFFFF;

struct SpinTables {
    int bits = 0;  // bits of a symbol's index on its strip
    std::array<std::array<std::uint8_t, kStops>, kCells> index{};
    std::array<std::array<std::uint32_t, kStops>, kCells> cellAdd{};
    std::array<std::vector<std::uint32_t>, kLines> lineAdd;

    std::uint32_t Score(std::uint64_t stops) const {
        std::array<unsigned, kCells> at;
        std::uint32_t sum = 0;
        for (int c = 0; c < kCells; ++c) {
            const auto stop = static_cast<unsigned>(stops % kStops);
            stops /= kStops;
            at[c] = index[c][stop];
            sum += cellAdd[c][stop];
        }
        for (int l = 0; l < kLines; ++l) {
            const auto& cells = kPayLines[l];
            sum += lineAdd[l][(at[cells[0]] << 2 * bits) | (at[cells[1]] << bits) | at[cells[2]]];
        }
        return sum;
    }
};

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

struct Engine {
    Engine(const Analysis& analysis, int coins)
        : rules(analysis.Rules()),
          board(analysis.Board()),
          regular(BuildTables(rules, coins, false)),
          bonus(BuildTables(rules, coins, true)) {}
    const RuleTables& rules;
    const BoardOdds& board;
    SpinTables regular;
    SpinTables bonus;
};

// The bonus state a game carries from one batch to the next, in coins.
struct Counters {
    int smiles = 0;
    int bells = 0;
    std::uint64_t pool = 0;
};

Counters NewGame(const RuleTables& rules) { return {rules.SmileStart(), rules.PoolStart(), 0}; }

template <bool kHistogram>
void PlayTables(const Engine& engine, std::uint64_t spins, ClockRandom& random, Counters& game, Tally& tally,
                std::vector<std::uint64_t>* histogram) {
    const CounterSteps& smileSteps = engine.rules.SmileSteps();
    const CounterSteps& poolSteps = engine.rules.PoolSteps();
    const int bonusSpins = engine.rules.BonusSpinsPerAward();
    int smiles = game.smiles;
    int bells = game.bells;
    std::uint64_t pool = game.pool;
    for (std::uint64_t i = 0; i < spins; ++i) {
        const std::uint32_t sum = engine.regular.Score(DrawStops(random));
        const std::uint32_t win = sum & kWinMask;
        tally.lineWin += win;
        tally.lineWinSquares += std::uint64_t{win} * win;
        tally.hits += win != 0;
        if constexpr (kHistogram) ++(*histogram)[win];
        pool += sum >> kGrowthShift;
        tally.poolGrown += sum >> kGrowthShift;
        const CounterStep smile = smileSteps[smiles][sum >> kSmileShift & 0xF];
        const CounterStep globe = poolSteps[bells][sum >> kGlobeShift & 0xF];
        smiles = smile.next;
        bells = globe.next;
        if (globe.fired) {
            ++tally.poolWins;
            tally.poolPaid += pool;
            pool = 0;
        }
        if (smile.fired) {
            ++tally.awards;
            for (int b = 0; b < bonusSpins; ++b) tally.bonusWin += engine.bonus.Score(DrawStops(random)) & kWinMask;
        }
    }
    tally.spins += spins;
    game = {smiles, bells, pool};
}

// ---- The referee: every spin through ScoreSpin and ClearWonPool, bonus spins as the spin command plays them.

void ShowStops(Wheels& wheels, std::uint64_t draw) {
    const auto stops = StopsOf(draw);
    for (int c = 0; c < kCells; ++c) wheels.StopIndex[c] = static_cast<std::int16_t>(stops[c]);
}

void PlayRules(int coins, std::uint64_t spins, ClockRandom& random, Counters& game, Tally& tally,
               std::vector<std::uint64_t>* histogram) {
    SeededRandom quiet(0);
    Wheels wheels;
    BuildReels(wheels, false);
    BonusCounters counters;
    counters.Smiles = static_cast<std::int16_t>(game.smiles);
    counters.Bells = static_cast<std::int16_t>(game.bells);
    counters.BonusPool = static_cast<float>(game.pool);
    const Stake stake{1.0f, static_cast<float>(coins), CoinsFor(coins)};
    for (std::uint64_t i = 0; i < spins; ++i) {
        ShowStops(wheels, DrawStops(random));
        const float poolBefore = counters.BonusPool;
        const SpinScore score = ScoreSpin(wheels, stake, counters, quiet);
        tally.poolGrown += static_cast<std::uint64_t>(std::lround(counters.BonusPool - poolBefore));
        const float pool = score.PoolWon ? counters.BonusPool : 0.0f;
        const auto win = static_cast<std::uint64_t>(std::lround(score.SpinWin - pool));
        tally.lineWin += win;
        tally.lineWinSquares += win * win;
        tally.hits += win != 0;
        if (histogram) ++(*histogram)[win];
        if (score.PoolWon) {
            ++tally.poolWins;
            tally.poolPaid += static_cast<std::uint64_t>(std::lround(pool));
        }
        if (score.SpinWin > 0.0f) ClearWonPool(counters);  // every win is taken
        if (counters.BonusSpins > 0) ++tally.awards;
        while (counters.BonusSpins > 0) {
            counters.BonusSpins -= 1;
            if (!counters.BonusMode) {
                counters.BonusMode = true;
                BuildReels(wheels, true);
            }
            ShowStops(wheels, DrawStops(random));
            const SpinScore bonus = ScoreSpin(wheels, stake, counters, quiet);
            tally.bonusWin += static_cast<std::uint64_t>(std::lround(bonus.SpinWin));
            if (bonus.SpinWin > 0.0f) ClearWonPool(counters);
        }
        if (counters.BonusMode) {
            counters.BonusMode = false;
            BuildReels(wheels, false);
        }
    }
    tally.spins += spins;
    game = {counters.Smiles, counters.Bells, static_cast<std::uint64_t>(std::lround(counters.BonusPool))};
}

// Boards through the board's own rules: one at a box chosen at random, opened once; one played the best way.
void PlayBoards(const BoardOdds& odds, std::uint64_t boards, std::uint64_t seed, Tally& tally) {
    SeededRandom random(seed);
    GameState state;
    for (std::uint64_t i = 0; i < boards; ++i) {
        state.SpinWin = 1.0f;
        {
            Board board(state, random);
            board.Pick(std::clamp(1 + static_cast<int>(random.Uniform() * kBoxes), 1, kBoxes));
            tally.onePickWin += static_cast<std::uint64_t>(std::lround(board.Winnings()));
        }
        state.SpinWin = 1.0f;
        Board board(state, random);
        BoardKnowledge known = odds.Fresh();
        for (int box; (box = odds.BestBox(known)) != 0;) {
            const PickResult result = board.Pick(box);
            odds.Learn(known, box, result);
            if (result.lost) break;
        }
        tally.bestWin += static_cast<std::uint64_t>(std::lround(board.Winnings()));
        ++tally.boards;
    }
}

// A board for every 1024 paid spins is plenty to check the board's figures and costs little.
std::uint64_t BoardsFor(std::uint64_t spins) { return std::max<std::uint64_t>(1, spins / 1024); }

// A stretch of one game: `spins` paid spins from the counters it is handed, and its share of boards.
Tally PlayStretch(const Engine& engine, const SimulationSettings& settings, std::uint64_t spins,
                  std::uint64_t seed, Counters& game, std::vector<std::uint64_t>* histogram) {
    Tally tally;
    ClockRandom random(seed);
    if (settings.throughScoreSpin)
        PlayRules(settings.coins, spins, random, game, tally, histogram);
    else if (histogram)
        PlayTables<true>(engine, spins, random, game, tally, histogram);
    else
        PlayTables<false>(engine, spins, random, game, tally, nullptr);
    PlayBoards(engine.board, BoardsFor(spins), ~seed, tally);
    return tally;
}

double Ratio(double y, double x) { return x > 0.0 ? y / x : std::numeric_limits<double>::quiet_NaN(); }

// Two-sided 95 % quantile of Student's t (Cornish-Fisher expansion; good to 1e-4 from 5 degrees of freedom).
double StudentT95(int df) {
    const double z = 1.959963984540054, v = df;
    return z + (z * z * z + z) / (4 * v) + (5 * std::pow(z, 5) + 16 * z * z * z + 3 * z) / (96 * v * v) +
           (3 * std::pow(z, 7) + 19 * std::pow(z, 5) + 17 * z * z * z - 15 * z) / (384 * v * v * v);
}

// Half-width for R = sum y / sum x by the delta method over batch totals.
template <class Y, class X>
double RatioHalfWidth(const std::vector<Tally>& batches, Y y, X x) {
    const auto b = static_cast<double>(batches.size());
    double sy = 0.0, sx = 0.0;
    for (const Tally& t : batches) {
        sy += y(t);
        sx += x(t);
    }
    if (batches.size() < 2 || sx <= 0.0) return std::numeric_limits<double>::quiet_NaN();
    const double r = sy / sx;
    double spread = 0.0;
    for (const Tally& t : batches) spread += (y(t) - r * x(t)) * (y(t) - r * x(t));
    const double se = std::sqrt(spread / (b - 1) / b) / (sx / b);
    return StudentT95(static_cast<int>(batches.size()) - 1) * se;
}

}  // namespace

std::uint64_t DrawStops(ClockRandom& random) {
    for (;;) {
        const std::uint64_t x = random.Next() >> kDrawShift;
        if (x < kCombinations) return x;  // rejection keeps every combination exactly equally likely
    }
}

std::array<int, kCells> StopsOf(std::uint64_t draw) {
    std::array<int, kCells> stops{};
    for (int c = 0; c < kCells; ++c) {
        stops[c] = static_cast<int>(draw % kStops);
        draw /= kStops;
    }
    return stops;
}

Tally& Tally::operator+=(const Tally& o) {
    spins += o.spins;
    lineWin += o.lineWin;
    lineWinSquares += o.lineWinSquares;
    hits += o.hits;
    awards += o.awards;
    bonusWin += o.bonusWin;
    poolWins += o.poolWins;
    poolPaid += o.poolPaid;
    poolGrown += o.poolGrown;
    poolLeft += o.poolLeft;
    boards += o.boards;
    onePickWin += o.onePickWin;
    bestWin += o.bestWin;
    return *this;
}

Figures FiguresOf(const Tally& t, int coins) {
    Figures f;
    f.coins = coins;
    const double spins = static_cast<double>(t.spins), wagered = spins * coins;
    f.rtpLines = Ratio(static_cast<double>(t.lineWin), wagered);
    // The pool still standing when play stopped belongs to whoever plays on: counting it keeps a finite run
    // from understating the pool by up to one pool per game.
    f.rtpPool = Ratio(static_cast<double>(t.poolPaid + t.poolLeft), wagered);
    f.rtpBonus = Ratio(static_cast<double>(t.bonusWin), wagered);
    f.rtpTotal = f.rtpLines + f.rtpPool + f.rtpBonus;
    f.hitFrequency = Ratio(static_cast<double>(t.hits), spins);
    const double m1 = Ratio(static_cast<double>(t.lineWin), spins);
    const double m2 = Ratio(static_cast<double>(t.lineWinSquares), spins);
    f.sdLineWin = std::sqrt(std::max(0.0, m2 - m1 * m1)) / coins;
    f.bonusAwardEvery = t.awards ? spins / static_cast<double>(t.awards) : std::numeric_limits<double>::infinity();
    f.poolWinEvery = t.poolWins ? spins / static_cast<double>(t.poolWins) : std::numeric_limits<double>::infinity();
    f.meanPool = Ratio(static_cast<double>(t.poolPaid), static_cast<double>(t.poolWins) * coins);
    f.boardOnePick = Ratio(static_cast<double>(t.onePickWin), static_cast<double>(t.boards));
    f.boardBest = Ratio(static_cast<double>(t.bestWin), static_cast<double>(t.boards));
    return f;
}

Figures HalfWidths(const std::vector<Tally>& batches, int coins) {
    auto d = [](std::uint64_t v) { return static_cast<double>(v); };
    auto wagered = [&](const Tally& t) { return d(t.spins) * coins; };
    auto spins = [&](const Tally& t) { return d(t.spins); };
    Figures h;
    h.coins = coins;
    h.rtpLines = RatioHalfWidth(batches, [&](const Tally& t) { return d(t.lineWin); }, wagered);
    h.rtpPool = RatioHalfWidth(batches, [&](const Tally& t) { return d(t.poolGrown); }, wagered);
    h.rtpBonus = RatioHalfWidth(batches, [&](const Tally& t) { return d(t.bonusWin); }, wagered);
    h.rtpTotal = RatioHalfWidth(batches, [&](const Tally& t) { return d(t.lineWin + t.poolGrown + t.bonusWin); }, wagered);
    h.hitFrequency = RatioHalfWidth(batches, [&](const Tally& t) { return d(t.hits); }, spins);
    h.bonusAwardEvery = RatioHalfWidth(batches, spins, [&](const Tally& t) { return d(t.awards); });
    h.poolWinEvery = RatioHalfWidth(batches, spins, [&](const Tally& t) { return d(t.poolWins); });
    h.meanPool = RatioHalfWidth(batches, [&](const Tally& t) { return d(t.poolPaid); },
                                [&](const Tally& t) { return d(t.poolWins) * coins; });
    h.boardOnePick = RatioHalfWidth(batches, [&](const Tally& t) { return d(t.onePickWin); },
                                    [&](const Tally& t) { return d(t.boards); });
    h.boardBest = RatioHalfWidth(batches, [&](const Tally& t) { return d(t.bestWin); },
                                 [&](const Tally& t) { return d(t.boards); });

    // The spread is a function of two means; linearise it around the pooled estimate.
    Tally all;
    for (const Tally& t : batches) all += t;
    const double m1 = Ratio(d(all.lineWin), d(all.spins)), m2 = Ratio(d(all.lineWinSquares), d(all.spins));
    const double sd = std::sqrt(std::max(0.0, m2 - m1 * m1));
    h.sdLineWin = RatioHalfWidth(
                      batches,
                      [&](const Tally& t) {
                          return (d(t.lineWinSquares) - 2 * m1 * d(t.lineWin) + m1 * m1 * d(t.spins)) / (2 * sd);
                      },
                      spins) / coins;
    return h;
}

Tally PlayGame(const Analysis& analysis, const SimulationSettings& settings, std::uint64_t spins,
               std::uint64_t gameSeed, std::vector<std::uint64_t>* lineWin) {
    const Engine engine(analysis, settings.coins);
    if (lineWin) lineWin->resize(static_cast<std::size_t>(kWinMask) + 1, 0);
    Counters game = NewGame(analysis.Rules());
    Tally tally = PlayStretch(engine, settings, spins, gameSeed, game, lineWin);
    tally.poolLeft = game.pool;
    return tally;
}

Simulation Simulate(const Analysis& analysis, const SimulationSettings& settings,
                    const std::function<void(std::uint64_t)>& progress) {
    const auto start = std::chrono::steady_clock::now();
    const Engine engine(analysis, settings.coins);
    Simulation sim;
    sim.spins = settings.spins;
    // Independent games, each cut into batches long enough for a spread between batches to mean something.
    const std::uint64_t games = std::clamp<std::uint64_t>(settings.spins, 1, 32);
    const std::uint64_t perGame = std::clamp<std::uint64_t>(settings.spins / (games * 65536), 1, 32);
    sim.batches = static_cast<int>(games * perGame);
    std::vector<Tally> batches(sim.batches);

    const int threads = static_cast<int>(std::clamp<std::uint64_t>(settings.threads, 1, games));
    std::vector<std::vector<std::uint64_t>> histograms(threads, std::vector<std::uint64_t>(kWinMask + 1, 0));
    std::atomic<std::uint64_t> next{0};
    std::atomic<std::uint64_t> done{0};
    {
        std::vector<std::jthread> workers;
        for (int w = 0; w < threads; ++w)
            workers.emplace_back([&, w] {
                for (std::uint64_t g; (g = next++) < games;) {
                    Counters game = NewGame(analysis.Rules());
                    for (std::uint64_t k = 0; k < perGame; ++k) {
                        const std::uint64_t b = g * perGame + k;
                        const std::uint64_t from = settings.spins * b / sim.batches;
                        const std::uint64_t to = settings.spins * (b + 1) / sim.batches;
                        batches[b] = PlayStretch(engine, settings, to - from, GameSeed(settings.seed, b), game,
                                                 &histograms[w]);
                        done += to - from;
                    }
                    batches[(g + 1) * perGame - 1].poolLeft = game.pool;
                }
            });
        if (progress) {
            while (done.load() < settings.spins) {
                progress(done.load());
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            progress(done.load());
        }
    }

    for (const Tally& t : batches) sim.total += t;
    sim.lineWin.assign(kWinMask + 1, 0);
    for (const auto& h : histograms)
        for (std::size_t w = 0; w < h.size(); ++w) sim.lineWin[w] += h[w];
    while (!sim.lineWin.empty() && sim.lineWin.back() == 0) sim.lineWin.pop_back();
    sim.estimate = FiguresOf(sim.total, settings.coins);
    sim.halfWidth = HalfWidths(batches, settings.coins);
    sim.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return sim;
}

}  // namespace kazoomba::par
