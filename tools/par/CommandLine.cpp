// Reads kazoomba-par's options; every mistake is named rather than guessed around.
#include "CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "RuleTables.h"

namespace kazoomba::par {

std::optional<std::uint64_t> ParseCount(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || errno != 0) return std::nullopt;
    const std::string suffix(end);
    if (suffix == "k" || suffix == "K") value *= 1e3;
    else if (suffix == "M" || suffix == "m") value *= 1e6;
    else if (suffix == "G" || suffix == "g") value *= 1e9;
    else if (!suffix.empty()) return std::nullopt;
    if (!(value >= 0.0) || value > 1e15 || value != std::floor(value)) return std::nullopt;
    return static_cast<std::uint64_t>(value);
}

std::optional<double> ParseAmount(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string Usage() {
    return "Usage: kazoomba-par [options]\n"
           "The par sheet of Kazoomba: what the game pays back, computed exactly from its rules,\n"
           "and a simulator that checks it.\n"
           "\n"
           "  --coins N|all     wager of N coins a spin (1 to 64, default 8), or a table of every wager\n"
           "  --simulate SPINS  also play SPINS paid spins (e.g. 30M) and compare with the exact figures\n"
           "  --seed S          seed of the simulation and the sessions (default: random, and printed)\n"
           "  --threads T       simulation threads (default: every core)\n"
           "  --reference       simulate every spin through the game's ScoreSpin itself (slower)\n"
           "  --sessions N      play N whole sessions (default 1M; 0 for none): each starts with the\n"
           "                    bankroll, repeats the bet and takes every win until the bet no longer\n"
           "                    fits the credits or the spins run out\n"
           "  --bankroll C      credits a session starts with (default 1000)\n"
           "  --coin V          coin value in dollars: 1, 0.50, 0.25, 0.10 or 0.05 (default 0.25)\n"
           "  --spins N         paid spins a session plays at most (default 200, one auto-spin run)\n"
           "  --plot-sessions FILE.svg  draw the distribution of the sessions' final credits\n"
           "  --json            print one JSON object instead of a table\n"
           "  --plot FILE.svg   draw the distribution of a paid spin's win\n"
           "  --help            show this text\n"
           "  --version         show the version of Kazoomba these figures are for\n";
}

Parsed ParseCommandLine(const std::vector<std::string>& args) {
    Parsed p;
    auto fail = [&](std::string message) {
        p.error = std::move(message);
        return p;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (a == "--help" || a == "-h") {
            p.options.help = true;
        } else if (a == "--version") {
            p.options.version = true;
        } else if (a == "--json") {
            p.options.json = true;
        } else if (a == "--reference") {
            p.options.reference = true;
        } else if (a == "--coins") {
            const std::string* v = value();
            if (!v) return fail("--coins needs a number of coins or \"all\"");
            if (*v == "all") {
                p.options.allCoins = true;
                continue;
            }
            const auto n = ParseCount(*v);
            if (!n || *n < 1 || *n > static_cast<std::uint64_t>(kMaxCoins))
                return fail("--coins takes 1 to 64 or \"all\", not \"" + *v + "\"");
            p.options.coins = static_cast<int>(*n);
        } else if (a == "--simulate") {
            const std::string* v = value();
            const auto n = v ? ParseCount(*v) : std::nullopt;
            if (!n || *n < 1) return fail("--simulate needs a number of paid spins, e.g. 30M");
            p.options.simulate = *n;
        } else if (a == "--seed") {
            const std::string* v = value();
            if (!v || v->empty()) return fail("--seed needs a number");
            char* end = nullptr;
            errno = 0;
            const unsigned long long seed = std::strtoull(v->c_str(), &end, 0);
            if (*end != '\0' || errno != 0 || (*v)[0] == '-') return fail("--seed takes a whole number, not \"" + *v + "\"");
            p.options.seed = seed;
        } else if (a == "--threads") {
            const std::string* v = value();
            const auto n = v ? ParseCount(*v) : std::nullopt;
            if (!n || *n < 1 || *n > 1024) return fail("--threads takes 1 to 1024");
            p.options.threads = static_cast<int>(*n);
        } else if (a == "--plot") {
            const std::string* v = value();
            if (!v || v->empty()) return fail("--plot needs a file name");
            p.options.plot = *v;
        } else if (a == "--sessions") {
            const std::string* v = value();
            const auto n = v ? ParseCount(*v) : std::nullopt;
            if (!n) return fail("--sessions needs a number of sessions, e.g. 1M, or 0 for none");
            p.options.sessions = *n;
        } else if (a == "--bankroll") {
            const std::string* v = value();
            const auto credits = v ? ParseAmount(*v) : std::nullopt;
            if (!credits || *credits <= 0.0 || *credits > 1e9) return fail("--bankroll takes credits above 0, e.g. 1000");
            p.options.bankroll = *credits;
        } else if (a == "--coin") {
            const std::string* v = value();
            // A missing or unreadable value becomes one no coin has, so it is refused with the rest.
            const double coin = (v ? ParseAmount(*v) : std::nullopt).value_or(-1.0);
            bool known = false;
            for (double c : kCoinValues) known = known || std::fabs(coin - c) < 1e-9;
            if (!known) return fail("--coin takes 1, 0.50, 0.25, 0.10 or 0.05");
            p.options.coinValue = coin;
        } else if (a == "--spins") {
            const std::string* v = value();
            const auto n = v ? ParseCount(*v) : std::nullopt;
            if (!n || *n < 1 || *n > 1'000'000) return fail("--spins takes 1 to 1M paid spins");
            p.options.sessionSpins = static_cast<int>(*n);
        } else if (a == "--plot-sessions") {
            const std::string* v = value();
            if (!v || v->empty()) return fail("--plot-sessions needs a file name");
            p.options.plotSessions = *v;
        } else {
            return fail("unknown option \"" + a + "\"");
        }
    }
    if (p.options.allCoins && p.options.simulate) return fail("--simulate works on one wager; pick --coins N");
    if (p.options.allCoins && !p.options.plot.empty()) return fail("--plot draws one wager; pick --coins N");
    if (p.options.allCoins && !p.options.plotSessions.empty()) return fail("--plot-sessions plays one wager; pick --coins N");
    if (!p.options.plotSessions.empty() && p.options.sessions == 0) return fail("--plot-sessions needs sessions to draw");
    return p;
}

}  // namespace kazoomba::par
