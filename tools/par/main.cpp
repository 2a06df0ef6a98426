// kazoomba-par: the game's par sheet from its own rules, and a simulator that checks it.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <thread>

#include "CommandLine.h"
#include "ParSheet.h"
#include "Report.h"
#include "Simulator.h"
#include "WinPlot.h"

using namespace kazoomba::par;

int main(int argc, char** argv) {
    const Parsed parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "kazoomba-par: " << parsed.error << "\n\n" << Usage();
        return 2;
    }
    const Options& options = parsed.options;
    if (options.help) {
        std::cout << Usage();
        return 0;
    }
    if (options.version) {
        std::cout << "kazoomba-par " KAZOOMBA_VERSION "\n";
        return 0;
    }

    const Analysis analysis;
    if (options.allCoins) {
        const auto all = analysis.AllWagers();
        std::cout << (options.json ? JsonTable(all, analysis) : TextTable(all, analysis));
        return 0;
    }

    const ParSheet sheet = analysis.Wager(options.coins);
    Simulation sim;
    RunNote run;
    if (options.simulate) {
        run.seed = options.seed ? *options.seed : (static_cast<std::uint64_t>(std::random_device{}()) << 32 |
                                                   static_cast<std::uint64_t>(std::random_device{}()));
        run.threads = options.threads ? options.threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        run.reference = options.reference;
        SimulationSettings settings;
        settings.coins = options.coins;
        settings.spins = options.simulate;
        settings.seed = run.seed;
        settings.threads = run.threads;
        settings.throughScoreSpin = options.reference;

        std::function<void(std::uint64_t)> progress;
        const auto start = std::chrono::steady_clock::now();
        const bool terminal = isatty(STDERR_FILENO) != 0;
        if (terminal)
            progress = [&](std::uint64_t done) {
                const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                std::fprintf(stderr, "\r%s\033[K", ProgressLine(done, settings.spins, seconds).c_str());
                std::fflush(stderr);
            };
        sim = Simulate(analysis, settings, progress);
        if (terminal) std::fprintf(stderr, "\r\033[K");
    }
    const Simulation* simulated = options.simulate ? &sim : nullptr;
    std::cout << (options.json ? JsonReport(sheet, simulated, run) : TextReport(sheet, simulated, run));

    if (!options.plot.empty()) {
        std::ofstream file(options.plot, std::ios::binary);
        file << WinPlot(sheet, simulated ? &sim.lineWin : nullptr);
        if (!file.flush()) {
            std::cerr << "kazoomba-par: could not write " << options.plot << "\n";
            return 1;
        }
    }
    return 0;
}
