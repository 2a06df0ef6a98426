// The par sheet as people read it (aligned tables) and as programs read it (JSON).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ParSheet.h"
#include "Simulator.h"

namespace kazoomba::par {

// How a simulation was run, for the record.
struct RunNote {
    std::uint64_t seed = 0;
    int threads = 0;
    bool reference = false;
};

std::string TextReport(const ParSheet& sheet, const Simulation* sim = nullptr, const RunNote& run = {});
std::string JsonReport(const ParSheet& sheet, const Simulation* sim = nullptr, const RunNote& run = {});

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

// One line of a terminal progress bar (no newline).
std::string ProgressLine(std::uint64_t done, std::uint64_t total, double seconds, int width = 30);

}  // namespace kazoomba::par
