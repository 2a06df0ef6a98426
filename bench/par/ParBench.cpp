// How fast kazoomba-par works out a wager exactly, how many paid spins a second it simulates, and how long a
// million whole sessions take.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "ParSheet.h"
#include "Sessions.h"
#include "Simulator.h"
#include "Volatility.h"

using namespace kazoomba::par;

namespace {
const Analysis& Shared() {
    static const Analysis analysis;
    return analysis;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}
}  // namespace

// What `kazoomba-par --coins 8` computes: the rule tables, the board, and the wager's enumeration.
static void ExactAnalysisFromScratch(benchmark::State& state) {
    for (auto _ : state) {
        const Analysis analysis;
        benchmark::DoNotOptimize(analysis.Wager(static_cast<int>(state.range(0))).figures.rtpTotal);
    }
}
BENCHMARK(ExactAnalysisFromScratch)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);

// What the volatility figures add to it: the wager's enumeration (which also gathers the pool's growth by
// counter class) and the chain of the two counters. To set beside ExactAnalysisFromScratch.
static void VolatilityFromScratch(benchmark::State& state) {
    for (auto _ : state) {
        const ParSheet sheet = Shared().Wager(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(ExactVolatility(Shared(), sheet).sdWhole);
    }
}
BENCHMARK(VolatilityFromScratch)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);

static void EnumerateOneWager(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(EnumerateSpin(Shared().Rules(), CoinsFor(static_cast<int>(state.range(0)))).total);
}
BENCHMARK(EnumerateOneWager)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

static void EveryWagerTable(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Shared().AllWagers().size());
}
BENCHMARK(EveryWagerTable)->Unit(benchmark::kMillisecond);

static void SolveBoard(benchmark::State& state) {
    for (auto _ : state) {
        const BoardOdds odds;
        benchmark::DoNotOptimize(odds.Best());
    }
}
BENCHMARK(SolveBoard)->Unit(benchmark::kMillisecond);

// Paid spins a second with every rule in force (counters, pool, bonus spins, boards); args: threads, and
// whether every spin goes through ScoreSpin itself.
static void SimulatePaidSpins(benchmark::State& state) {
    SimulationSettings settings;
    settings.coins = 8;
    settings.threads = static_cast<int>(state.range(0));
    settings.throughScoreSpin = state.range(1) != 0;
    settings.spins = settings.throughScoreSpin ? 4'000'000 : 30'000'000;
    std::uint64_t seed = 1;
    for (auto _ : state) {
        settings.seed = seed++;
        benchmark::DoNotOptimize(Simulate(Shared(), settings).total.lineWin);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * settings.spins));
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(SimulatePaidSpins)
    ->ArgNames({"threads", "scorespin"})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({2, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// One million sessions of at most 200 paid spins from 1000 credits at 25 cents, every rule in force; args:
// coins a spin, threads. At 8 coins nearly every session plays all 200 spins.
static void MillionSessions(benchmark::State& state) {
    SessionSettings settings;
    settings.coins = static_cast<int>(state.range(0));
    settings.threads = static_cast<int>(state.range(1));
    settings.sessions = 1'000'000;
    std::uint64_t seed = 1, spins = 0;
    for (auto _ : state) {
        settings.seed = seed++;
        const SessionOdds odds = SimulateSessions(Shared(), settings);
        for (std::size_t s = 0; s < odds.bySpins.size(); ++s) spins += s * odds.bySpins[s];
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * settings.sessions));
    state.counters["paid_spins_per_s"] = benchmark::Counter(static_cast<double>(spins), benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(MillionSessions)
    ->ArgNames({"coins", "threads"})
    ->Args({8, 2})
    ->Args({64, 2})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
