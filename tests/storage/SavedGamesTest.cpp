// Saving and loading games, the ten slots, the game at exit, the window position and the banner text.
#include <cmath>
#include <gtest/gtest.h>

#include "StorageSupport.h"

namespace kazoomba::testing {
namespace {

const char* const kGameKeys[] = {"GameName", "Credits", "BonusPool", "TotalWagers", "DoubleNothing", "CherryPts",
                                  "PoolPts", "BarPts", "Borrowed", "Spins", "LastBet", "Smiles", "Bells",
                                  "Coins", "Speed", "BannerOn"};

// The key names of a section in file order.
QStringList KeysOf(const QByteArray& text, const QString& section) {
    QStringList keys;
    bool in = false;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith('[')) { in = line.trimmed() == "[" + section.toUtf8() + "]"; continue; }
        if (in && line.contains('=')) keys << QString::fromUtf8(line.left(line.indexOf('=')));
    }
    return keys;
}

QStringList AllGameKeys() {
    QStringList keys;
    for (const char* k : kGameKeys) keys << k;
    return keys;
}

class SavedGames : public SettingsFolder {
protected:
    void Save(int slot, const QString& name = "A game") { ASSERT_TRUE(SaveGame(file, table.game, menus, slot, name)); }
    void Load(int slot) { LoadGame(file, table.game, menus, slot); }
    void SetCurrentGame(const QByteArray& keys) { WriteBytes(path, "[Current Game]\n" + keys); }
};

TEST_F(SavedGames, AFirstEnsureWritesTenFreshSlotsInKeyOrder) {
    EnsureSettingsFile(file);
    const QByteArray text = ReadBytes(path);
    for (int n = 1; n <= 10; ++n) {
        const QString section = QStringLiteral("Saved Game #%1").arg(n);
        EXPECT_EQ(KeysOf(text, section), AllGameKeys()) << section.toStdString();
        EXPECT_EQ(Read(section, "GameName"), QStringLiteral("Game #%1").arg(n));
    }
    EXPECT_EQ(Read("Saved Game #10", "Credits"), "1000");
    EXPECT_EQ(Read("Saved Game #10", "Borrowed"), "1000");
    EXPECT_EQ(Read("Saved Game #1", "Smiles"), "6");
    EXPECT_EQ(Read("Saved Game #1", "Bells"), "3");
    EXPECT_EQ(Read("Saved Game #1", "Coins"), "2");
    EXPECT_EQ(Read("Saved Game #1", "Speed"), "1");
    EXPECT_EQ(Read("Saved Game #1", "BannerOn"), "0");
    EXPECT_FALSE(text.contains("Current Game"));
}

TEST_F(SavedGames, ASmallFileGetsTheSlotsAndKeepsItsOwnSectionsByteForByte) {
    QByteArray small = "[Settings]\r\nLeftPos=1500\r\nTopPos=900\r\n\r\n[Current Game]\r\n";
    while (small.size() < 700) small += "Pad=xxxxxxxxxx\r\n";
    small.resize(700);
    small += "\r\n";
    WriteBytes(path, small);
    EnsureSettingsFile(file);
    const QByteArray text = ReadBytes(path);
    EXPECT_TRUE(text.startsWith(small));
    EXPECT_EQ(KeysOf(text, "Saved Game #7"), AllGameKeys());
    EXPECT_FALSE(text.mid(small.size()).contains("\n[Saved Game #7]\n"));  // the file's own CR LF endings
}

TEST_F(SavedGames, ALargeFileWhoseSlotsWereDeletedGetsNothingWritten) {
    QByteArray large = "[Settings]\nLeftPos=1500\n";
    while (large.size() < 2000) large += "; a comment line the player left\n";
    WriteBytes(path, large);
    EnsureSettingsFile(file);
    EXPECT_EQ(ReadBytes(path), large);
    EXPECT_EQ(ReadGameName(file, 2), "Game #3");
}

// The edge of "short": a file of 749 bytes gets the slots, one of 750 is left as it is.
TEST_F(SavedGames, TheSlotsAreWrittenUpTo749BytesAndNotFrom750) {
    for (const int size : {749, 750}) {
        QByteArray text = "[Settings]\nLeftPos=1500\n;";
        text += QByteArray(size - text.size() - 1, 'x') + "\n";
        ASSERT_EQ(text.size(), size);
        WriteBytes(path, text);
        ASSERT_TRUE(EnsureSettingsFile(file));
        if (size < 750)
            EXPECT_EQ(KeysOf(ReadBytes(path), "Saved Game #1"), AllGameKeys()) << size;
        else
            EXPECT_EQ(ReadBytes(path), text) << size;
    }
}

TEST_F(SavedGames, SaveWritesEveryKeyInOrderWithItsPicture) {
    s().Credits = 1234.5f;
    s().BonusPool = 12.25f;
    s().TotalWagers = 300.0f;
    s().DoubleNothing = -42.5f;
    s().CherryPts = 1.0f;
    s().PoolPts = 2.5f;
    s().BarPts = 0.0f;
    s().Borrowed = 1500.4f;
    s().Spins = 77;
    s().LastBet = 2.0f;
    s().Smiles = 4;
    s().Bells = 2;
    table.game.SelectCoinValue(3);
    s().LastBet = 2.0f;
    menus.speed = 3;
    menus.banner = 1;
    Save(4, "My Game");
    const QString sec = "Saved Game #5";
    EXPECT_EQ(KeysOf(ReadBytes(path), sec), AllGameKeys());
    EXPECT_EQ(ReadBytes(path).split('\n')[1], QByteArray("GameName=My Game") + QByteArray(33, ' '));
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"Credits", "1234.50"}, {"BonusPool", "12.25"}, {"TotalWagers", "300.00"}, {"DoubleNothing", "-42.50"},
        {"CherryPts", "1.00"}, {"PoolPts", "2.50"}, {"BarPts", "0.00"}, {"Borrowed", "1500"}, {"Spins", "77"},
        {"LastBet", "2.00"}, {"Smiles", "4"}, {"Bells", "2"}, {"Coins", "3"}, {"Speed", "3"}, {"BannerOn", "1"}};
    for (const auto& [key, value] : expected) EXPECT_EQ(Read(sec, key), value) << key;
}

TEST_F(SavedGames, ASavedGameComesBackWholeWithItsMenuChoices) {
    s().Credits = 1234.5f;
    s().Spins = 4321;
    s().Smiles = 2;
    s().Bells = 1;
    s().BonusPool = 7.5f;
    s().DoubleNothing = -3.25f;
    table.game.SelectCoinValue(4);
    s().LastBet = 3.2f;
    menus.speed = 0;
    menus.banner = 1;
    Save(0);

    Table other;
    RecordingMenus otherMenus;
    const int rebuilds = other.cabinet.rebuilds;
    EXPECT_EQ(LoadGame(file, other.game, otherMenus, 0), "A game");
    const GameState& g = other.game.State();
    EXPECT_EQ(g.Credits, 1234.5f);
    EXPECT_EQ(g.Spins, 4321);
    EXPECT_EQ(g.Smiles, 2);
    EXPECT_EQ(g.Bells, 1);
    EXPECT_EQ(g.BonusPool, 7.5f);
    EXPECT_EQ(g.DoubleNothing, -3.25f);
    EXPECT_EQ(g.CoinIndex, 4);
    EXPECT_FLOAT_EQ(g.MaxBet, 3.2f);
    EXPECT_FLOAT_EQ(g.LastBet, 3.2f);
    EXPECT_EQ(g.Wager, 0.0f);
    EXPECT_EQ(other.cabinet.checkedCoin, 4);
    EXPECT_EQ(otherMenus.calls, (std::vector<std::string>{"speed 0", "banner 1"}));
    EXPECT_EQ(other.cabinet.rebuilds, rebuilds + 1);
}

TEST_F(SavedGames, CoinsPlacedBeforeASaveComeBackAsCreditsWhileTheGameKeepsItsBet) {
    s().TotalWagers = 10.0f;
    table.game.PlaceCoins(8);
    ASSERT_EQ(s().Credits, 998.0f);
    Save(1);
    EXPECT_EQ(Read("Saved Game #2", "Credits"), "1000.00");
    EXPECT_EQ(Read("Saved Game #2", "TotalWagers"), "10.00");
    EXPECT_EQ(s().Credits, 998.0f);  // still on the lines in the game in play
    EXPECT_EQ(s().Wager, 2.0f);
    EXPECT_EQ(s().TotalWagers, 12.0f);
    ASSERT_TRUE(SaveAtExit(file, table.game, menus, QPoint(0, 0), QSize(1024, 768)));
    EXPECT_EQ(Read("Current Game", "Credits"), "1000.00");
    EXPECT_EQ(Read("Current Game", "TotalWagers"), "10.00");
    table.game.PlaceCoins(1);
    Load(1);
    EXPECT_EQ(s().Credits, 1000.0f);
    EXPECT_EQ(s().TotalWagers, 10.0f);
    EXPECT_EQ(s().Wager, 0.0f);
    EXPECT_EQ(s().LineCoins[0], 0);
}

TEST_F(SavedGames, AMissingSectionKeepsTheGameButResetsTheMenusAndSmiles) {
    table.game.SelectCoinValue(0);
    s().Credits = 55.5f;
    s().Smiles = 3;
    s().Bells = 2;
    s().Spins = 9;
    menus.speed = 3;
    menus.banner = 1;
    Load(kCurrentGameSlot);
    EXPECT_EQ(s().Credits, 55.5f);
    EXPECT_EQ(s().Spins, 9);
    EXPECT_EQ(s().Bells, 2);
    EXPECT_EQ(s().Smiles, 6);
    EXPECT_EQ(s().CoinIndex, 2);
    EXPECT_EQ(menus.speed, 1);
    EXPECT_EQ(menus.banner, 0);
}

TEST_F(SavedGames, BigGamesSurviveASaveAndALoad) {
    s().Spins = 1234567;
    s().Credits = 12345678.0f;
    s().TotalWagers = 98765432100.0f;
    s().Borrowed = 31000000000.0f;
    s().DoubleNothing = -1234567890.0f;
    Save(kCurrentGameSlot);
    Table other;
    LoadGame(file, other.game, menus, kCurrentGameSlot);
    EXPECT_EQ(other.game.State().Spins, 1234567);
    EXPECT_EQ(other.game.State().Credits, 12345678.0f);
    EXPECT_EQ(other.game.State().TotalWagers, 98765432100.0f);
    EXPECT_EQ(other.game.State().Borrowed, 31000000000.0f);
    EXPECT_EQ(other.game.State().DoubleNothing, -1234567890.0f);
}

TEST_F(SavedGames, FilesWrittenWithinTheOldLimitsReadAsBefore) {
    SetCurrentGame("Credits=9999999.99\nSpins=999999\nLastBet=64.00\nBorrowed=9999999999\nCoins=0\n"
                   "Smiles=6 trailing words\nBells= 3\n");
    Load(kCurrentGameSlot);
    EXPECT_EQ(s().Credits, 9999999.99f);
    EXPECT_EQ(s().Spins, 999999);
    EXPECT_EQ(s().LastBet, 64.0f);
    EXPECT_EQ(s().Borrowed, 9999999999.0f);
    EXPECT_EQ(s().Smiles, 6);
    EXPECT_EQ(s().Bells, 3);
}

TEST_F(SavedGames, WholeNumbersRoundHalvesToEven) {
    SetCurrentGame("Spins=2.5\nCredits=999.5\n");
    Load(kCurrentGameSlot);
    EXPECT_EQ(s().Spins, 2);
    EXPECT_EQ(s().Credits, 999.5f);
}

// A whole-number field takes the nearest whole number; only an exact half goes to the even one. Spins is
// the one such field read wider than a single figure.
TEST_F(SavedGames, WholeNumbersRoundToTheNearestAwayFromHalves) {
    const std::pair<const char*, int> cases[] = {
        {"41.49", 41}, {"41.51", 42}, {"40.5", 40}, {"41.5", 42}, {"0.49", 0}, {"-0.49", 0}, {"7.499999", 7},
    };
    for (const auto& [text, spins] : cases) {
        s().Spins = 1234;
        SetCurrentGame(QByteArray("Spins=") + text + "\n");
        Load(kCurrentGameSlot);
        EXPECT_EQ(s().Spins, spins) << text;
    }
    // Below zero by more than a half is a count the game cannot have: the field keeps the game's own.
    s().Spins = 7;
    SetCurrentGame("Spins=-0.51\n");
    Load(kCurrentGameSlot);
    EXPECT_EQ(s().Spins, 7);
}

struct BadValue {
    const char* line;
    const char* what;
};

// Each bad value leaves Credits at 500, Spins at 40, Bells at 2 and the rest as the table started.
class BadValues : public SavedGames, public ::testing::WithParamInterface<BadValue> {};

TEST_P(BadValues, FallBackWithoutInfinityNaNOrACrash) {
    s().Credits = 500.0f;
    s().Spins = 40;
    s().Bells = 2;
    s().BonusPool = 5.0f;
    SetCurrentGame(QByteArray(GetParam().line) + "\n");
    Load(kCurrentGameSlot);
    for (float v : {s().Credits, s().BonusPool, s().TotalWagers, s().DoubleNothing, s().CherryPts, s().PoolPts,
                    s().BarPts, s().Borrowed, s().LastBet})
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(s().Credits, 500.0f);
    EXPECT_EQ(s().BonusPool, 5.0f);
    EXPECT_EQ(s().Spins, 40);
    EXPECT_EQ(s().Bells, 2);
    EXPECT_EQ(s().Smiles, 6);
    EXPECT_EQ(s().CoinIndex, 2);
    EXPECT_EQ(s().LastBet, 0.0f);
    EXPECT_EQ(menus.speed, 1);
    EXPECT_EQ(menus.banner, 0);
}

const std::string kBeyondADouble = "Credits=1" + std::string(400, '0');

INSTANTIATE_TEST_SUITE_P(
    SavedGames, BadValues,
    ::testing::Values(BadValue{"Credits=-50", "negative credits"}, BadValue{"Credits=1000000000000000000000000000000000000000", "beyond a float"},
                      BadValue{"Credits=340282350000000000000000000000000000001", "just beyond a float"},
                      BadValue{kBeyondADouble.c_str(), "beyond a double"}, BadValue{"BonusPool=-0.5", "negative pool"},
                      BadValue{"Spins=-3", "negative spins"}, BadValue{"Spins=99999999999", "beyond 32 bits"},
                      BadValue{"Coins=7", "coin index"}, BadValue{"Coins=5", "coin index just beyond"},
                      BadValue{"Speed=9", "speed index"}, BadValue{"BannerOn=5", "banner index"},
                      BadValue{"Smiles=9", "smiles"}, BadValue{"Smiles=0", "no smiles left"},
                      BadValue{"Bells=8", "bells"}, BadValue{"Bells=-", "bells sign only"},
                      BadValue{"LastBet=64.00", "last bet above the 25 cent maximum"},
                      BadValue{"LastBet=-1", "negative last bet"}),
    [](const ::testing::TestParamInfo<BadValue>& info) { return "Case" + std::to_string(info.index); });

TEST_F(SavedGames, TextsThatAreNoNumbersReadAsZero) {
    s().Credits = 500.0f;
    SetCurrentGame("Credits=nan\nBonusPool=inf\nTotalWagers=-inf\nCherryPts=abc\nSpins=NaN\n");
    Load(kCurrentGameSlot);
    EXPECT_EQ(s().Credits, 0.0f);
    EXPECT_EQ(s().BonusPool, 0.0f);
    EXPECT_EQ(s().TotalWagers, 0.0f);
    EXPECT_EQ(s().CherryPts, 0.0f);
    EXPECT_EQ(s().Spins, 0);
}

TEST_F(SavedGames, AGameNameIsOneLineOfFortyCharacters) {
    Save(2, "First\r\nSecond\nThird and some more words to pass forty");
    EXPECT_EQ(Read("Saved Game #3", "GameName", 100), "First Second Third and some more words t");
    EXPECT_EQ(KeysOf(ReadBytes(path), "Saved Game #3"), AllGameKeys());
    Save(3, QString(45, u'n'));
    EXPECT_EQ(Read("Saved Game #4", "GameName", 100), QString(40, u'n'));
}

TEST_F(SavedGames, SlotsOutsideTheTenAndTheCurrentGameAreRefused) {
    EXPECT_FALSE(SaveGame(file, table.game, menus, 10, "x"));
    EXPECT_FALSE(SaveGame(file, table.game, menus, -1, "x"));
    EXPECT_FALSE(file.Exists());
}

TEST_F(SavedGames, TheFirstExitWritesPositionSlotsAndCurrentGame) {
    SaveAtExit(file, table.game, menus, QPoint(100, 50), QSize(1024, 768));
    const QByteArray text = ReadBytes(path);
    EXPECT_EQ(Read("Settings", "LeftPos"), "1500");
    EXPECT_EQ(Read("Settings", "TopPos"), "750");
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(KeysOf(text, QStringLiteral("Saved Game #%1").arg(n)), AllGameKeys());
    EXPECT_EQ(KeysOf(text, "Current Game"), AllGameKeys());
    EXPECT_TRUE(text.contains("\nGameName=Current Game Settings" + QByteArray(19, ' ') + "\n"));
    EXPECT_EQ(Read("Current Game", "Credits"), "1000.00");
    EXPECT_EQ(Read("Current Game", "Coins"), "2");
}

TEST_F(SavedGames, AWindowOffTheScreenAtExitKeepsTheOldPosition) {
    WriteBytes(path, "[Settings]\nLeftPos=300\nTopPos=450\n");
    EXPECT_FALSE(ExitWritesPosition(QPoint(1024, 10), QSize(1024, 768)));
    EXPECT_FALSE(ExitWritesPosition(QPoint(10, 768), QSize(1024, 768)));
    EXPECT_TRUE(ExitWritesPosition(QPoint(-200, -5), QSize(1024, 768)));
    SaveAtExit(file, table.game, menus, QPoint(2000, 10), QSize(1024, 768));
    EXPECT_EQ(Read("Settings", "LeftPos"), "300");
    EXPECT_EQ(Read("Settings", "TopPos"), "450");
}

TEST(WindowPlacement, TheStoredEdgeIsUsedInsideTheScreenAndCentredOtherwise) {
    const QSize screen(1024, 768), window(617, 500);
    EXPECT_EQ(StartWindowPosition("1500", "750", screen, window), QPoint(100, 50));
    // A left edge beyond the screen (a monitor no longer attached) centres horizontally only.
    EXPECT_EQ(StartWindowPosition("20000", "750", screen, window), QPoint(203, 50));
    EXPECT_EQ(StartWindowPosition("15360", "11520", screen, window), QPoint(203, 134));
    EXPECT_EQ(StartWindowPosition("15345", "-300", screen, window), QPoint(1023, -20));
    // Wholly off the near side would leave the window out of reach.
    EXPECT_EQ(StartWindowPosition("-9255", "-7500", screen, window), QPoint(203, 134));
    EXPECT_EQ(StartWindowPosition("not a number", "", screen, window), QPoint(0, 0));
}

TEST_F(SavedGames, AFirstStartCentresTheWindow) {
    EXPECT_EQ(ReadWindowPosition(file, QSize(1024, 768), QSize(617, 500)), QPoint(203, 134));
    WriteBytes(path, "[Settings]\nLeftPos=123456789012\nTopPos=1500\n");
    // Only nine characters are read: 123456789 twips is beyond the screen.
    EXPECT_EQ(RestoreAtStart(file, table.game, menus, QSize(1024, 768), QSize(617, 500)), QPoint(203, 100));
}

TEST_F(SavedGames, BannerTextDefaultsToTheWelcomeAndIsStoredOnOneLine) {
    EXPECT_EQ(ReadBannerText(file), "               Welcome to Kazoomba Video Slots!");
    ASSERT_TRUE(WriteBannerText(file, "Hello\nthere\r\nplayer                    "));
    EXPECT_EQ(ReadBannerText(file), "Hello there player");
    ASSERT_TRUE(WriteBannerText(file, QString(300, u'b')));
    EXPECT_EQ(ReadBannerText(file), QString(254, u'b'));
}

}  // namespace
}  // namespace kazoomba::testing
