// The par sheet as people read it (aligned tables) and as programs read it (JSON).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ParSheet.h"
#include "Sessions.h"
#include "Simulator.h"
#include "Volatility.h"

namespace kazoomba::par {

// How a simulation was run, for the record.
struct RunNote {
    std::uint64_t seed = 0;
    int threads = 0;
    bool reference = false;
};

// What a report says beyond the par sheet, where it was worked out: how swingy the machine is and how
// sessions of play end.
struct Extras {
    const Volatility* volatility = nullptr;
    const SessionOdds* sessions = nullptr;
};

std::string TextReport(const ParSheet& sheet, const Simulation* sim = nullptr, const RunNote& run = {},
                       const Extras& extras = {});
std::string JsonReport(const ParSheet& sheet, const Simulation* sim = nullptr, const RunNote& run = {},
                       const Extras& extras = {});

// The wager that pays back the most, and why, in a sentence or three.
struct BestWager {
    int coins = 0;
    std::string why;
};
BestWager FindBestWager(const std::vector<Figures>& all, const Analysis& analysis);

std::string TextTable(const std::vector<Figures>& all, const Analysis& analysis);
std::string JsonTable(const std::vector<Figures>& all, const Analysis& analysis);

// The figures an exact value must fall within, by JSON field name, where the simulation missed it.
std::vector<std::string> OutsideInterval(const Figures& exact, const Simulation& sim);

// One line of a terminal progress bar (no newline); `what` names the things counted in millions.
std::string ProgressLine(std::uint64_t done, std::uint64_t total, double seconds, int width = 30,
                         const char* what = "spins");

// A count with thousands grouped: "1,000,000".
std::string Grouped(std::uint64_t n);

}  // namespace kazoomba::par
