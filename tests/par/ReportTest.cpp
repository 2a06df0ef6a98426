// What kazoomba-par prints: the JSON fields other programs read, the wager table's verdict, the plot.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "Report.h"
#include "WinPlot.h"
#include "support/ParAnalysis.h"

using namespace kazoomba::par;

namespace {
using test::TheAnalysis;

const ParSheet& EightCoins() {
    static const ParSheet sheet = TheAnalysis().Wager(8);
    return sheet;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}
}  // namespace

TEST(JsonReport, CarriesTheVolatilityAndTheSessions) {
    const Volatility v = ExactVolatility(TheAnalysis(), EightCoins());
    SessionSettings settings;
    settings.sessions = 2000;
    settings.seed = 3;
    const SessionOdds sessions = SimulateSessions(TheAnalysis(), settings);
    const std::string json = JsonReport(EightCoins(), nullptr, {}, {&v, &sessions});
    for (const char* field : {"\"volatility\": {", "\"exact\": true", "\"sd_whole\": ", "\"index_90\": ",
                              "\"index_95\": ", "\"rtp_band_90\": [{\"spins\": 100, \"low\": ", "{\"spins\": 100000, ",
                              "\"sessions\": {", "\"sessions\": 2000", "\"bankroll\": 1000", "\"coin_value\": 0.25",
                              "\"bet\": 2,", "\"spin_limit\": 200", "\"broke\": {\"chance\": ", "\"ahead\": {",
                              "\"doubled\": {", "\"spins_played\": {\"p10\": ", "\"final_credits\": {\"p10\": "})
        EXPECT_EQ(Count(json, field), 1) << field;
    EXPECT_EQ(Count(json, "\"ci95\": ["), 3);
    EXPECT_EQ(Count(json, "{"), Count(json, "}"));
    EXPECT_EQ(Count(json, "["), Count(json, "]"));
    EXPECT_EQ(json.find("nan"), std::string::npos);
    const std::string text = TextReport(EightCoins(), nullptr, {}, {&v, &sessions});
    for (const char* line : {"Standard deviation (exact)", "Volatility index, 90 %", "100,000 spins", "Goes broke",
                             "Ends ahead", "At least doubles", "Paid spins played", "Credits at the end"})
        EXPECT_EQ(Count(text, line), 1) << line;
}

TEST(JsonReport, HasEveryFieldOnceAndTheSimulationBesideIt) {
    const std::string exact = JsonReport(EightCoins());
    for (const char* field : {"\"coins\": 8", "\"rtp\": {\"lines\": ", "\"pool\": ", "\"bonus\": ", "\"total\": ",
                              "\"hit_frequency\": ", "\"sd_line_win\": ", "\"bonus_award_every\": ",
                              "\"pool_win_every\": ", "\"mean_pool\": ", "\"board_one_pick\": 1,", "\"board_best\": "})
        EXPECT_EQ(Count(exact, field), 1) << field;
    EXPECT_EQ(Count(exact, "simulated"), 0);

    SimulationSettings settings;
    settings.spins = 100'000;
    settings.seed = 1;
    const Simulation sim = Simulate(TheAnalysis(), settings);
    const std::string both = JsonReport(EightCoins(), &sim, {1, 1, false});
    EXPECT_EQ(Count(both, "\"simulated\": {"), 1);
    EXPECT_EQ(Count(both, "\"spins\": 100000"), 1);
    EXPECT_EQ(Count(both, "\"hit_frequency\": "), 3) << "exact, simulated and its interval";
    EXPECT_EQ(Count(both, "{"), Count(both, "}"));
    EXPECT_EQ(both.find("nan"), std::string::npos);
    EXPECT_EQ(both.find("inf"), std::string::npos);
}

TEST(JsonReport, FiguresThatCannotBeComputedAreNull) {
    ParSheet sheet = EightCoins();
    sheet.figures.bonusAwardEvery = INFINITY;
    sheet.figures.meanPool = NAN;
    const std::string json = JsonReport(sheet);
    EXPECT_NE(json.find("\"bonus_award_every\": null"), std::string::npos);
    EXPECT_NE(json.find("\"mean_pool\": null"), std::string::npos);
}

TEST(WagerTable, EightCoinsPayBestBecauseOfThePool) {
    const auto all = TheAnalysis().AllWagers();
    const BestWager best = FindBestWager(all, TheAnalysis());
    EXPECT_EQ(best.coins, 8);
    EXPECT_NE(best.why.find("3 coins for each FULMINA"), std::string::npos) << best.why;
    const std::string table = TextTable(all, TheAnalysis());
    EXPECT_EQ(Count(table, "<-- best"), 1);
    EXPECT_NE(table.find("    8 "), std::string::npos);
    EXPECT_EQ(Count(JsonTable(all, TheAnalysis()), "\"rtp\": {"), 64);
}

TEST(TextReport, LinesUpTheExactColumn) {
    const std::string text = TextReport(EightCoins());
    int aligned = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const bool endsAt58 = line.size() >= 58 && (line[57] == '%' || std::isdigit(static_cast<unsigned char>(line[57]))) &&
                              (line.size() == 58 || line[58] == ' ');
        aligned += endsAt58;
    }
    EXPECT_EQ(aligned, 12) << "eleven figures and what an award's bonus spins return\n" << text;
    EXPECT_NE(text.find("100.935 %"), std::string::npos) << text;
    EXPECT_NE(text.find("1-7: 77.250 %, 8: 78.062 %"), std::string::npos);
}

TEST(ProgressLine, StaysWithinItsBar) {
    EXPECT_EQ(ProgressLine(0, 100, 0.0, 10).substr(0, 12), "[..........]");
    EXPECT_EQ(ProgressLine(50, 100, 1.0, 10).substr(0, 12), "[#####.....]");
    EXPECT_EQ(ProgressLine(150, 100, 1.0, 10).substr(0, 12), "[##########]");
}

TEST(WinPlot, DrawsOneStemPerPossibleWinAndTheSimulatedDots) {
    const ParSheet& sheet = EightCoins();
    int wins = 0;
    for (std::size_t w = 1; w < sheet.odds.lineWin.size(); ++w) wins += sheet.odds.lineWin[w] != 0;
    const std::string svg = WinPlot(sheet);
    EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    EXPECT_EQ(Count(svg, "r=\"1.8\""), wins);
    EXPECT_NE(svg.find("80.02 %"), std::string::npos) << "the chance of no win";

    std::vector<std::uint64_t> simulated(sheet.odds.lineWin.size(), 0);
    simulated[0] = 80;
    simulated[5] = 15;
    simulated[40] = 5;
    EXPECT_EQ(Count(WinPlot(sheet, &simulated), "r=\"3.5\""), 2 + 1) << "two dots and the legend's";
}
