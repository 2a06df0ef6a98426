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
    std::uint64_t sessions = 1'000'000;  // whole sessions to play; 0: none
    double bankroll = 1000.0;            // credits each session starts with
    double coinValue = 0.25;
    int sessionSpins = 200;              // paid spins a session plays at most
    std::string plotSessions;            // SVG file to draw the sessions' final credits into
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
// "1000", "0.25", ".5": a plain decimal number and nothing after it.
std::optional<double> ParseAmount(const std::string& text);

// The coin values the game offers, in dollars.
inline constexpr double kCoinValues[] = {1.00, 0.50, 0.25, 0.10, 0.05};

}  // namespace kazoomba::par
