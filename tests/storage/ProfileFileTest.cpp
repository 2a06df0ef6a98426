// The settings file on disk: read limits, creation, bad files, leftovers of cut-short writes, its place.
#include <QDateTime>
#include <QDir>
#include <gtest/gtest.h>

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

TEST(StaleTemporaries, OnlyOldLeftoversOfACutShortWriteAreRemoved) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("KAZO.INI");
    WriteBytes(ini, "[Settings]\n");
    WriteBytes(ini + ".Ab12Cd", "half");
    WriteBytes(ini + ".Fresh1", "writing now");
    WriteBytes(dir.filePath("KAZO.INI.bak"), "someone's copy");
    QFile old(ini + ".Ab12Cd");
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTimeUtc().addDays(-1), QFileDevice::FileModificationTime));
    old.close();
    EXPECT_EQ(RemoveStaleTemporaries(ini), 1);
    EXPECT_FALSE(QFile::exists(ini + ".Ab12Cd"));
    EXPECT_TRUE(QFile::exists(ini + ".Fresh1"));
    EXPECT_TRUE(QFile::exists(dir.filePath("KAZO.INI.bak")));
    EXPECT_TRUE(QFile::exists(ini));
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
