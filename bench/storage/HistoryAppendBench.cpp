// What the game history adds to the save after each spin: one settled spin's record appended and synced,
// as the writer does just before the game's own save (BM_SaveAfterSpin, beside it in this program). The
// file starts a few hundred appends short of the size at which it is written afresh, so the occasional
// rewrite is in the mean. KAZOOMBA_BENCH_DIR picks the folder, as for the save.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "HistoryFile.h"
#include "bench/HistorySpins.h"

using namespace kazoomba;
using bench::SpinNumber;

namespace {

void BM_AppendSpinRecord(benchmark::State& state) {
    QTemporaryDir dir(qEnvironmentVariable("KAZOOMBA_BENCH_DIR", QDir::tempPath()) + QStringLiteral("/kazoomba-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("game-history.txt"));
    int n = 1;
    {
        // A file a few hundred appends short of being written afresh.
        HistoryFile file(path);
        file.Open();
        std::vector<HistoryEntry> earlier;
        for (; n < HistoryFile::kRewriteLines - 300; ++n) earlier.push_back(SpinNumber(n));
        file.Append(earlier);
    }
    HistoryFile file(path);
    file.Open();
    for (auto _ : state)
        if (!file.Append({SpinNumber(n++)})) state.SkipWithError(qPrintable(file.LastError()));
    state.counters["file_bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_AppendSpinRecord)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
