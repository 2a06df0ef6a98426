// The manual's payback page quotes kazoomba-par: every marked figure and the chart must match the analysis.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "ParSheet.h"
#include "SessionPlot.h"
#include "Sessions.h"
#include "Volatility.h"
#include "WinPlot.h"
#include "support/ParAnalysis.h"

using namespace kazoomba;
using namespace kazoomba::par;

namespace {
std::string Page() {
    std::ifstream file(std::string(KAZOOMBA_SOURCE_DIR) + "/resources/manual/payback.html", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Base64Decode(const std::string& in) {
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : in) {
        const auto at = alphabet.find(c);
        if (at == std::string::npos) continue;  // padding
        bits = bits << 6 | static_cast<unsigned>(at);
        if ((count += 6) >= 8) out += static_cast<char>(bits >> (count -= 8) & 0xFF);
    }
    return out;
}

using test::TheAnalysis;

// The volatility figures of a wager, by the page's names for them: "sd_whole", "band_low.1000", ...
const std::map<std::string, double>& VolatilityFigures(int coins) {
    static std::map<int, std::map<std::string, double>> byCoins;
    auto& figures = byCoins[coins];
    if (figures.empty()) {
        const Volatility v = ExactVolatility(TheAnalysis(), TheAnalysis().Wager(coins));
        figures = {{"sd_whole", v.sdWhole}, {"index_90", v.index90}, {"index_95", v.index95}};
        for (const ReturnBand& b : v.bands) {
            figures["band_low." + std::to_string(b.spins)] = b.low;
            figures["band_high." + std::to_string(b.spins)] = b.high;
        }
    }
    return figures;
}

// The sessions the page quotes: 100,000 of at most 200 spins from 1000 credits at 25 cents, seed 19950824.
const SessionOdds& PageSessions(int coins) {
    static std::map<int, SessionOdds> byCoins;
    auto it = byCoins.find(coins);
    if (it == byCoins.end()) {
        SessionSettings settings;
        settings.coins = coins;
        settings.sessions = 100'000;
        settings.seed = 19950824;
        settings.threads = 2;
        it = byCoins.emplace(coins, SimulateSessions(TheAnalysis(), settings)).first;
    }
    return it->second;
}

// The figures of the page's marks, "[attribute]="[key]@[coins]">[figure]( %)?", shown as the page shows them.
template <class Value>
int CheckMarks(const std::string& page, const std::string& attribute, Value value) {
    const std::regex marked("<span " + attribute + R"re(="([a-z_.0-9]+)@([0-9]+)">([0-9.]+)( %)?</span>)re");
    int checked = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), marked); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        const std::string shown = m[3];
        const bool percent = m[4].matched;
        const auto dot = shown.find('.');
        const int decimals = dot == std::string::npos ? 0 : static_cast<int>(shown.size() - dot - 1);
        const double v = value(m[1], std::stoi(m[2])) * (percent ? 100.0 : 1.0);
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, v);
        EXPECT_EQ(shown, text) << m[1] << " at " << m[2] << " coins";
        ++checked;
    }
    int marks = 0;
    for (auto at = page.find(attribute + "="); at != std::string::npos; at = page.find(attribute + "=", at + 1)) ++marks;
    EXPECT_EQ(checked, marks) << "a marked figure the test could not read";
    return checked;
}

std::string Picture(const std::string& page, const std::string& start) {
    const auto from = page.find(start);
    if (from == std::string::npos) return {};
    const auto to = page.find('"', from + start.size());
    return Base64Decode(page.substr(from + start.size(), to - from - start.size()));
}

// The value a marked figure stands for: a field of the JSON output, or one of the page's derived figures.
double Expected(const std::string& key, int coins) {
    const Analysis& analysis = TheAnalysis();
    if (key == "sd_whole" || key.rfind("index_", 0) == 0 || key.rfind("band_", 0) == 0) {
        const auto& volatility = VolatilityFigures(coins);
        const auto it = volatility.find(key);
        if (it == volatility.end()) ADD_FAILURE() << "the page marks an unknown figure " << key;
        return it == volatility.end() ? 0.0 : it->second;
    }
    static const std::vector<Figures> all = analysis.AllWagers();
    const Figures& f = all.at(coins - 1);
    const std::map<std::string, double> values = {
        {"rtp.lines", f.rtpLines},
        {"rtp.pool", f.rtpPool},
        {"rtp.bonus", f.rtpBonus},
        {"rtp.total", f.rtpTotal},
        {"hit_frequency", f.hitFrequency},
        {"sd_line_win", f.sdLineWin},
        {"bonus_award_every", f.bonusAwardEvery},
        {"pool_win_every", f.poolWinEvery},
        {"mean_pool", f.meanPool},
        {"mean_pool_coins", f.meanPool * coins},
        {"board_one_pick", f.boardOnePick},
        {"board_best", f.boardBest},
        {"board_loss", analysis.Board().BestLossChance()},
        {"doubled_total", f.rtpTotal * f.boardBest},
        {"award_return", analysis.Rules().BonusSpinsPerAward() * analysis.BonusLineReturns()[0]},
        {"bonus_line", analysis.BonusLineReturns()[0]},
        {"pool_per_fulmina", analysis.Rules().PoolGrowthPerCell(coins, Fulmina)},
        {"fulminas_per_spin", MeanPoolGrowth(analysis.Rules(), coins) / analysis.Rules().PoolGrowthPerCell(coins, Fulmina)},
        {"line.1", analysis.LineReturns()[0]},
        {"line.8", analysis.LineReturns()[7]},
    };
    const auto it = values.find(key);
    if (it == values.end()) ADD_FAILURE() << "the page marks an unknown figure " << key;
    return it == values.end() ? 0.0 : it->second;
}
}  // namespace

TEST(ManualPage, EveryMarkedFigureIsTheProgramsFigure) {
    const std::string page = Page();
    ASSERT_FALSE(page.empty());
    EXPECT_GT(CheckMarks(page, "data-par", Expected), 100);
}

TEST(ManualPage, SessionFiguresAndPicturesAreThePrograms) {
    const std::string page = Page();
    const int checked = CheckMarks(page, "data-sessions", [](const std::string& key, int coins) {
        const SessionOdds& s = PageSessions(coins);
        const std::map<std::string, double> values = {
            {"broke", s.broke.estimate},          {"ahead", s.ahead.estimate},
            {"doubled", s.doubled.estimate},      {"spins.p10", s.spinsPlayed.p10},
            {"spins.median", s.spinsPlayed.median}, {"credits.p10", s.finalCredits.p10},
            {"credits.median", s.finalCredits.median}, {"credits.p90", s.finalCredits.p90},
        };
        const auto it = values.find(key);
        if (it == values.end()) ADD_FAILURE() << "the page marks an unknown session figure " << key;
        return it == values.end() ? 0.0 : it->second;
    });
    EXPECT_GE(checked, 14);
    for (int coins : {8, 64})
        EXPECT_EQ(Picture(page, "id=\"sessions" + std::to_string(coins) + "\" src=\"data:image/svg+xml;base64,"),
                  SessionPlot(PageSessions(coins)))
            << coins << " coins";
}

TEST(ManualPage, ChartIsTheProgramsPlotOfEightCoins) {
    EXPECT_EQ(Picture(Page(), "src=\"data:image/svg+xml;base64,"), WinPlot(TheAnalysis().Wager(8)));
}

TEST(ManualPage, StandsOnItsOwn) {
    const std::string page = Page();
    EXPECT_EQ(page.find("<link"), std::string::npos) << "styles are in the page";
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos) << "nothing is fetched";
    EXPECT_NE(page.find("href=\"index.html\""), std::string::npos) << "the way back to the contents";
}
