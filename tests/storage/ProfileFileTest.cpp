// The settings file on disk: read limits, creation, bad files, leftovers of cut-short writes, its place.
#include <QDateTime>
#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "StorageSupport.h"

namespace kazoomba::testing {
namespace {

TEST(ProfileText, ValuesLoseSurroundingBlanksAndAreCutToTheReadLimit) {
    QTemporaryDir dir;
    ProfileFile file(dir.filePath("KAZO.INI"));
    WriteBytes(file.Path(), "[Current Game]\n  GameName =   My game        \t\nCredits=12345678.91\n");
    EXPECT_EQ(file.ReadString(u"current game", u"gamename", "x", 40), QStringLiteral("My game"));
    EXPECT_EQ(file.ReadString(u"Current Game", u"Credits", "x", 10), QStringLiteral("12345678.9"));
    EXPECT_EQ(file.ReadString(u"Current Game", u"Missing", "a default", 3), QStringLiteral("a d"));
    EXPECT_EQ(file.ReadString(u"No Such", u"Credits", "", 10), QString());
}

class ProfileOnDisk : public SettingsFolder {};

TEST_F(ProfileOnDisk, AMissingFileAndFolderAreCreatedOnWrite) {
    ProfileFile deep(dir.filePath("a/b/KAZO.INI"));
    EXPECT_EQ(deep.ReadString(u"Settings", u"LeftPos", "d", 9), QStringLiteral("d"));
    EXPECT_FALSE(deep.Exists());
    ASSERT_TRUE(deep.WriteString("Settings", "LeftPos", "150"));
    EXPECT_EQ(ReadBytes(deep.Path()), QByteArray("[Settings]\nLeftPos=150\n"));
}

TEST_F(ProfileOnDisk, SeveralKeysGoInOneReplacement) {
    ASSERT_TRUE(file.WriteStrings({{"A", "x", "1"}, {"B", "y", "2"}, {"A", "z", "3"}, {"a", "X", "4"}}));
    EXPECT_EQ(ReadBytes(path), QByteArray("[A]\nx=4\nz=3\n\n[B]\ny=2\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"KAZO.INI"});
}

TEST_F(ProfileOnDisk, ADirectoryInPlaceOfTheFileGivesDefaultsAndIsLeftAlone) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("KAZO.INI"));
    WriteBytes(dir.filePath("KAZO.INI/inside"), "keep");
    EXPECT_EQ(file.ReadString(u"Settings", u"LeftPos", "d", 9), QStringLiteral("d"));
    EXPECT_FALSE(file.WriteString("Settings", "LeftPos", "1"));
    EXPECT_EQ(file.Size(), 0);
    EXPECT_EQ(ReadBytes(dir.filePath("KAZO.INI/inside")), QByteArray("keep"));
}

TEST_F(ProfileOnDisk, AFileTooLargeToBeOursIsNeitherReadNorReplaced) {
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\nLeftPos=5\n");
        ASSERT_TRUE(f.resize(ProfileFile::kMaxFileSize + 1));
    }
    EXPECT_EQ(file.ReadString(u"Settings", u"LeftPos", "d", 9), QStringLiteral("d"));
    EXPECT_FALSE(file.WriteString("Settings", "LeftPos", "1"));
    EXPECT_EQ(QFileInfo(path).size(), ProfileFile::kMaxFileSize + 1);
}

TEST_F(ProfileOnDisk, AFileOfExactlyTheSizeLimitIsStillRead) {
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\nLeftPos=5\n");
        ASSERT_TRUE(f.resize(ProfileFile::kMaxFileSize));
    }
    EXPECT_EQ(file.ReadString(u"Settings", u"LeftPos", "d", 9), QStringLiteral("5"));
}

// The game never writes what its next start would refuse to read: a file a few bytes under the limit
// takes a write that keeps it there and refuses, with the reason, one that would pass it.
TEST_F(ProfileOnDisk, AWriteThatWouldGrowTheFilePastTheSizeLimitIsRefusedAndTold) {
    QByteArray text = "[Settings]\nLeftPos=5\n;";
    text += QByteArray(ProfileFile::kMaxFileSize - 4 - text.size() - 1, 'x') + "\n";
    ASSERT_EQ(text.size(), ProfileFile::kMaxFileSize - 4);
    WriteBytes(path, text);
    ASSERT_TRUE(file.WriteString("Settings", "LeftPos", "98765"));
    EXPECT_EQ(QFileInfo(path).size(), ProfileFile::kMaxFileSize);
    EXPECT_TRUE(file.CheckAtStart().isEmpty());
    EXPECT_FALSE(file.WriteString("Settings", "LeftPos", "987654"));
    EXPECT_TRUE(file.LastError().contains(QStringLiteral("larger than 16 MB"))) << file.LastError().toStdString();
    EXPECT_EQ(QFileInfo(path).size(), ProfileFile::kMaxFileSize);
    EXPECT_EQ(file.ReadString(u"Settings", u"LeftPos", "d", 9), QStringLiteral("98765"));
}

void MakeOld(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTimeUtc().addDays(-1), QFileDevice::FileModificationTime));
}

TEST(StaleTemporaries, OnlyOldLeftoversOfACutShortWriteAreRemoved) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("KAZO.INI");
    WriteBytes(ini, "[Settings]\n");
    const QString left = ini + ".kazoomba-write-0123456789abcdef";
    const QString fresh = TemporaryName(ini);
    WriteBytes(left, "half");
    WriteBytes(fresh, "writing now");
    MakeOld(left);
    EXPECT_EQ(RemoveStaleTemporaries(ini), 1);
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_TRUE(QFile::exists(ini));
}

TEST(StaleTemporaries, ThePlayersOwnCopiesSurviveAnyNumberOfStarts) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("KAZO.INI");
    WriteBytes(ini, "[Settings]\n");
    const QStringList alike = {
        "KAZO.INI.backup", "KAZO.INI.saved1", "KAZO.INI.2024-1", "kazo.ini.before", "KAZO.INI.Ab12Cd",
        "KAZO.INI.bak", "KAZO.INI.kazoomba-write-", "KAZO.INI.kazoomba-write-0123456789abcde",
        "KAZO.INI.kazoomba-write-0123456789abcdef0", "KAZO.INI.kazoomba-write-0123456789ABCDEF",
        "KAZO.INI.KAZOOMBA-WRITE-0123456789abcdef", "kazo.ini.kazoomba-write-0123456789abcdef",
        "KAZO.INI.kazoomba-write-0123456789abcdeg", "KAZO.INI.kazoomba-write-0123456789abcdef.bak",
        "xKAZO.INI.kazoomba-write-0123456789abcdef", "KAZO.INI.writing.kazoomba-write-0123456789abcdef"};
    for (const QString& name : alike) {
        WriteBytes(dir.filePath(name), "the player's own");
        MakeOld(dir.filePath(name));
    }
    for (int start = 0; start < 3; ++start) EXPECT_EQ(RemoveStaleTemporaries(ini, 0), 0);
    for (const QString& name : alike) EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
}

TEST(StaleTemporaries, EveryTemporaryAWriteMakesIsOneTheSweepKnows) {
    for (int i = 0; i < 100; ++i) {
        const QString name = QFileInfo(TemporaryName(QStringLiteral("/x/KAZO.INI"))).fileName();
        EXPECT_TRUE(IsTemporaryOf(u"KAZO.INI", name)) << name.toStdString();
    }
}

TEST_F(ProfileOnDisk, AWriteKeepsALinkedFileALinkAndItsPermissions) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    const QString real = dir.filePath("real/KAZO.INI");
    WriteBytes(real, "[Settings]\nLeftPos=1\n");
    ASSERT_EQ(chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(real, path));
    ASSERT_TRUE(file.WriteString("Settings", "LeftPos", "2")) << file.LastError().toStdString();
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(ReadBytes(real), QByteArray("[Settings]\nLeftPos=2\n"));
    struct stat after {};
    ASSERT_EQ(stat(QFile::encodeName(real).constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(dir.filePath("real")).entryList(QDir::Files | QDir::Hidden), QStringList{"KAZO.INI"});
}

TEST_F(ProfileOnDisk, AFileMarkedReadOnlyIsNotReplacedEvenByAUserAllowedToWriteIt) {
    WriteBytes(path, "[Settings]\nLeftPos=1\n");
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0444), 0);
    EXPECT_FALSE(file.WriteString("Settings", "LeftPos", "2"));
    EXPECT_TRUE(file.LastError().contains("the file is read-only")) << file.LastError().toStdString();
    EXPECT_EQ(ReadBytes(path), QByteArray("[Settings]\nLeftPos=1\n"));
}

TEST(StaleTemporaries, AnEmptyWriteLockLeftByAKilledWriterHoldsUpTheNextWriteOnlyBriefly) {
    // Killed between creating the lock file and writing its number in it, a writer leaves an empty
    // lock that no process can be found for; seconds later it no longer stands in the way.
    QTemporaryDir dir;
    ProfileFile file(dir.filePath("KAZO.INI"));
    WriteBytes(file.Path(), "[Settings]\nLeftPos=1\n");
    WriteBytes(WriteLockPath(file.Path()), "");
    QFile lock(WriteLockPath(file.Path()));
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-10), QFileDevice::FileModificationTime));
    lock.close();
    EXPECT_TRUE(file.WriteString("Settings", "LeftPos", "2")) << file.LastError().toStdString();
    EXPECT_EQ(file.ReadString(u"Settings", u"LeftPos", "", 9), QStringLiteral("2"));
}

TEST(SettingsPath, IsKazoIniInTheGamesConfigurationFolder) {
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(SettingsFilePath(), dir.path() + "/kazoomba/KAZO.INI");
    if (old.isNull()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", old);
}

}  // namespace
}  // namespace kazoomba::testing
