// The profile rules on text: matching, first match, byte-for-byte keeping of lines, creation of keys and sections.
#include <gtest/gtest.h>

#include "ProfileText.h"

namespace kazoomba::testing {
namespace {

std::optional<QString> Find(const QByteArray& text, const char* section, const char* key) {
    return ProfileText::Find(text, QString::fromUtf8(section), QString::fromUtf8(key));
}

QByteArray Apply(const QByteArray& text, const char* section, const char* key, const QString& value) {
    return ProfileText::Apply(text, {{QString::fromUtf8(section), QString::fromUtf8(key), value}}).value_or("<refused>");
}

TEST(ProfileText, NamesMatchWithoutCaseAndTheFirstSectionAndKeyWin) {
    const QByteArray text = "[settings]\nLEFTPOS=1\nleftpos=2\n[Settings]\nLeftPos=3\nTopPos=4\n";
    EXPECT_EQ(Find(text, "Settings", "LeftPos"), QStringLiteral("1"));
    // A key that only a later duplicate of the section holds is not there.
    EXPECT_EQ(Find(text, "SETTINGS", "TopPos"), std::nullopt);
    // The write goes where the read looks, and keeps the key's spelling.
    EXPECT_EQ(Apply(text, "Settings", "leftPOS", "9"),
              QByteArray("[settings]\nLEFTPOS=9\nleftpos=2\n[Settings]\nLeftPos=3\nTopPos=4\n"));
}

TEST(ProfileText, ReadLimitCountsCharactersAndNeverSplitsOne) {
    QString faces;
    for (int i = 0; i < 41; ++i) faces += QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(LeftChars(faces, 40).size(), 80);
    EXPECT_EQ(LeftChars(QStringLiteral("abc"), 40), QStringLiteral("abc"));
}

TEST(ProfileText, AChangedValueLeavesEveryOtherByteAsItWas) {
    const QByteArray text =
        "; kept comment\r\n[Settings]\r\nLeftPos = 150 \r\nodd line without equals\r\n\r\n"
        "[Current Game]\r\nCredits=1\r\n";
    EXPECT_EQ(Apply(text, "Settings", "LeftPos", "3000"),
              QByteArray("; kept comment\r\n[Settings]\r\nLeftPos = 3000\r\nodd line without equals\r\n\r\n"
                         "[Current Game]\r\nCredits=1\r\n"));
}

TEST(ProfileText, RewritingAPaddedValueKeepsTheLineItsOwnLength) {
    QByteArray text = "[Current Game]\nGameName=Current Game Settings                   \nCredits=1\n";
    const QString padded = QStringLiteral("Current Game Settings") + QString(19, u' ');
    for (int i = 0; i < 3; ++i) text = ProfileText::Apply(text, {{"Current Game", "GameName", padded}}).value();
    EXPECT_EQ(text, QByteArray("[Current Game]\nGameName=Current Game Settings                   \nCredits=1\n"));
}

TEST(ProfileText, AMissingKeyGoesAfterItsSectionsLastLineInTheFilesLineEndings) {
    const QByteArray crlf = "[Settings]\r\nLeftPos=1\r\n\r\n[Current Game]\r\nCredits=1\r\n";
    EXPECT_EQ(Apply(crlf, "Settings", "TopPos", "2"),
              QByteArray("[Settings]\r\nLeftPos=1\r\nTopPos=2\r\n\r\n[Current Game]\r\nCredits=1\r\n"));
    // The last line of a file without a final line break gets one first.
    EXPECT_EQ(Apply("[Settings]\nLeftPos=1", "Settings", "TopPos", "2"), QByteArray("[Settings]\nLeftPos=1\nTopPos=2\n"));
    EXPECT_EQ(Apply("[Settings]", "Settings", "TopPos", "2"), QByteArray("[Settings]\nTopPos=2\n"));
}

TEST(ProfileText, AMissingSectionIsAppendedAfterABlankLine) {
    EXPECT_EQ(Apply("", "Settings", "LeftPos", "1"), QByteArray("[Settings]\nLeftPos=1\n"));
    EXPECT_EQ(Apply("[A]\r\nx=1", "Settings", "LeftPos", "1"), QByteArray("[A]\r\nx=1\r\n\r\n[Settings]\r\nLeftPos=1\r\n"));
    EXPECT_EQ(Apply("[A]\nx=1\n\n", "B", "y", "2"), QByteArray("[A]\nx=1\n\n[B]\ny=2\n"));
}

TEST(ProfileText, AValueIsAlwaysWrittenOnOneLine) {
    const QByteArray out = Apply("", "Settings", "BannerText", QStringLiteral("one\r\ntwo\nthree\rfour") + QChar(0) + "x");
    EXPECT_EQ(out, QByteArray("[Settings]\nBannerText=one two three four x\n"));
}

TEST(ProfileText, NamesThatCannotBeWrittenAreRefused) {
    EXPECT_EQ(Apply("", "Set]tings", "k", "v"), QByteArray("<refused>"));
    EXPECT_EQ(Apply("", "Settings", "a=b", "v"), QByteArray("<refused>"));
    EXPECT_EQ(Apply("", "Settings", "", "v"), QByteArray("<refused>"));
    EXPECT_EQ(Apply("", "Settings", "[k", "v"), QByteArray("<refused>"));
    EXPECT_EQ(Apply("", "Settings", "k\nx", "v"), QByteArray("<refused>"));
}

TEST(ProfileText, AHeaderWithoutItsBracketOpensNoSectionForTheKeysUnderIt) {
    const QByteArray text = "[Settings]\nLeftPos=1\n[Current Game\nCredits=5\nTopPos=2\n";
    EXPECT_EQ(Find(text, "Settings", "TopPos"), std::nullopt);
    EXPECT_EQ(Find(text, "Current Game", "Credits"), std::nullopt);
    EXPECT_EQ(Apply(text, "Settings", "TopPos", "7"),
              QByteArray("[Settings]\nLeftPos=1\nTopPos=7\n[Current Game\nCredits=5\nTopPos=2\n"));
}

TEST(ProfileText, BinaryBytesAndNulsAreKeptAndDoNotStopTheReader) {
    const char raw[] = "[Settings]\nJunk=\x00\x01\xFF\xFE\x80 bytes\n\x00\x00\x00\nLeftPos=4\n";
    QByteArray text(raw, sizeof raw - 1);
    text += QByteArray("\xC3\x28=oops\nTopPos=5\n");
    EXPECT_EQ(Find(text, "Settings", "LeftPos"), QStringLiteral("4"));
    EXPECT_EQ(Find(text, "Settings", "TopPos"), QStringLiteral("5"));
    const QByteArray out = Apply(text, "Settings", "LeftPos", "9");
    QByteArray expected = text;
    expected.replace("LeftPos=4", "LeftPos=9");
    EXPECT_EQ(out, expected);
}

TEST(ProfileText, AByteOrderMarkDoesNotHideTheFirstSection) {
    EXPECT_EQ(Find("\xEF\xBB\xBF[Settings]\nLeftPos=3\n", "Settings", "LeftPos"), QStringLiteral("3"));
}

TEST(ProfileText, AOneMegabyteLineIsReadAroundAndKept) {
    QByteArray text = "[Current Game]\nGameName=";
    text += QByteArray(1 << 20, 'x');
    text += "\nNoise" + QByteArray(1 << 20, 'y') + "\nCredits=12.5\n";
    EXPECT_EQ(Find(text, "Current Game", "Credits"), QStringLiteral("12.5"));
    EXPECT_EQ(Find(text, "Current Game", "GameName")->size(), 1 << 20);
    const QByteArray out = Apply(text, "Current Game", "Credits", "7.00");
    EXPECT_EQ(out.size(), text.size());
    EXPECT_TRUE(out.startsWith(text.left(text.size() - 5)));
    EXPECT_TRUE(out.endsWith("Credits=7.00\n"));
}

}  // namespace
}  // namespace kazoomba::testing
