// Number pictures and the leading-number rule.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "common/NumberPicture.h"
#include "support/Locales.h"

// Like the game, which takes the locale from the environment at start, whatever LANG and LC_ALL say.
[[maybe_unused]] static const bool kEnvironmentLocale = std::setlocale(LC_ALL, "") != nullptr;

using kazoomba::FormatPicture;
using kazoomba::LeadingNumber;
using kazoomba::LeadingWhole;
using kazoomba::testing::kCommaLocales;

TEST(NumberPicture, DigitDisplayPicturesPadWithZeros) {
    EXPECT_EQ(FormatPicture(1000, "0000000.00"), "0001000.00");
    EXPECT_EQ(FormatPicture(0, "0000000.00"), "0000000.00");
    EXPECT_EQ(FormatPicture(12345678.5, "0000000.00"), "12345678.50");  // one figure longer
    EXPECT_EQ(FormatPicture(0.25, "00.00"), "00.25");
    EXPECT_EQ(FormatPicture(1.5, "0000.00"), "0001.50");
    EXPECT_EQ(FormatPicture(5, "000000"), "000005");
    EXPECT_EQ(FormatPicture(0.05f, "0.00"), "0.05");
    EXPECT_EQ(FormatPicture(3, "0"), "3");
    EXPECT_EQ(FormatPicture(-1, "0"), "-1");
    EXPECT_EQ(FormatPicture(1234.5, "00000.00"), "01234.50");
}

TEST(NumberPicture, MoneyAndCountsGroupThousands) {
    EXPECT_EQ(FormatPicture(1000, "$#,###,##0.00"), "$1,000.00");
    EXPECT_EQ(FormatPicture(0, "$#,###,##0.00"), "$0.00");
    EXPECT_EQ(FormatPicture(-10, "$#,###,##0.00"), "-$10.00");
    EXPECT_EQ(FormatPicture(1234567.891, "$#,###,##0.00"), "$1,234,567.89");
    EXPECT_EQ(FormatPicture(1204, "###,##0"), "1,204");
    EXPECT_EQ(FormatPicture(0, "###,##0"), "0");
    EXPECT_EQ(FormatPicture(300, "$##,##0.00"), "$300.00");
    EXPECT_EQ(FormatPicture(12345.6, "$##,##0.00"), "$12,345.60");
}

TEST(NumberPicture, PercentMultipliesByHundred) {
    EXPECT_EQ(FormatPicture(0.8, "###0.00%"), "80.00%");
    EXPECT_EQ(FormatPicture(1.0, "###0.00%"), "100.00%");
    EXPECT_EQ(FormatPicture(0.0, "###0.00%"), "0.00%");
}

TEST(NumberPicture, SettingsFilePictures) {
    EXPECT_EQ(FormatPicture(1234.5, "######0.00"), "1234.50");
    EXPECT_EQ(FormatPicture(0, "######0.00"), "0.00");
    EXPECT_EQ(FormatPicture(1000, "#########0"), "1000");
    EXPECT_EQ(FormatPicture(1500.6, "#########0"), "1501");
    EXPECT_EQ(FormatPicture(42, "#####0"), "42");
    EXPECT_EQ(FormatPicture(16, "#0.00"), "16.00");
    EXPECT_EQ(FormatPicture(0.25, "#0.00"), "0.25");
    EXPECT_EQ(FormatPicture(150, "###0"), "150");
}

TEST(NumberPicture, NonFiniteValuesShowAsZero) {
    EXPECT_EQ(FormatPicture(NAN, "#0.00"), "0.00");
    EXPECT_EQ(FormatPicture(INFINITY, "0000.00"), "0000.00");
}

TEST(LeadingNumber, TakesTheLongestLeadingDecimalNumber) {
    EXPECT_DOUBLE_EQ(LeadingNumber("  1234.50"), 1234.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("12abc"), 12);
    EXPECT_DOUBLE_EQ(LeadingNumber("1,000"), 1);  // a comma ends the number
    EXPECT_DOUBLE_EQ(LeadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber(""), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("-3.5x"), -3.5);
    EXPECT_DOUBLE_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("5."), 5);
    EXPECT_DOUBLE_EQ(LeadingNumber("2e"), 2);
    EXPECT_DOUBLE_EQ(LeadingNumber("nan"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("inf"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("-"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("+7.25"), 7.25);
    EXPECT_DOUBLE_EQ(LeadingNumber("\t 12 34"), 12);
    EXPECT_TRUE(std::isinf(LeadingNumber(std::string(400, '9'))));
    EXPECT_DOUBLE_EQ(LeadingNumber("0." + std::string(400, '0') + "1"), 0);
}

// Blanks, a sign, digits, a point and digits: nothing else belongs to the number.
TEST(LeadingNumber, ExponentsHexInfinityAndNanEndTheNumber) {
    EXPECT_DOUBLE_EQ(LeadingNumber("1e3"), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber("2.5E-1"), 2.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("1e309"), 1);
    EXPECT_DOUBLE_EQ(LeadingNumber("0x10"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("infinity"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("-nan"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber(" +inf"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("+-5"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("5..5"), 5);
}

// The game's pictures and numbers are its own fixed formats, the same under a comma-decimal locale.
TEST(NumberPicture, CommaDecimalLocalesChangeNothing) {
    KAZOOMBA_NEEDS_COMMA_LOCALES();
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : kCommaLocales) {
        ASSERT_NE(std::setlocale(LC_NUMERIC, name), nullptr) << name;
        EXPECT_EQ(FormatPicture(1234, "######0.00"), "1234.00") << name;
        EXPECT_EQ(FormatPicture(0, "######0.00"), "0.00") << name;
        EXPECT_EQ(FormatPicture(5, "$#,###,##0.00"), "$5.00") << name;
        EXPECT_EQ(FormatPicture(5, "0000.00"), "0005.00") << name;
        EXPECT_EQ(FormatPicture(0.8, "###0.00%"), "80.00%") << name;
        EXPECT_DOUBLE_EQ(LeadingNumber("1234.50"), 1234.5) << name;
        EXPECT_DOUBLE_EQ(LeadingNumber("0.75"), 0.75) << name;
        EXPECT_DOUBLE_EQ(LeadingNumber("1,5"), 1) << name;
    }
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(LeadingNumber, WholeFieldsRoundHalvesToEven) {
    EXPECT_EQ(LeadingWhole("2.5"), 2);
    EXPECT_EQ(LeadingWhole("3.5"), 4);
    EXPECT_EQ(LeadingWhole("999.75"), 1000);
    EXPECT_EQ(LeadingWhole("-2.5"), -2);
    // Anywhere but an exact half, the nearest whole number.
    EXPECT_EQ(LeadingWhole("2.49"), 2);
    EXPECT_EQ(LeadingWhole("2.51"), 3);
    EXPECT_EQ(LeadingWhole("3.49"), 3);
    EXPECT_EQ(LeadingWhole("-2.49"), -2);
    EXPECT_EQ(LeadingWhole("-2.51"), -3);
    EXPECT_EQ(LeadingWhole("-0.49"), 0);
    EXPECT_EQ(LeadingWhole("100000000000"), 2147483647);
    EXPECT_EQ(LeadingWhole("1e20"), 1);
    EXPECT_EQ(LeadingWhole(" 1000 "), 1000);
}

TEST(NumberPicture, DisplayFiguresKeepToTheirBoxAndRollOverLikeACounter) {
    EXPECT_EQ(kazoomba::FormatDisplay(5, "000000"), "000005");
    EXPECT_EQ(kazoomba::FormatDisplay(999999, "000000"), "999999");
    EXPECT_EQ(kazoomba::FormatDisplay(1000000, "000000"), "000000");
    EXPECT_EQ(kazoomba::FormatDisplay(1234567, "000000"), "234567");
    EXPECT_EQ(kazoomba::FormatDisplay(12345678.5, "0000000.00"), "2345678.50");
    EXPECT_EQ(kazoomba::FormatDisplay(1000, "0000000.00"), "0001000.00");
    EXPECT_EQ(kazoomba::FormatDisplay(0.25, "00.00"), "00.25");
}
