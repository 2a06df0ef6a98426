// How long a spin's animation takes at each speed against its nominal 131 x (delay + 1) ms, how much CPU the
// process uses meanwhile, how long start-up takes to the first paint, and the peak memory.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <sys/resource.h>

#include <chrono>

#include "engine/Random.h"
#include "art/DataPaths.h"
#include "art/Graphics.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"
#include "support/GameDoor.h"

using namespace kazoomba;

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double PeakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

struct Machine {
    ClockRandom random;
    ui::Graphics graphics{1.0};
    ui::Sound sound{ui::DataDirectory() + QStringLiteral("/sounds")};
    ui::MainWindow window{graphics, sound, random};
    Machine() {
        window.StartUp();
        window.banner().StopBanner();
        window.show();
        QCoreApplication::processEvents();
    }
};

Machine& TheMachine() {
    static Machine m;
    return m;
}

void BM_SpinAnimation(benchmark::State& state) {
    const int speed = static_cast<int>(state.range(0));
    Machine& m = TheMachine();
    m.window.SetSpinSpeed(speed);
    const double nominal = 131.0 * (ui::kSpeedDelays[speed] + 1) / 1000.0;
    double cpu = 0, wall = 0;
    std::int32_t spins = 0;
    for (auto _ : state) {
        ComputeSpin(GameDoor::Reels(m.window.game()), m.random, spins);
        const double c0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        // The motion runs from the window's timer, as in the game: the event loop waits between frames.
        m.window.AnimateReels();
        while (m.window.ShownFrame() < kRestFrame) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += CpuSeconds() - c0;
        wall += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["nominal_s"] = nominal;
    state.counters["vs_nominal_%"] = 100.0 * (wall / state.iterations() - nominal) / nominal;
    state.counters["cpu_%_of_core"] = 100.0 * cpu / wall;
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_SpinAnimation)->DenseRange(0, 3)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// A whole spin as a window test plays it, on a clock the test moves: press Spin, move the clock, tick,
// until the machine rests. Wall time only: what the window suites pay for each spin they play.
void BM_SpinOnTheTestClock(benchmark::State& state) {
    struct StillClock : Clock {
        std::int64_t now = 0;
        std::int64_t Milliseconds() const override { return now; }
    } clock;
    Machine& m = TheMachine();
    m.window.SetClock(&clock);
    m.window.SetSpinSpeed(1);
    m.sound.SetSound(1);
    for (auto _ : state) {
        GameDoor::State(m.window.game()).Credits = 1000.0f;
        m.window.ButtonCommand(ui::Bet1Button);
        m.window.ButtonCommand(ui::SpinButton);
        while (m.window.game().CommandRunning()) {
            clock.now += 60000;
            m.window.Tick();
            QCoreApplication::processEvents();
            // A win's window is taken as a player would take it.
            if (auto* modal = QApplication::activeModalWidget()) modal->close();
        }
    }
    m.window.SetClock(nullptr);
    m.sound.SetSound(0);
}
BENCHMARK(BM_SpinOnTheTestClock)->Iterations(50)->Unit(benchmark::kMillisecond);

// From nothing to the main window's first paint: the image store rendered, the window built and shown.
void BM_StartToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        ClockRandom random;
        ui::Graphics graphics(1.0);
        ui::Sound sound(ui::DataDirectory() + QStringLiteral("/sounds"));
        ui::MainWindow window(graphics, sound, random);
        window.StartUp();
        bool painted = false;
        struct Watch : QObject {
            bool* flag;
            explicit Watch(bool* f) : flag(f) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) *flag = true;
                return false;
            }
        } watch(&painted);
        window.centralWidget()->installEventFilter(&watch);
        window.show();
        while (!painted) QCoreApplication::processEvents();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        window.banner().StopBanner();
        window.centralWidget()->removeEventFilter(&watch);
    }
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_StartToFirstPaint)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
