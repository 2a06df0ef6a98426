// The write of "Current Game" after each settled spin: read, change, write a new file, sync it, rename
// it into place and sync the folder, all under the write lock, on a settings file with all ten slots.
// The fastest spin speed shows a frame every 11 ms; this write must stay well under that.
// KAZOOMBA_BENCH_DIR picks the folder (the disk) to write on; the default is the temporary folder.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "ProfileFile.h"
#include "QtText.h"
#include "SavedGames.h"
#include "support/Scripted.h"

using namespace kazoomba;

namespace {

struct FixedMenus : MenuSelections {
    int SpeedIndex() const override { return 0; }
    int BannerIndex() const override { return 0; }
    void SetSpinSpeed(int) override {}
    void SetBanner(int) override {}
};

void BM_SaveAfterSpin(benchmark::State& state) {
    const QString base = qEnvironmentVariable("KAZOOMBA_BENCH_DIR", QDir::tempPath());
    QTemporaryDir dir(base + QStringLiteral("/kazoomba-bench-XXXXXX"));
    ProfileFile file(dir.filePath(QStringLiteral("KAZO.INI")));
    testing::Table table;
    FixedMenus menus;
    // A file as a player's is after a while: position, banner text, ten slots and the game at exit.
    file.WriteStrings({{"Settings", "LeftPos", "3045"}, {"Settings", "TopPos", "2010"},
                       {"Settings", "BannerText", ToQString(kWelcomeBanner)}});
    EnsureSettingsFile(file);
    SaveAtExit(file, table.game, menus, QPoint(200, 130), QSize(1280, 1024));
    for (auto _ : state) {
        table.s().Spins += 1;  // every spin changes the game, so every write is a real one
        table.s().Credits -= 0.25f;
        if (!SaveCurrentGame(file, table.game, menus)) state.SkipWithError(qPrintable(file.LastError()));
    }
    state.counters["file_bytes"] = static_cast<double>(file.Size());
}
BENCHMARK(BM_SaveAfterSpin)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
