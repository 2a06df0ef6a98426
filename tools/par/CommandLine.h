// The options of kazoomba-par.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kazoomba::par {

struct Options {
    bool allCoins = false;  // --coins all
    int coins = 8;
    std::uint64_t simulate = 0;  // paid spins; 0: no simulation
    std::optional<std::uint64_t> seed;
    int threads = 0;  // 0: every core
    bool json = false;
    std::string plot;  // SVG file to draw the win distribution into
    bool reference = false;  // simulate through ScoreSpin itself
    bool help = false;
    bool version = false;
};

struct Parsed {
    Options options;
    std::string error;  // empty when the command line is good
};

Parsed ParseCommandLine(const std::vector<std::string>& args);
std::string Usage();

// "30000000", "3e7", "30M", "500k", "2G".
std::optional<std::uint64_t> ParseCount(const std::string& text);

}  // namespace kazoomba::par
