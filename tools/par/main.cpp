// kazoomba-par: the game's par sheet from its own rules, and a simulator that checks it.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <thread>

#include "CommandLine.h"
#include "ParSheet.h"
#include "Report.h"
#include "SessionPlot.h"
#include "Sessions.h"
#include "Simulator.h"
#include "Volatility.h"
#include "WinPlot.h"

using namespace kazoomba::par;

namespace {

// Figures that never reached their reader (a full disk, a closed pipe) are a failure, not a success: the
// status is 1 and the reason is said, as the game does with its own answers.
int Finish(int status) {
    std::cout.flush();
    if (std::cout && std::fflush(stdout) == 0) return status;
    const int error = errno;
    std::cerr << "kazoomba-par: could not write to standard output: "
              << (error ? std::strerror(error) : "the stream failed") << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const Parsed parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "kazoomba-par: " << parsed.error << "\n\n" << Usage();
        return 2;
    }
    const Options& options = parsed.options;
    if (options.help) {
        std::cout << Usage();
        return Finish(0);
    }
    if (options.version) {
        std::cout << "kazoomba-par " KAZOOMBA_VERSION "\n";
        return Finish(0);
    }

    const Analysis analysis;
    if (options.allCoins) {
        const auto all = analysis.AllWagers();
        std::cout << (options.json ? JsonTable(all, analysis) : TextTable(all, analysis));
        return Finish(0);
    }

    const ParSheet sheet = analysis.Wager(options.coins);
    Simulation sim;
    RunNote run;
    run.seed = options.seed ? *options.seed : (static_cast<std::uint64_t>(std::random_device{}()) << 32 |
                                               static_cast<std::uint64_t>(std::random_device{}()));
    run.threads = options.threads ? options.threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    run.reference = options.reference;
    const bool terminal = isatty(STDERR_FILENO) != 0;
    // A progress bar on the terminal, cleared when the work is done.
    auto bar = [terminal](std::uint64_t total, const char* what) -> std::function<void(std::uint64_t)> {
        if (!terminal) return {};
        const auto start = std::chrono::steady_clock::now();
        return [total, what, start](std::uint64_t done) {
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr, "\r%s\033[K", ProgressLine(done, total, seconds, 30, what).c_str());
            std::fflush(stderr);
        };
    };
    auto clearBar = [terminal] {
        if (terminal) std::fprintf(stderr, "\r\033[K");
    };
    auto simulate = [&](std::uint64_t spins, bool throughScoreSpin) {
        SimulationSettings settings;
        settings.coins = options.coins;
        settings.spins = spins;
        settings.seed = run.seed;
        settings.threads = run.threads;
        settings.throughScoreSpin = throughScoreSpin;
        sim = Simulate(analysis, settings, bar(settings.spins, "spins"));
        clearBar();
    };
    if (options.simulate) simulate(options.simulate, options.reference);
    const Simulation* simulated = options.simulate ? &sim : nullptr;

    Volatility volatility = ExactVolatility(analysis, sheet);
    if (!volatility.exact) {
        // The chain could not be solved: fall back on a simulation's estimate, and say so.
        if (!simulated) simulate(30'000'000, false);
        volatility = VolatilityFrom(sim.estimate.rtpTotal, sim.sdWhole, false);
    }

    SessionOdds sessions;
    if (options.sessions) {
        SessionSettings settings;
        settings.coins = options.coins;
        settings.coinValue = options.coinValue;
        settings.bankroll = options.bankroll;
        settings.spinLimit = options.sessionSpins;
        settings.sessions = options.sessions;
        settings.seed = run.seed;
        settings.threads = run.threads;
        sessions = SimulateSessions(analysis, settings, bar(settings.sessions, "sessions"));
        clearBar();
    }
    const Extras extras{&volatility, options.sessions ? &sessions : nullptr};
    std::cout << (options.json ? JsonReport(sheet, simulated, run, extras) : TextReport(sheet, simulated, run, extras));
    if (Finish(0) != 0) return 1;

    auto write = [](const std::string& name, const std::string& svg) {
        std::ofstream file(name, std::ios::binary);
        file << svg;
        if (file.flush()) return true;
        std::cerr << "kazoomba-par: could not write " << name << "\n";
        return false;
    };
    if (!options.plot.empty() && !write(options.plot, WinPlot(sheet, simulated ? &sim.lineWin : nullptr))) return 1;
    if (!options.plotSessions.empty() && !write(options.plotSessions, SessionPlot(sessions))) return 1;
    return 0;
}
