// The board's odds: one pick, what the hints tell apart, and best play in positions worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "BoardOdds.h"

using namespace kazoomba;
using namespace kazoomba::par;

namespace {
const BoardOdds& Odds() {
    static const BoardOdds odds;
    return odds;
}

// The class whose 5X hints give these two messages (by index) in the board's order.
std::vector<int> BoxesTold(int parityMessage, int halfMessage) {
    for (const auto& c : Odds().Classes())
        if (c.hintMessage == std::vector<int>{parityMessage, halfMessage}) return c.boxes;
    return {};
}

int MessageIndex(int hint, const std::string& text) {
    const auto& said = Odds().HintMessages(hint);
    return static_cast<int>(std::find(said.begin(), said.end(), text) - said.begin());
}

// Knowledge after opening every box in `opened` as safe boxes holding, in order, 3X, 2X, the two hints
// (saying the given messages) and Try Again.
BoardKnowledge Opened(const std::vector<int>& opened, int parityMessage, int halfMessage) {
    BoardKnowledge k = Odds().Fresh();
    for (int box : opened) k.opened[box - 1] = true;
    k.multipliersFound = 0b110;  // 3X and 2X; the 5X is the first multiplier code
    k.hintsFound = 0b11;
    k.hintMessage = {parityMessage + 1, halfMessage + 1, 0, 0};
    k.tryAgainFound = 3;
    return k;
}
}  // namespace

TEST(BoardOdds, OnePickReturnsExactlyTheStake) {
    // 5 + 3 + 2 + five boxes that keep the stake, over fifteen boxes.
    EXPECT_EQ(Odds().OnePick(), 1.0);
}

TEST(BoardOdds, HintsSplitTheBoxesByParityAndByEightOrLess) {
    const int even = MessageIndex(0, "The 5X multiplier is under one of the even-numbered boxes!");
    const int odd = MessageIndex(0, "The 5X multiplier is under one of the odd-numbered boxes!");
    const int low = MessageIndex(1, "The 5X multiplier is behind a box numbered eight or less!");
    const int high = MessageIndex(1, "The 5X multiplier is behind a box numbered eight or more!");
    ASSERT_EQ(Odds().Classes().size(), 4u);
    EXPECT_EQ(BoxesTold(odd, low), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(BoxesTold(even, low), (std::vector<int>{2, 4, 6, 8})) << "box 8 is told as eight or less";
    EXPECT_EQ(BoxesTold(odd, high), (std::vector<int>{9, 11, 13, 15}));
    EXPECT_EQ(BoxesTold(even, high), (std::vector<int>{10, 12, 14}));
}

TEST(BoardOdds, BestPlayGoesForTheFiveXWhereTheHintsPointAndNowhereElse) {
    const int even = MessageIndex(0, "The 5X multiplier is under one of the even-numbered boxes!");
    const int low = MessageIndex(1, "The 5X multiplier is behind a box numbered eight or less!");
    // Only the 5X and the seven losing boxes are left, and the hints put the 5X behind 2, 4, 6 or 8:
    // a pick there wins 5X one time in four, so it is worth 5/4 of the winnings; then there is nothing left.
    BoardKnowledge k = Opened({1, 3, 5, 7, 9, 11, 13}, even, low);
    EXPECT_DOUBLE_EQ(Odds().ValueOf(k), 1.25);
    const int box = Odds().BestBox(k);
    EXPECT_TRUE(box == 2 || box == 4 || box == 6 || box == 8) << box;

    // With boxes 2 and 4 among the safe ones the 5X is behind 6 or 8: 5/2.
    EXPECT_DOUBLE_EQ(Odds().ValueOf(Opened({1, 2, 3, 4, 5, 7, 9}, even, low)), 2.5);
}

TEST(BoardOdds, BestPlayQuitsWhenNothingButLosingBoxesCanBeLeft) {
    BoardKnowledge k = Odds().Fresh();
    for (int box = 1; box <= 8; ++box) k.opened[box - 1] = true;
    k.multipliersFound = 0b111;
    k.hintsFound = 0b11;
    k.tryAgainFound = 3;
    EXPECT_EQ(Odds().BestBox(k), 0);
    EXPECT_EQ(Odds().ValueOf(k), 1.0);
}

TEST(BoardOdds, BestPlayBeatsOnePickButUsuallyLoses) {
    EXPECT_GT(Odds().Best(), 1.1);
    EXPECT_LT(Odds().Best(), 1.2);
    EXPECT_GT(Odds().BestLossChance(), 0.5);
    EXPECT_NE(Odds().BestBox(Odds().Fresh()), 0) << "a fresh board is worth opening";
}
