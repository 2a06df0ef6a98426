// Sessions on every core, tallied as histograms so that the threads' shares simply add up.
#include "Sessions.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <unordered_map>

namespace kazoomba::par {
namespace {

std::uint64_t SessionSeed(std::uint64_t seed, std::uint64_t session) {
    return (seed ^ 0x5E55107A11ull) + (session + 1) * 0xD1B54A32D192ED03ull;
}

struct Share {
    std::vector<std::uint64_t> bySpins;
    std::unordered_map<std::uint64_t, std::uint64_t> byCoins;
    std::uint64_t broke = 0;

    void Add(const SessionEnd& end) {
        ++bySpins[static_cast<std::size_t>(end.spins)];
        ++byCoins[end.credits];
        broke += end.broke;
    }
};

// The smallest value with at least a share q of the sessions at or below it; `counts` is (value, sessions)
// in rising order of value.
template <class Counts>
double Percentile(const Counts& counts, std::uint64_t sessions, double q) {
    const auto rank = std::max<std::uint64_t>(1, static_cast<std::uint64_t>(std::ceil(q * static_cast<double>(sessions) - 1e-9)));
    std::uint64_t seen = 0;
    for (const auto& [value, n] : counts)
        if ((seen += n) >= rank) return static_cast<double>(value);
    return 0.0;
}

template <class Counts>
Percentiles PercentilesOf(const Counts& counts, std::uint64_t sessions) {
    return {Percentile(counts, sessions, 0.1), Percentile(counts, sessions, 0.5), Percentile(counts, sessions, 0.9)};
}

}  // namespace

std::uint64_t BankrollCoins(double bankroll, double coinValue) {
    if (!(bankroll > 0.0) || !(coinValue > 0.0)) return 0;
    // A bankroll of 1000 at 10 cents is 10,000 coins even though 0.10 is not exact in binary.
    return static_cast<std::uint64_t>(std::floor(bankroll / coinValue + 1e-7));
}

Chance ChanceOf(std::uint64_t count, std::uint64_t sessions) {
    if (sessions == 0) return {};
    const double n = static_cast<double>(sessions), p = static_cast<double>(count) / n, z = 1.959963984540054;
    const double scale = 1.0 + z * z / n;
    const double centre = (p + z * z / (2 * n)) / scale;
    const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / scale;
    return {p, std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

SessionOdds SimulateSessions(const Analysis& analysis, const SessionSettings& settings,
                             const std::function<void(std::uint64_t)>& progress) {
    const auto start = std::chrono::steady_clock::now();
    const Engine engine(analysis, settings.coins);
    SessionOdds odds;
    odds.settings = settings;
    odds.bet = settings.coins * settings.coinValue;
    odds.startCoins = BankrollCoins(settings.bankroll, settings.coinValue);
    odds.leftover = std::max(0.0, settings.bankroll - static_cast<double>(odds.startCoins) * settings.coinValue);
    if (odds.leftover < 1e-6) odds.leftover = 0.0;

    constexpr std::uint64_t kChunk = 1024;
    const std::uint64_t chunks = (settings.sessions + kChunk - 1) / kChunk;
    const int threads = static_cast<int>(std::clamp<std::uint64_t>(settings.threads, 1, std::max<std::uint64_t>(1, chunks)));
    const std::size_t spinSlots = static_cast<std::size_t>(std::max(0, settings.spinLimit)) + 1;
    std::vector<Share> shares(threads, Share{std::vector<std::uint64_t>(spinSlots, 0), {}, 0});
    std::atomic<std::uint64_t> next{0}, done{0};
    {
        std::vector<std::jthread> workers;
        for (int w = 0; w < threads; ++w)
            workers.emplace_back([&, w] {
                Share& share = shares[w];
                for (std::uint64_t c; (c = next++) < chunks;) {
                    const std::uint64_t from = c * kChunk, to = std::min(settings.sessions, from + kChunk);
                    for (std::uint64_t s = from; s < to; ++s) {
                        if (settings.forcedDraw) {
                            share.Add(PlaySession(engine, settings.coins, odds.startCoins, settings.spinLimit, settings.forcedDraw));
                            continue;
                        }
                        ClockRandom random(SessionSeed(settings.seed, s));
                        share.Add(PlaySession(engine, settings.coins, odds.startCoins, settings.spinLimit,
                                              [&random] { return DrawStops(random); }));
                    }
                    done += to - from;
                }
            });
        if (progress) {
            while (done.load() < settings.sessions) {
                progress(done.load());
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            progress(done.load());
        }
    }

    odds.bySpins.assign(spinSlots, 0);
    std::unordered_map<std::uint64_t, std::uint64_t> byCoins;
    std::uint64_t broke = 0;
    for (const Share& share : shares) {
        for (std::size_t i = 0; i < spinSlots; ++i) odds.bySpins[i] += share.bySpins[i];
        for (const auto& [coins, n] : share.byCoins) byCoins[coins] += n;
        broke += share.broke;
    }
    odds.byCoins.assign(byCoins.begin(), byCoins.end());
    std::sort(odds.byCoins.begin(), odds.byCoins.end());

    const std::uint64_t n = settings.sessions;
    std::uint64_t ahead = 0, doubled = 0;
    const double bankroll = odds.Credits(odds.startCoins);
    for (const auto& [coins, count] : odds.byCoins) {
        if (coins > odds.startCoins) ahead += count;
        if (odds.Credits(coins) >= 2 * bankroll - 1e-6) doubled += count;
    }
    odds.broke = ChanceOf(broke, n);
    odds.ahead = ChanceOf(ahead, n);
    odds.doubled = ChanceOf(doubled, n);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> bySpins;
    for (std::size_t spins = 0; spins < spinSlots; ++spins)
        if (odds.bySpins[spins]) bySpins.emplace_back(spins, odds.bySpins[spins]);
    odds.spinsPlayed = PercentilesOf(bySpins, n);
    const Percentiles coins = PercentilesOf(odds.byCoins, n);
    odds.finalCredits = {odds.Credits(static_cast<std::uint64_t>(coins.p10)), odds.Credits(static_cast<std::uint64_t>(coins.median)),
                         odds.Credits(static_cast<std::uint64_t>(coins.p90))};
    odds.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return odds;
}

}  // namespace kazoomba::par
