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
