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

template <bool kHistogram>
void PlayTables(const Engine& engine, std::uint64_t spins, ClockRandom& random, Counters& game, Tally& tally,
                std::vector<std::uint64_t>* histogram) {
    // Local copies the histogram's stores cannot alias, so they can stay in registers.
    Counters counters = game;
    Tally local;
    auto draw = [&random] { return DrawStops(random); };
    for (std::uint64_t i = 0; i < spins; ++i) {
        const PaidSpin spin = PlayPaidSpin(engine, counters, draw);
        local.lineWin += spin.lineWin;
        local.lineWinSquares += std::uint64_t{spin.lineWin} * spin.lineWin;
        local.hits += spin.lineWin != 0;
        if constexpr (kHistogram) ++(*histogram)[spin.lineWin];
        local.poolGrown += spin.growth;
        if (spin.poolWon) {
            ++local.poolWins;
            local.poolPaid += spin.poolPaid;
        }
        if (spin.awarded) {
            ++local.awards;
            local.bonusWin += spin.bonusWin;
        }
        const std::uint64_t whole = spin.Whole();
        local.wholeSquares += whole * whole;
    }
    local.spins = spins;
    tally += local;
    game = counters;
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
        std::uint64_t whole = win + (score.PoolWon ? static_cast<std::uint64_t>(std::lround(pool)) : 0);
        while (counters.BonusSpins > 0) {
            counters.BonusSpins -= 1;
            if (!counters.BonusMode) {
                counters.BonusMode = true;
                BuildReels(wheels, true);
            }
            ShowStops(wheels, DrawStops(random));
            const SpinScore bonus = ScoreSpin(wheels, stake, counters, quiet);
            tally.bonusWin += static_cast<std::uint64_t>(std::lround(bonus.SpinWin));
            whole += static_cast<std::uint64_t>(std::lround(bonus.SpinWin));
            if (bonus.SpinWin > 0.0f) ClearWonPool(counters);
        }
        tally.wholeSquares += whole * whole;
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
    for (std::uint64_t i = 0; i < boards; ++i) {
        {
            Board board(1.0f, random);
            board.Pick(std::clamp(1 + static_cast<int>(random.Uniform() * kBoxes), 1, kBoxes));
            tally.onePickWin += static_cast<std::uint64_t>(std::lround(board.Winnings()));
        }
        Board board(1.0f, random);
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

// The standard deviation of a paid spin's amount from the batches' sums of it and of its square; the spread
// is a function of two means, so its interval is linearised around the pooled estimate.
struct SpreadEstimate {
    double sd = 0.0;
    double halfWidth = 0.0;
};
template <class Sum, class Squares>
SpreadEstimate Spread(const std::vector<Tally>& batches, Sum sum, Squares squares) {
    double spins = 0.0, s1 = 0.0, s2 = 0.0;
    for (const Tally& t : batches) {
        spins += static_cast<double>(t.spins);
        s1 += sum(t);
        s2 += squares(t);
    }
    const double m1 = Ratio(s1, spins), m2 = Ratio(s2, spins);
    SpreadEstimate e;
    e.sd = std::sqrt(std::max(0.0, m2 - m1 * m1));
    e.halfWidth = RatioHalfWidth(
        batches,
        [&](const Tally& t) { return (squares(t) - 2 * m1 * sum(t) + m1 * m1 * static_cast<double>(t.spins)) / (2 * e.sd); },
        [](const Tally& t) { return static_cast<double>(t.spins); });
    return e;
}

}  // namespace

Tally& Tally::operator+=(const Tally& o) {
    spins += o.spins;
    lineWin += o.lineWin;
    lineWinSquares += o.lineWinSquares;
    wholeSquares += o.wholeSquares;
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

    h.sdLineWin = Spread(batches, [&](const Tally& t) { return d(t.lineWin); },
                         [&](const Tally& t) { return d(t.lineWinSquares); }).halfWidth / coins;
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
    const SpreadEstimate whole = Spread(
        batches, [](const Tally& t) { return static_cast<double>(t.lineWin + t.poolPaid + t.bonusWin); },
        [](const Tally& t) { return static_cast<double>(t.wholeSquares); });
    sim.sdWhole = whole.sd / settings.coins;
    sim.sdWholeHalfWidth = whole.halfWidth / settings.coins;
    sim.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return sim;
}

}  // namespace kazoomba::par
