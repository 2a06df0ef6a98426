// How fast kazoomba-par works out a wager exactly and how many paid spins a second it simulates.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "ParSheet.h"
#include "Simulator.h"

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

BENCHMARK_MAIN();
