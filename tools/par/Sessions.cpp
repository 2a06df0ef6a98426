// Sessions on every core, tallied as histograms so that the threads' shares simply add up.
#include "Sessions.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

namespace kazoomba::par {
namespace {

std::uint64_t SessionSeed(std::uint64_t seed, std::uint64_t session) {
    return (seed ^ 0x5E55107A11ull) + (session + 1) * 0xD1B54A32D192ED03ull;
}

struct Share {
    std::vector<std::uint64_t> bySpins;
    std::vector<std::uint64_t> byCoins;
    std::uint64_t broke = 0;

    void Add(const SessionEnd& end) {
        ++bySpins[static_cast<std::size_t>(end.spins)];
        if (end.credits >= byCoins.size()) byCoins.resize(end.credits + end.credits / 2 + 1, 0);
        ++byCoins[end.credits];
        broke += end.broke;
    }
};

// The smallest value with at least a share q of the sessions at or below it.
template <class Value>
double Percentile(const std::vector<std::uint64_t>& histogram, std::uint64_t sessions, double q, Value value) {
    const auto rank = std::max<std::uint64_t>(1, static_cast<std::uint64_t>(std::ceil(q * static_cast<double>(sessions) - 1e-9)));
    std::uint64_t seen = 0;
    for (std::size_t v = 0; v < histogram.size(); ++v)
        if ((seen += histogram[v]) >= rank) return value(v);
    return 0.0;
}

template <class Value>
Percentiles PercentilesOf(const std::vector<std::uint64_t>& histogram, std::uint64_t sessions, Value value) {
    return {Percentile(histogram, sessions, 0.1, value), Percentile(histogram, sessions, 0.5, value),
            Percentile(histogram, sessions, 0.9, value)};
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
    std::uint64_t broke = 0;
    for (const Share& share : shares) {
        for (std::size_t i = 0; i < spinSlots; ++i) odds.bySpins[i] += share.bySpins[i];
        if (share.byCoins.size() > odds.byCoins.size()) odds.byCoins.resize(share.byCoins.size(), 0);
        for (std::size_t i = 0; i < share.byCoins.size(); ++i) odds.byCoins[i] += share.byCoins[i];
        broke += share.broke;
    }
    while (!odds.byCoins.empty() && odds.byCoins.back() == 0) odds.byCoins.pop_back();

    const std::uint64_t n = settings.sessions;
    std::uint64_t ahead = 0, doubled = 0;
    const double bankroll = odds.Credits(odds.startCoins);
    for (std::size_t coins = 0; coins < odds.byCoins.size(); ++coins) {
        if (coins > odds.startCoins) ahead += odds.byCoins[coins];
        if (odds.Credits(coins) >= 2 * bankroll - 1e-6) doubled += odds.byCoins[coins];
    }
    odds.broke = ChanceOf(broke, n);
    odds.ahead = ChanceOf(ahead, n);
    odds.doubled = ChanceOf(doubled, n);
    odds.spinsPlayed = PercentilesOf(odds.bySpins, n, [](std::size_t spins) { return static_cast<double>(spins); });
    odds.finalCredits = PercentilesOf(odds.byCoins, n, [&](std::size_t coins) { return odds.Credits(coins); });
    odds.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return odds;
}

}  // namespace kazoomba::par
