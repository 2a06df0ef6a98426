// Values of a saved game that cannot be read as they are written: each still falls back as before, and
// each is named with its text, why, and what the game used instead.
#include <gtest/gtest.h>

#include "StorageSupport.h"

namespace kazoomba::testing {
namespace {

class UnreadableValues : public SettingsFolder {
protected:
    void SetCurrentGame(const QByteArray& keys) { WriteBytes(path, "[Current Game]\n" + keys); }
    QStringList Load(int slot = kCurrentGameSlot) {
        QStringList told;
        LoadGame(file, table.game, menus, slot, &told);
        return told;
    }
};

TEST_F(UnreadableValues, ADamagedCreditsLineIsNamedWithTheZeroTheGameUsed) {
    s().Credits = 998.0f;
    SetCurrentGame("Credits=99#8.00\nSpins=12\n");
    const QStringList told = Load();
    EXPECT_EQ(s().Credits, 99.0f);
    SetCurrentGame("Credits=abc\nSpins=12\n");
    EXPECT_EQ(Load(), QStringList{QStringLiteral("Credits \"abc\" is not a number; 0.00 used instead")});
    EXPECT_EQ(s().Credits, 0.0f);
    EXPECT_EQ(told, QStringList{QStringLiteral("Credits \"99#8.00\" has more than a number in it; 99.00 used instead")});
}

TEST_F(UnreadableValues, NegativeCreditsAreNamedWithTheFigureKept) {
    s().Credits = 1000.0f;
    SetCurrentGame("Credits=-5.00\n");
    EXPECT_EQ(Load(), QStringList{QStringLiteral("Credits \"-5.00\" is below zero; 1000.00 used instead")});
    EXPECT_EQ(s().Credits, 1000.0f);
}

TEST_F(UnreadableValues, EachKindOfDamageGivesItsOwnReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"BonusPool=1e39", "BonusPool \"1e39\" has more than a number in it; 1.00 used instead"},
        {"TotalWagers=", "TotalWagers \"\" is empty; 0.00 used instead"},
        {"CherryPts=1000000000000000000000000000000000000000",
         "CherryPts \"100000000000000000000000...\" is too large; 0.00 used instead"},
        {"Spins=-3", "Spins \"-3\" is below zero; 40 used instead"},
        {"Spins=99999999999", "Spins \"99999999999\" is too large; 40 used instead"},
        {"Coins=7", "Coins \"7\" is not between 0 and 4; 2 used instead"},
        {"Speed=9", "Speed \"9\" is not between 0 and 3; 1 used instead"},
        {"Smiles=6 trailing words", "Smiles \"6 trailing words\" has more than a number in it; 6 used instead"},
        {"Bells=0", "Bells \"0\" is not between 1 and 3; 2 used instead"},
        {"LastBet=64.00", "LastBet \"64.00\" is more than the largest bet at the coin value; 0.00 used instead"},
        {"LastBet=10.001", "LastBet \"10.001\" is longer than the 5 characters the game reads; 10.00 used instead"},
    };
    for (const auto& [line, expected] : cases) {
        s().Spins = 40;
        s().Bells = 2;
        SetCurrentGame(QByteArray(line) + "\n");
        EXPECT_EQ(Load(), QStringList{QString::fromUtf8(expected)}) << line;
    }
}

TEST_F(UnreadableValues, EveryDamagedValueOfOneGameIsNamed) {
    SetCurrentGame("Credits=x\nBonusPool=-1\nSpins=y\nCoins=9\n");
    EXPECT_EQ(Load().size(), 4);
}

// What the game writes itself, fresh slots with their blanks included, is never called damaged.
TEST_F(UnreadableValues, TheGamesOwnSavesAndFreshSlotsAreReadWithoutAWord) {
    s().Credits = 12345678.0f;
    s().TotalWagers = 98765432100.0f;
    s().DoubleNothing = -1234.5f;
    s().BarPts = -3.0f;
    s().Spins = 1234567;
    table.game.SelectCoinValue(0);
    s().LastBet = 64.0f;
    ASSERT_TRUE(SaveCurrentGame(file, table.game, menus));
    ASSERT_TRUE(SaveGame(file, table.game, menus, 3, QStringLiteral("Mine")));
    ASSERT_TRUE(EnsureSettingsFile(file));
    EXPECT_EQ(Load(), QStringList());
    EXPECT_EQ(Load(3), QStringList());
    EXPECT_EQ(Load(7), QStringList());
    ASSERT_TRUE(file.WriteString("Saved Game #9", "Credits", "1000   "));
    EXPECT_EQ(Load(8), QStringList());
    // A file from before the game kept old limits, and a missing key, are no damage either.
    SetCurrentGame("Credits=9999999.99\nSpins=999999\n");
    EXPECT_EQ(Load(), QStringList());
}

TEST_F(UnreadableValues, AMomentKeptInAnotherSectionIsNamedAndNotPlayed) {
    const QByteArray moment = "Moment=Payoffs\nStops=6,6,6,1,1,1,1,1,1\nBonusReels=0\nBonusSpins=0\nSpinWin=6.25\n"
                              "LinePays=25,0,0,0,0,0,0,0\nPoolWon=0.00\nPoolBells=3\n";
    WriteBytes(path, "[Current Game]\nCredits=999.75\nLastBet=0.25\nSpins=1\n\n[Saved Game #1]\n" + moment);
    QStringList told = Load();
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0], QStringLiteral("Moment \"Payoffs\" is in section [Saved Game #1], where the game never looks "
                                      "for the spin in play; that spin was not brought back"));
    EXPECT_EQ(table.game.Moment().phase, MomentPhase::Idle);

    // A second section of the game's own name is never read either.
    WriteBytes(path, "[Current Game]\nCredits=999.75\n\n[Current Game]\n" + moment);
    told = Load();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("a second section [Current Game]"))) << told[0].toStdString();

    // Above the first section.
    WriteBytes(path, moment + "[Current Game]\nCredits=999.75\n");
    told = Load();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("is above the first section"))) << told[0].toStdString();

    // In its own place it is the game's, and nothing is said; a slot's load never looks for one.
    WriteBytes(path, "[Current Game]\nCredits=999.75\nLastBet=0.25\nSpins=1\n" + moment);
    EXPECT_EQ(Load(), QStringList());
    EXPECT_EQ(table.game.Moment().phase, MomentPhase::Payoffs);
    WriteBytes(path, "[Saved Game #1]\nCredits=999.75\n" + moment);
    EXPECT_EQ(Load(0), QStringList());
}

}  // namespace
}  // namespace kazoomba::testing
