// Opening the Game History window on a full history of 1,000 spins: from the menu's command to the window
// painted (the history copied, the list and the newest spin's reels drawn, the window shown), then closed.
// Compare it with the game's own save after each spin (bench_storage's BM_SaveAfterSpin).
#include <benchmark/benchmark.h>

#include <QListView>

#include "art/Graphics.h"
#include "bench/HistorySpins.h"
#include "info/HistoryWindow.h"

using namespace kazoomba;
using bench::SpinNumber;

namespace {

ui::Graphics& TheGraphics() {
    static ui::Graphics graphics(1.0);
    return graphics;
}

void BM_OpenGameHistory(benchmark::State& state) {
    GameHistory history;
    for (int n = 1; n <= GameHistory::kKeptSpins; ++n) history.Add(SpinNumber(n));
    TheGraphics();
    for (auto _ : state) {
        ui::HistoryWindow window(history, TheGraphics());
        window.show();
        window.repaint();
        window.list()->viewport()->repaint();
        benchmark::DoNotOptimize(window.ReelsPicture().constBits());
        window.close();
    }
    state.counters["rows"] = history.Spins();
}
BENCHMARK(BM_OpenGameHistory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
