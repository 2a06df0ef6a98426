// Text and JSON renderings of the par sheet, the wager table and the simulator's comparison.
#include "Report.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "engine/Symbols.h"

namespace kazoomba::par {
namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

struct Field {
    const char* json;  // "rtp.lines" nests under "rtp"
    const char* label;
    double Figures::*member;
    bool percent;
    int decimals;
};

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {
        {"rtp.lines", "  line wins", &Figures::rtpLines, true, 3},
        {"rtp.pool", "  bonus pool", &Figures::rtpPool, true, 3},
        {"rtp.bonus", "  SMILE bonus spins", &Figures::rtpBonus, true, 3},
        {"rtp.total", "  total", &Figures::rtpTotal, true, 3},
        {"hit_frequency", "Hit frequency (paid spins with a line win)", &Figures::hitFrequency, true, 3},
        {"sd_line_win", "Standard deviation of a paid spin's line win", &Figures::sdLineWin, false, 4},
        {"bonus_award_every", "SMILE bonus awarded: one in N paid spins", &Figures::bonusAwardEvery, false, 2},
        {"pool_win_every", "Pool won: one in N paid spins", &Figures::poolWinEvery, false, 2},
        {"mean_pool", "  mean pool when won", &Figures::meanPool, false, 3},
        {"board_one_pick", "  one pick, then quit", &Figures::boardOnePick, false, 4},
        {"board_best", "  best hint-aware play", &Figures::boardBest, false, 4},
    };
    return fields;
}

std::string Value(const Field& f, double v) {
    if (std::isnan(v)) return "-";
    if (std::isinf(v)) return "never";
    if (f.percent) return Format("%.*f %%", f.decimals, 100.0 * v);
    return Format("%.*f", f.decimals, v);
}

std::string Json(double v) { return std::isfinite(v) ? Format("%.10g", v) : "null"; }

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The figures as a JSON object body, "rtp" nested.
std::string JsonFigures(const Figures& f, const std::string& indent) {
    std::string out = indent + "\"coins\": " + std::to_string(f.coins) + ",\n";
    out += indent + "\"rtp\": {";
    bool first = true;
    for (const Field& field : Fields()) {
        const std::string name = field.json;
        if (name.rfind("rtp.", 0) != 0) continue;
        out += (first ? "" : ", ") + Quote(name.substr(4)) + ": " + Json(f.*field.member);
        first = false;
    }
    out += "}";
    for (const Field& field : Fields()) {
        const std::string name = field.json;
        if (name.rfind("rtp.", 0) == 0) continue;
        out += ",\n" + indent + Quote(name) + ": " + Json(f.*field.member);
    }
    return out;
}

// Lines with the same return are named together: "1-7: 77.250 %, 8: 78.063 %".
std::string LineReturnsText(const std::array<double, kLines>& returns) {
    std::string out;
    for (int l = 0; l < kLines;) {
        int last = l;
        while (last + 1 < kLines && returns[last + 1] == returns[l]) ++last;
        if (!out.empty()) out += ", ";
        out += last > l ? Format("%d-%d: ", l + 1, last + 1) : Format("%d: ", l + 1);
        out += Format("%.3f %%", 100.0 * returns[l]);
        l = last + 1;
    }
    return out;
}

std::string Row(const std::string& label, const std::string& exact, const std::string& rest = {}) {
    std::string row = Format("%-46s%12s", label.c_str(), exact.c_str()) + rest;
    row.erase(row.find_last_not_of(' ') + 1);
    return row + "\n";
}

}  // namespace

std::vector<std::string> OutsideInterval(const Figures& exact, const Simulation& sim) {
    std::vector<std::string> outside;
    for (const Field& f : Fields()) {
        const double e = exact.*f.member, s = sim.estimate.*f.member, h = sim.halfWidth.*f.member;
        if (std::isfinite(e) && std::isfinite(s) && std::isfinite(h) && std::fabs(e - s) > h) outside.push_back(f.json);
    }
    return outside;
}

std::string Grouped(std::uint64_t n) {
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

namespace {

std::string CoinLabel(double coinValue) {
    return coinValue >= 1.0 ? Format("$%.2f", coinValue) : Format("%.0f\u00A2", 100 * coinValue);
}

std::string VolatilityText(const Volatility& v, const Simulation* sim) {
    std::string out = "\nVolatility: the whole return of a paid spin (line wins, the bonus spins it is awarded and the\n"
                      "pool it wins), in coins per coin wagered\n";
    out += Row(v.exact ? "Standard deviation (exact)" : "Standard deviation (estimated by simulation)",
               Format("%.4f", v.sdWhole),
               sim ? Format("%14.4f   +/- %.4f", sim->sdWhole, sim->sdWholeHalfWidth) : std::string{});
    out += Row("Volatility index, 90 % confidence (1.645 sd)", Format("%.3f", v.index90));
    out += Row("Volatility index, 95 % confidence (1.96 sd)", Format("%.3f", v.index95));
    out += "Return to player after N paid spins, 90 % of the time between\n";
    for (const ReturnBand& b : v.bands)
        out += Row(Format("  %s spins", Grouped(static_cast<std::uint64_t>(b.spins)).c_str()),
                   Format("%.1f %%", 100 * b.low), Format(" and %7.1f %%", 100 * b.high));
    return out;
}

std::string SessionsText(const SessionOdds& s) {
    const SessionSettings& set = s.settings;
    std::string out = Format("\nSessions: %s players, each sitting down with %.2f credits at %s a coin,\n"
                             "betting %d coin%s ($%.2f) a spin for at most %d paid spins and taking every win\n",
                             Grouped(set.sessions).c_str(), set.bankroll, CoinLabel(set.coinValue).c_str(), set.coins,
                             set.coins == 1 ? "" : "s", s.bet, set.spinLimit);
    out += Row("", "chance", "   95 % interval");
    auto chance = [&](const char* label, const Chance& c) {
        out += Row(label, Format("%.2f %%", 100 * c.estimate), Format("   %.2f to %.2f %%", 100 * c.low, 100 * c.high));
    };
    chance("Goes broke (the bet no longer fits)", s.broke);
    chance("Ends ahead", s.ahead);
    chance("At least doubles the bankroll", s.doubled);
    out += Row("", "10th %", Format("  %12s  %12s", "median", "90th %"));
    out += Row("Paid spins played", Format("%.0f", s.spinsPlayed.p10),
               Format("  %12.0f  %12.0f", s.spinsPlayed.median, s.spinsPlayed.p90));
    out += Row("Credits at the end", Format("%.2f", s.finalCredits.p10),
               Format("  %12.2f  %12.2f", s.finalCredits.median, s.finalCredits.p90));
    out += Format("Played in %.2f s, seed %llu, %d thread%s.\n", s.seconds, static_cast<unsigned long long>(set.seed),
                  set.threads, set.threads == 1 ? "" : "s");
    return out;
}

std::string JsonChance(const Chance& c) {
    return "{\"chance\": " + Json(c.estimate) + ", \"ci95\": [" + Json(c.low) + ", " + Json(c.high) + "]}";
}

std::string JsonPercentiles(const Percentiles& p) {
    return "{\"p10\": " + Json(p.p10) + ", \"median\": " + Json(p.median) + ", \"p90\": " + Json(p.p90) + "}";
}

std::string VolatilityJson(const Volatility& v, const Simulation* sim) {
    std::string out = ",\n  \"volatility\": {\n";
    out += std::string("    \"exact\": ") + (v.exact ? "true" : "false") + ",\n";
    out += "    \"sd_whole\": " + Json(v.sdWhole) + ",\n";
    out += "    \"index_90\": " + Json(v.index90) + ",\n";
    out += "    \"index_95\": " + Json(v.index95) + ",\n";
    out += "    \"rtp_band_90\": [";
    for (std::size_t i = 0; i < v.bands.size(); ++i)
        out += (i ? ", " : "") + Format("{\"spins\": %d, ", v.bands[i].spins) + "\"low\": " + Json(v.bands[i].low) +
               ", \"high\": " + Json(v.bands[i].high) + "}";
    out += "]";
    if (sim)
        out += ",\n    \"simulated_sd_whole\": " + Json(sim->sdWhole) + ",\n    \"simulated_sd_whole_ci95\": " +
               Json(sim->sdWholeHalfWidth);
    return out + "\n  }";
}

std::string SessionsJson(const SessionOdds& s) {
    const SessionSettings& set = s.settings;
    std::string out = ",\n  \"sessions\": {\n";
    out += "    \"sessions\": " + std::to_string(set.sessions) + ",\n";
    out += "    \"bankroll\": " + Json(set.bankroll) + ",\n";
    out += "    \"coin_value\": " + Json(set.coinValue) + ",\n";
    out += "    \"coins\": " + std::to_string(set.coins) + ",\n";
    out += "    \"bet\": " + Json(s.bet) + ",\n";
    out += "    \"spin_limit\": " + std::to_string(set.spinLimit) + ",\n";
    out += "    \"broke\": " + JsonChance(s.broke) + ",\n";
    out += "    \"ahead\": " + JsonChance(s.ahead) + ",\n";
    out += "    \"doubled\": " + JsonChance(s.doubled) + ",\n";
    out += "    \"spins_played\": " + JsonPercentiles(s.spinsPlayed) + ",\n";
    out += "    \"final_credits\": " + JsonPercentiles(s.finalCredits) + ",\n";
    out += "    \"seed\": " + std::to_string(set.seed) + ",\n";
    out += "    \"threads\": " + std::to_string(set.threads) + ",\n";
    out += "    \"seconds\": " + Json(s.seconds) + "\n  }";
    return out;
}

}  // namespace

std::string TextReport(const ParSheet& sheet, const Simulation* sim, const RunNote& run, const Extras& extras) {
    const Figures& f = sheet.figures;
    const LineCoins dealt = CoinsFor(f.coins);
    const int heavy = static_cast<int>(std::count(dealt.begin(), dealt.end(), dealt[0]));
    std::string out = Format("Kazoomba par sheet: %d coin%s a spin", f.coins, f.coins == 1 ? "" : "s");
    if (heavy == kLines)
        out += Format(" (%d on each pay line)\n", dealt[0]);
    else
        out += Format(" (%d on line%s 1%s, %d on the others)\n", dealt[0], heavy == 1 ? "" : "s",
                      heavy == 1 ? "" : Format(" to %d", heavy).c_str(), dealt[kLines - 1]);
    out += "Money in coins per coin wagered, the board in multiples of the stake.\n\n";

    const std::vector<std::string> outside = sim ? OutsideInterval(f, *sim) : std::vector<std::string>{};
    auto simulated = [&](const Field& field) -> std::string {
        if (!sim) return {};
        const bool missed = std::find(outside.begin(), outside.end(), field.json) != outside.end();
        return Format("%14s   +/- %-12s%s", Value(field, sim->estimate.*field.member).c_str(),
                      Value(field, sim->halfWidth.*field.member).c_str(), missed ? "  <-- exact figure outside" : "");
    };
    out += sim ? Row("", "exact", Format("%14s   %-16s", "simulated", "95 % interval")) : Row("", "exact");
    auto field = [&](const char* name) -> const Field& {
        return *std::find_if(Fields().begin(), Fields().end(), [&](const Field& x) { return std::string(x.json) == name; });
    };
    auto line = [&](const char* name, const std::string& note = {}) {
        const Field& x = field(name);
        std::string rest = simulated(x);
        if (!note.empty()) rest += (sim ? "  " : "   ") + note;
        out += Row(x.label, Value(x, f.*x.member), rest);
    };

    out += "Return to player\n";
    for (const char* name : {"rtp.lines", "rtp.pool", "rtp.bonus", "rtp.total"}) line(name);
    line("hit_frequency");
    line("sd_line_win");
    line("bonus_award_every");
    out += Row("  what its bonus spins return", Format("%.3f", sheet.awardReturn));
    line("pool_win_every");
    line("mean_pool", Format("(%.2f coins)", f.meanPool * f.coins));
    out += "Vaz Ivero board\n";
    line("board_one_pick");
    line("board_best", Format("(loses the stake %.1f %% of the time)", 100.0 * sheet.boardLossChance));
    out += "\nReturn per coin on each line: " + LineReturnsText(sheet.lineReturns) + "\n";

    if (sim) {
        out += Format("\nSimulated %llu paid spins and %llu boards each way in %.2f s (%.1f million spins a second), ",
                      static_cast<unsigned long long>(sim->spins), static_cast<unsigned long long>(sim->total.boards),
                      sim->seconds, sim->seconds > 0 ? sim->spins / sim->seconds / 1e6 : 0.0);
        out += Format("seed %llu, %d thread%s%s; %d batches.\n", static_cast<unsigned long long>(run.seed), run.threads,
                      run.threads == 1 ? "" : "s", run.reference ? ", every spin through ScoreSpin" : "", sim->batches);
        out += outside.empty() ? "Every exact figure lies within its 95 % interval.\n"
                               : Format("%zu exact figure%s outside the 95 %% interval (about 1 in 20 is expected by chance).\n",
                                        outside.size(), outside.size() == 1 ? " lies" : "s lie");
    }
    if (extras.volatility) out += VolatilityText(*extras.volatility, sim);
    if (extras.sessions) out += SessionsText(*extras.sessions);
    return out;
}

std::string JsonReport(const ParSheet& sheet, const Simulation* sim, const RunNote& run, const Extras& extras) {
    std::string out = "{\n" + JsonFigures(sheet.figures, "  ");
    if (sim) {
        out += ",\n  \"simulated\": {\n";
        out += "    \"spins\": " + std::to_string(sim->spins) + ",\n";
        out += JsonFigures(sim->estimate, "    ") + ",\n";
        out += "    \"ci95\": {\n" + JsonFigures(sim->halfWidth, "      ") + "\n    },\n";
        std::string names;
        for (const std::string& name : OutsideInterval(sheet.figures, *sim)) names += (names.empty() ? "" : ", ") + Quote(name);
        out += "    \"outside_ci\": [" + names + "],\n";
        out += "    \"boards\": " + std::to_string(sim->total.boards) + ",\n";
        out += "    \"seed\": " + std::to_string(run.seed) + ",\n";
        out += "    \"threads\": " + std::to_string(run.threads) + ",\n";
        out += std::string("    \"through_score_spin\": ") + (run.reference ? "true" : "false") + ",\n";
        out += "    \"seconds\": " + Json(sim->seconds) + "\n  }";
    }
    if (extras.volatility) out += VolatilityJson(*extras.volatility, sim);
    if (extras.sessions) out += SessionsJson(*extras.sessions);
    return out + "\n}\n";
}

BestWager FindBestWager(const std::vector<Figures>& all, const Analysis& analysis) {
    BestWager best;
    if (all.empty()) return best;
    const auto top = std::max_element(all.begin(), all.end(), [](const Figures& a, const Figures& b) { return a.rtpTotal < b.rtpTotal; });
    const Figures& b = *top;
    best.coins = b.coins;
    auto at = [&](int coins) -> const Figures* { return coins >= 1 && coins <= static_cast<int>(all.size()) ? &all[coins - 1] : nullptr; };
    const auto firstPool = std::find_if(all.begin(), all.end(), [](const Figures& f) { return f.rtpPool > 0.0; });

    best.why = Format("%d coins a spin pays back the most: %.2f %%", b.coins, 100.0 * b.rtpTotal);
    std::vector<int> others;
    for (int other : {b.coins - 1, b.coins + 1, 2 * b.coins, kMaxCoins})
        if (other != b.coins && at(other) && std::find(others.begin(), others.end(), other) == others.end())
            others.push_back(other);
    std::string against;
    for (int other : others)
        against += Format("%s%.2f %% at %d coins", against.empty() ? "" : ", ", 100.0 * at(other)->rtpTotal, other);
    if (!against.empty()) best.why += ", against " + against;
    best.why += ".";
    if (firstPool == all.end() || firstPool->coins != b.coins) {
        best.why += Format(" It returns %.2f %% in line wins, %.2f %% from the pool and %.2f %% from bonus spins.",
                           100.0 * b.rtpLines, 100.0 * b.rtpPool, 100.0 * b.rtpBonus);
        return best;
    }
    const double perFulmina = analysis.Rules().PoolGrowthPerCell(b.coins, Fulmina);
    const double fulminas = perFulmina > 0 ? MeanPoolGrowth(analysis.Rules(), b.coins) / perFulmina : 0.0;
    double lowLines = 1e9, highLines = 0;
    for (const Figures& f : all) {
        lowLines = std::min(lowLines, f.rtpLines);
        highLines = std::max(highLines, f.rtpLines);
    }
    best.why += Format(" The pool only grows on spins with a coin on every line, and then by %g coins for each FULMINA"
                       " showing (%.2f a spin on average), however many coins are wagered. So per coin wagered it is"
                       " worth most at the smallest wager that grows it: %.2f %% at %d coins",
                       perFulmina, fulminas, 100.0 * b.rtpPool, b.coins);
    for (int other : {2 * b.coins, kMaxCoins})
        if (const Figures* o = at(other); o && other != b.coins) best.why += Format(", %.2f %% at %d", 100.0 * o->rtpPool, other);
    best.why += ".";
    if (const Figures* below = at(b.coins - 1))
        best.why += Format(" Below %d coins the pool never grows and fewer lines count SMILEs, so bonus spins come"
                           " rarer (one in %.0f paid spins at %d coins, one in %.0f at %d).",
                           b.coins, below->bonusAwardEvery, below->coins, b.bonusAwardEvery, b.coins);
    best.why += Format(" Line wins return %.2f to %.2f %% at every wager.", 100.0 * lowLines, 100.0 * highLines);
    return best;
}

std::string TextTable(const std::vector<Figures>& all, const Analysis& analysis) {
    const BestWager best = FindBestWager(all, analysis);
    std::string out = "Kazoomba: every wager, exact (returns in % of the coins wagered)\n\n";
    out += Format("%5s %8s %8s %8s %9s %8s %9s %12s %11s %10s\n", "coins", "lines", "pool", "bonus", "total", "hit",
                  "SD line", "bonus every", "pool every", "mean pool");
    for (const Figures& f : all)
        out += Format("%5d %8.3f %8.3f %8.3f %9.3f %8.3f %9.4f %12.1f %11.2f %10.3f%s\n", f.coins, 100 * f.rtpLines,
                      100 * f.rtpPool, 100 * f.rtpBonus, 100 * f.rtpTotal, 100 * f.hitFrequency, f.sdLineWin,
                      f.bonusAwardEvery, f.poolWinEvery, f.meanPool, f.coins == best.coins ? "  <-- best" : "");
    return out + "\n" + best.why + "\n";
}

std::string JsonTable(const std::vector<Figures>& all, const Analysis& analysis) {
    const BestWager best = FindBestWager(all, analysis);
    std::string out = "{\n  \"best_coins\": " + std::to_string(best.coins) + ",\n  \"why\": " + Quote(best.why) + ",\n";
    out += "  \"wagers\": [\n";
    for (std::size_t i = 0; i < all.size(); ++i)
        out += "    {\n" + JsonFigures(all[i], "      ") + "\n    }" + (i + 1 < all.size() ? ",\n" : "\n");
    return out + "  ]\n}\n";
}

std::string ProgressLine(std::uint64_t done, std::uint64_t total, double seconds, int width, const char* what) {
    const double share = total ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
    const int filled = std::clamp(static_cast<int>(share * width), 0, width);
    std::string bar(1, '[');
    bar.append(static_cast<std::size_t>(filled), '#').append(static_cast<std::size_t>(width - filled), '.') += ']';
    const double rate = seconds > 0 ? done / seconds : 0.0;
    std::string line = Format("%s %3.0f %%  %.1f of %.1f M %s  %.1f M/s", bar.c_str(), 100 * share, done / 1e6, total / 1e6,
                              what, rate / 1e6);
    if (rate > 0 && done < total) {
        const auto left = static_cast<long>((total - done) / rate + 0.5);
        line += Format("  %ld:%02ld left", left / 60, left % 60);
    }
    return line;
}

}  // namespace kazoomba::par
