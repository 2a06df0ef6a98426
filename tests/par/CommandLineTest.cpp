// kazoomba-par's options, and the mistakes it names instead of guessing.
#include <gtest/gtest.h>

#include "CommandLine.h"

using namespace kazoomba::par;

TEST(CommandLine, CountsTakeSuffixesAndExponents) {
    EXPECT_EQ(ParseCount("30000000"), 30'000'000u);
    EXPECT_EQ(ParseCount("30M"), 30'000'000u);
    EXPECT_EQ(ParseCount("3e7"), 30'000'000u);
    EXPECT_EQ(ParseCount("2.5k"), 2'500u);
    EXPECT_EQ(ParseCount("1G"), 1'000'000'000u);
    EXPECT_FALSE(ParseCount("1.5"));
    EXPECT_FALSE(ParseCount("-3"));
    EXPECT_FALSE(ParseCount("30X"));
    EXPECT_FALSE(ParseCount(""));
}

TEST(CommandLine, ReadsEveryOption) {
    const Parsed p = ParseCommandLine({"--coins", "13", "--simulate", "1M", "--seed", "42", "--threads", "2",
                                       "--json", "--plot", "win.svg", "--reference"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.coins, 13);
    EXPECT_EQ(p.options.simulate, 1'000'000u);
    EXPECT_EQ(p.options.seed, 42u);
    EXPECT_EQ(p.options.threads, 2);
    EXPECT_TRUE(p.options.json);
    EXPECT_EQ(p.options.plot, "win.svg");
    EXPECT_TRUE(p.options.reference);
    EXPECT_TRUE(ParseCommandLine({"--coins", "all"}).options.allCoins);
    EXPECT_EQ(ParseCommandLine({}).options.coins, 8);
}

TEST(CommandLine, NamesMistakes) {
    EXPECT_NE(ParseCommandLine({"--coins", "0"}).error, "");
    EXPECT_NE(ParseCommandLine({"--coins", "65"}).error, "");
    EXPECT_NE(ParseCommandLine({"--coins"}).error, "");
    EXPECT_NE(ParseCommandLine({"--simulate", "lots"}).error, "");
    EXPECT_NE(ParseCommandLine({"--seed", "-1"}).error, "");
    EXPECT_NE(ParseCommandLine({"--frobnicate"}).error, "");
    EXPECT_NE(ParseCommandLine({"--coins", "all", "--simulate", "1M"}).error, "");
    EXPECT_NE(ParseCommandLine({"--coins", "all", "--plot", "x.svg"}).error, "");
}

TEST(CommandLine, ReadsTheSessionOptions) {
    const Parsed defaults = ParseCommandLine({});
    EXPECT_EQ(defaults.options.sessions, 1'000'000u);
    EXPECT_EQ(defaults.options.bankroll, 1000.0);
    EXPECT_EQ(defaults.options.coinValue, 0.25);
    EXPECT_EQ(defaults.options.sessionSpins, 200);

    const Parsed p = ParseCommandLine({"--sessions", "50k", "--bankroll", "250.5", "--coin", "0.10", "--spins", "1000",
                                       "--plot-sessions", "credits.svg"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.sessions, 50'000u);
    EXPECT_EQ(p.options.bankroll, 250.5);
    EXPECT_EQ(p.options.coinValue, 0.10);
    EXPECT_EQ(p.options.sessionSpins, 1000);
    EXPECT_EQ(p.options.plotSessions, "credits.svg");
    EXPECT_EQ(ParseCommandLine({"--coin", "1"}).options.coinValue, 1.0);
    EXPECT_EQ(ParseCommandLine({"--coin", ".5"}).options.coinValue, 0.5);
    EXPECT_EQ(ParseCommandLine({"--sessions", "0"}).options.sessions, 0u);

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--coin", "0.20"}, {"--coin", "25"}, {"--coin", "0.25c"}, {"--bankroll", "0"},
          {"--bankroll", "-5"}, {"--bankroll", "lots"}, {"--spins", "0"}, {"--sessions", "many"},
          {"--plot-sessions"}, {"--sessions", "0", "--plot-sessions", "x.svg"}, {"--coins", "all", "--plot-sessions", "x.svg"}})
        EXPECT_NE(ParseCommandLine(wrong).error, "") << wrong[0] << " " << (wrong.size() > 1 ? wrong[1] : "");
}
