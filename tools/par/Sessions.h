// Whole sessions of play: a player sits down with a bankroll, repeats one bet and takes every win, until the
// bet no longer fits the credits or the spins run out.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "FastEngine.h"
#include "ParSheet.h"

namespace kazoomba::par {

struct SessionSettings {
    int coins = 8;                 // the bet, repeated every spin
    double coinValue = 0.25;       // dollars a coin
    double bankroll = 1000.0;      // credits (dollars) at the start
    int spinLimit = 200;           // paid spins at most: one auto-spin run
    std::uint64_t sessions = 1'000'000;
    std::uint64_t seed = 0;
    int threads = 1;
    // Every spin's stops from here instead of each session's own seeded generator (called from every thread).
    std::function<std::uint64_t()> forcedDraw;
};

// How one session ended; credits in coins.
struct SessionEnd {
    int spins = 0;
    std::uint64_t credits = 0;
    bool broke = false;  // stopped because the bet no longer fitted, not by the spin limit
};

// The coins a bankroll buys at a coin value, and the credits (dollars) left over that no bet can use.
std::uint64_t BankrollCoins(double bankroll, double coinValue);

// One session from a new game's counters, pool and bonus spins, all of which carry from spin to spin.
template <class Draw>
SessionEnd PlaySession(const Engine& engine, int coins, std::uint64_t credits, int spinLimit, Draw&& draw) {
    Counters game = NewGame(engine.rules);
    SessionEnd end;
    end.credits = credits;
    const auto bet = static_cast<std::uint64_t>(coins);
    for (; end.spins < spinLimit; ++end.spins) {
        if (end.credits < bet) {
            end.broke = true;
            break;
        }
        end.credits -= bet;
        end.credits += PlayPaidSpin(engine, game, draw).Whole();
    }
    return end;
}

// A chance with its 95 % (Wilson score) interval.
struct Chance {
    double estimate = 0.0;
    double low = 0.0;
    double high = 0.0;
};
Chance ChanceOf(std::uint64_t count, std::uint64_t sessions);

struct Percentiles {
    double p10 = 0.0;
    double median = 0.0;
    double p90 = 0.0;
};

struct SessionOdds {
    SessionSettings settings;
    double bet = 0.0;               // dollars a spin
    std::uint64_t startCoins = 0;
    double leftover = 0.0;          // credits of the bankroll below one coin
    std::vector<std::uint64_t> bySpins;  // sessions by paid spins played
    // Sessions by final credits in coins, as (coins, sessions) in rising order of coins: only the endings that
    // happened, however large the bankroll.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> byCoins;
    Chance broke, ahead, doubled;
    Percentiles spinsPlayed;
    Percentiles finalCredits;       // dollars
    double seconds = 0.0;

    double Credits(std::uint64_t coins) const { return static_cast<double>(coins) * settings.coinValue + leftover; }
};

// Sessions on every thread, each seeded from (seed, session), so the figures depend on the seed and not on
// the number of threads. `progress` is called now and then from the calling thread with the sessions done.
SessionOdds SimulateSessions(const Analysis& analysis, const SessionSettings& settings,
                             const std::function<void(std::uint64_t)>& progress = {});

}  // namespace kazoomba::par
