// The manual's payback page quotes kazoomba-par: every marked figure and the chart must match the analysis.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "ParSheet.h"
#include "WinPlot.h"

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

// The value a marked figure stands for: a field of the JSON output, or one of the page's derived figures.
double Expected(const std::string& key, int coins) {
    static const Analysis analysis;
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
    const std::regex marked(R"re(<span data-par="([a-z_.0-9]+)@([0-9]+)">([0-9.]+)( %)?</span>)re");
    int checked = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), marked); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        const std::string shown = m[3];
        const bool percent = m[4].matched;
        const auto dot = shown.find('.');
        const int decimals = dot == std::string::npos ? 0 : static_cast<int>(shown.size() - dot - 1);
        const double value = Expected(m[1], std::stoi(m[2])) * (percent ? 100.0 : 1.0);
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        EXPECT_EQ(shown, text) << m[1] << " at " << m[2] << " coins";
        ++checked;
    }
    int marks = 0;
    for (auto at = page.find("data-par="); at != std::string::npos; at = page.find("data-par=", at + 1)) ++marks;
    EXPECT_EQ(checked, marks) << "a marked figure the test could not read";
    EXPECT_GT(checked, 100);
}

TEST(ManualPage, ChartIsTheProgramsPlotOfEightCoins) {
    const std::string page = Page();
    const std::string start = "src=\"data:image/svg+xml;base64,";
    const auto from = page.find(start);
    ASSERT_NE(from, std::string::npos);
    const auto to = page.find('"', from + start.size());
    static const Analysis analysis;
    EXPECT_EQ(Base64Decode(page.substr(from + start.size(), to - from - start.size())), WinPlot(analysis.Wager(8)));
}

TEST(ManualPage, StandsOnItsOwn) {
    const std::string page = Page();
    EXPECT_EQ(page.find("<link"), std::string::npos) << "styles are in the page";
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos) << "nothing is fetched";
    EXPECT_NE(page.find("href=\"index.html\""), std::string::npos) << "the way back to the contents";
}
