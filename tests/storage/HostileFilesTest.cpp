// Settings files as desktops and players leave them: each case says what the game keeps.
#include <QFile>
#include <QProcess>
#include <clocale>
#include <gtest/gtest.h>

#include "StorageSupport.h"
#include "support/Locales.h"

namespace kazoomba::testing {
namespace {

class HostileFile : public SettingsFolder {
protected:
    void SetCurrentGame(const QByteArray& keys) { WriteBytes(path, "[Current Game]\n" + keys); }
    void Load() { LoadGame(file, table.game, menus, kCurrentGameSlot); }
};

// Keeps: a saved game of a short hand-made file, name and money.
TEST_F(HostileFile, AShortFileKeepsItsOneSavedGame) {
    const QByteArray own = "[Saved Game #3]\nGameName=Precious\nCredits=12345.67\n";
    WriteBytes(path, own);
    ASSERT_TRUE(EnsureSettingsFile(file));
    EXPECT_TRUE(ReadBytes(path).startsWith("[Saved Game #3]\nGameName=Precious\nCredits=12345.67\n"));
    EXPECT_EQ(ReadGameName(file, 2), "Precious");
    LoadGame(file, table.game, menus, 2);
    EXPECT_EQ(s().Credits, 12345.67f);
    // The keys it lacked are filled in, and the other slots are there.
    EXPECT_EQ(Read("Saved Game #3", "Borrowed"), "1000");
    EXPECT_EQ(ReadGameName(file, 0), "Game #1");
}

// Keeps: every value of a file written under a comma-decimal locale reads back to the cent.
TEST_F(HostileFile, ACommaDecimalLocaleKeepsTheMoney) {
    KAZOOMBA_NEEDS_COMMA_LOCALES();
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : kCommaLocales) {
        ASSERT_NE(std::setlocale(LC_NUMERIC, name), nullptr) << name;
        s().Credits = 1234.5f;
        s().BonusPool = 0.75f;
        s().LastBet = 0.5f;
        ASSERT_TRUE(SaveCurrentGame(file, table.game, menus));
        EXPECT_EQ(Read("Current Game", "Credits"), "1234.50") << name;
        EXPECT_EQ(Read("Current Game", "BonusPool"), "0.75") << name;
        Table other;
        LoadGame(file, other.game, menus, kCurrentGameSlot);
        EXPECT_EQ(other.s().Credits, 1234.5f) << name;
        EXPECT_EQ(other.s().BonusPool, 0.75f) << name;
        EXPECT_EQ(other.s().LastBet, 0.5f) << name;
    }
    std::setlocale(LC_NUMERIC, before.c_str());
}

// Keeps: the number in front of an exponent, hex or word, read by the one rule for every key.
TEST_F(HostileFile, ExponentsHexInfinityAndNanReadByTheOneRule) {
    s().Credits = 500.0f;
    SetCurrentGame("Credits=1e309\nBonusPool=0x10\nTotalWagers=inf\nCherryPts=nan\nSpins=2e3\nBorrowed=1e3\n");
    Load();
    EXPECT_EQ(s().Credits, 1.0f);
    EXPECT_EQ(s().BonusPool, 0.0f);
    EXPECT_EQ(s().TotalWagers, 0.0f);
    EXPECT_EQ(s().CherryPts, 0.0f);
    EXPECT_EQ(s().Spins, 2);
    EXPECT_EQ(s().Borrowed, 1.0f);
}

// Keeps: a line in the Windows "ANSI" code page reads as its accented text and stays byte for byte.
TEST_F(HostileFile, AWindowsAnsiLineReadsRightAndIsKeptByteForByte) {
    const QByteArray ansi = "[Saved Game #1]\r\nGameName=Caf\xE9 cr\xE8me \x80 5\r\nCredits=5\r\n";
    WriteBytes(path, ansi);
    EXPECT_EQ(ReadGameName(file, 0), QString::fromUtf8("Café crème € 5"));
    ASSERT_TRUE(file.WriteString("Saved Game #1", "Credits", "6.00"));
    EXPECT_EQ(ReadBytes(path), QByteArray("[Saved Game #1]\r\nGameName=Caf\xE9 cr\xE8me \x80 5\r\nCredits=6.00\r\n"));
    // Rewritten by the game, the line is UTF-8 like the rest.
    ASSERT_TRUE(file.WriteString("Saved Game #1", "GameName", QString::fromUtf8("Café")));
    EXPECT_TRUE(ReadBytes(path).contains("GameName=Caf\xC3\xA9\r\n"));
}

// Keeps: the folder and what is in it; the save fails and says it is a folder.
TEST_F(HostileFile, ASettingsFileThatIsAFolderIsLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(path + "/inside"));
    EXPECT_FALSE(SaveCurrentGame(file, table.game, menus));
    EXPECT_TRUE(file.LastError().startsWith(path + ": ")) << file.LastError().toStdString();
    EXPECT_TRUE(file.LastError().contains("folder")) << file.LastError().toStdString();
    EXPECT_FALSE(SaveAtExit(file, table.game, menus, QPoint(0, 0), QSize(1024, 768)));
    EXPECT_FALSE(file.LastError().isEmpty());
    EXPECT_TRUE(QFileInfo(path + "/inside").isDir());
}

// Keeps: a file past the size limit, untouched; the save fails and says the file is too large.
TEST_F(HostileFile, AFileOverTheSizeLimitIsLeftAlone) {
    {
        QFile big(path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(ProfileFile::kMaxFileSize + 1));
    }
    EXPECT_FALSE(SaveCurrentGame(file, table.game, menus));
    EXPECT_TRUE(file.LastError().contains("too large")) << file.LastError().toStdString();
    EXPECT_EQ(QFileInfo(path).size(), ProfileFile::kMaxFileSize + 1);
}

// Keeps: the stored position when the platform cannot tell where the window is.
TEST_F(HostileFile, AWaylandExitKeepsTheStoredPosition) {
    WriteBytes(path, "[Settings]\nLeftPos=1500\nTopPos=750\n");
    EXPECT_FALSE(PlatformReportsWindowPosition(u"wayland"));
    EXPECT_FALSE(PlatformReportsWindowPosition(u"wayland-egl"));
    EXPECT_TRUE(PlatformReportsWindowPosition(u"xcb"));
    ASSERT_TRUE(SaveAtExit(file, table.game, menus, std::nullopt, QSize(1024, 768)));
    EXPECT_EQ(Read("Settings", "LeftPos"), "1500");
    EXPECT_EQ(Read("Settings", "TopPos"), "750");
    EXPECT_EQ(Read("Current Game", "Credits"), "1000.00");
}

// Keeps: every key of two programs writing the file at the same time.
TEST_F(HostileFile, TwoWritersAtOnceLoseNoKey) {
    CoreApp();
    QProcess first, second;
    for (auto [process, prefix] : {std::pair{&first, "A"}, std::pair{&second, "B"}}) {
        process->setProgram(QStringLiteral(KAZOOMBA_PROFILE_HELPER));
        process->setArguments({"write-many", path, prefix, "150"});
        process->start();
    }
    ASSERT_TRUE(first.waitForFinished(120000));
    ASSERT_TRUE(second.waitForFinished(120000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    const QByteArray text = ReadBytes(path);
    int lost = 0;
    for (int i = 0; i < 150; ++i)
        for (const char* prefix : {"A", "B"})
            if (!ProfileText::Find(text, u"Keys", QStringLiteral("%1%2").arg(prefix).arg(i))) ++lost;
    EXPECT_EQ(lost, 0);
}

// A text as Windows Notepad saves it as "Unicode": UTF-16 with its byte-order mark.
QByteArray Utf16(const QString& text, bool little) {
    QByteArray bytes = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (QChar c : text) {
        const char low = static_cast<char>(c.unicode() & 0xFF), high = static_cast<char>(c.unicode() >> 8);
        bytes += little ? low : high;
        bytes += little ? high : low;
    }
    return bytes;
}

class Utf16File : public HostileFile, public ::testing::WithParamInterface<bool> {};

// Keeps: a UTF-16 file's games and its encoding; the game's writes go in as UTF-16 lines.
TEST_P(Utf16File, IsReadAndWrittenInItsOwnEncoding) {
    const bool little = GetParam();
    const QString mine = QStringLiteral("[Saved Game #1]\r\nGameName=Caf\u00e9 \u20ac\r\nCredits=77.25\r\n\r\n");
    WriteBytes(path, Utf16(mine + "[Current Game]\r\nCredits=1234.50\r\nSpins=12\r\n", little));
    EXPECT_EQ(file.CheckAtStart(), QString());
    Load();
    EXPECT_EQ(s().Credits, 1234.5f);
    EXPECT_EQ(s().Spins, 12);
    EXPECT_EQ(ReadGameName(file, 0), QStringLiteral("Caf\u00e9 \u20ac"));
    s().Credits = 99.0f;
    ASSERT_TRUE(SaveCurrentGame(file, table.game, menus)) << file.LastError().toStdString();
    const QByteArray after = ReadBytes(path);
    const std::optional<ProfileText::Decoded> decoded = ProfileText::FromFileBytes(after);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->encoding, little ? ProfileText::Encoding::Utf16LE : ProfileText::Encoding::Utf16BE);
    EXPECT_TRUE(after.startsWith(Utf16(mine, little))) << "the player's lines are kept byte for byte";
    EXPECT_EQ(ProfileText::ToFileBytes(decoded->text, decoded->encoding), after);
    EXPECT_EQ(Read("Current Game", "Credits"), "99.00");
    EXPECT_EQ(Read("Current Game", "GameName").trimmed(), "Current Game Settings");
}

INSTANTIATE_TEST_SUITE_P(LittleAndBigEndian, Utf16File, ::testing::Bool());

// Keeps: a file that starts as UTF-16 but breaks off mid-character, untouched; the start says why.
TEST_F(HostileFile, ADamagedUtf16FileIsToldAtStartAndNeverWritten) {
    for (const QByteArray& damaged : {Utf16("[Current Game]\r\nCredits=5\r\n", true) + 'x',
                                      Utf16(QStringLiteral("[Current Game]\r\nCredits=5") + QChar(0xD800), true)}) {
        WriteBytes(path, damaged);
        ProfileFile atStart(path);
        const QString why = atStart.CheckAtStart();
        EXPECT_TRUE(why.startsWith(path + ": ")) << why.toStdString();
        EXPECT_TRUE(why.contains("UTF-16")) << why.toStdString();
        EXPECT_EQ(atStart.ReadString(u"Current Game", u"Credits", "d", 10), "d");
        EXPECT_FALSE(SaveCurrentGame(atStart, table.game, menus));
        EXPECT_EQ(ReadBytes(path), damaged);
    }
}

// Keeps: a file the game could not use at start, for the whole run, even once it could be read.
TEST_F(HostileFile, AFileUnusableAtStartIsNeverWrittenInThatRun) {
    {
        QFile big(path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write("[Current Game]\nCredits=5000.00\n");
        ASSERT_TRUE(big.resize(ProfileFile::kMaxFileSize + 1));
    }
    const QString why = file.CheckAtStart();
    EXPECT_TRUE(why.startsWith(path + ": ")) << why.toStdString();
    EXPECT_TRUE(why.contains("too large")) << why.toStdString();
    // The player trims the file while the game runs: the fresh game still does not replace its games.
    WriteBytes(path, "[Current Game]\nCredits=5000.00\n");
    EXPECT_FALSE(SaveAtExit(file, table.game, menus, QPoint(0, 0), QSize(1024, 768)));
    EXPECT_TRUE(file.LastError().contains("when the game started")) << file.LastError().toStdString();
    EXPECT_EQ(ReadBytes(path), QByteArray("[Current Game]\nCredits=5000.00\n"));
}

// Keeps: nothing to keep; a missing file or a good one is used without a word.
TEST_F(HostileFile, AMissingOrGoodFileIsUsedWithoutAWord) {
    EXPECT_EQ(file.CheckAtStart(), QString());
    ASSERT_TRUE(SaveCurrentGame(file, table.game, menus));
    ProfileFile again(path);
    EXPECT_EQ(again.CheckAtStart(), QString());
    EXPECT_TRUE(SaveCurrentGame(again, table.game, menus));
}

}  // namespace
}  // namespace kazoomba::testing
