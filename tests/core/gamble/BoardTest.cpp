// The Vaz Ivero board's rules: shuffle, picks, hints and the money the board moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "gamble/Board.h"
#include "support/Scripted.h"

using namespace kazoomba;
using kazoomba::testing::ScriptedRandom;

namespace {

double DrawForBox(int index) { return (index + 0.5) / kBoxes; }

// Queues a shuffle whose first pass makes the given swaps and which leaves every other box where it is.
void QueueShuffle(ScriptedRandom& random, const std::vector<std::pair<int, int>>& firstPassSwaps) {
    for (int pass = 0; pass < 20; ++pass)
        for (int j = 0; j < kBoxes; ++j) {
            int k = j;
            if (pass == 0)
                for (auto [from, to] : firstPassSwaps)
                    if (from == j) k = to;
            random.queue.push_back(DrawForBox(k));
        }
}

int BoxHolding(const Board& board, int content) {
    const auto& c = board.BoxContent();
    return 1 + static_cast<int>(std::find(c.begin(), c.end(), content) - c.begin());
}

// A game started as the program starts one, with a spin's win waiting to be doubled.
struct BoardTable : kazoomba::testing::Table {
    explicit BoardTable(float stake = 10.0f) { s().SpinWin = stake; }
    // Leaves the board as the window does: the game pays what the first Quit returns.
    void Quit(Board& board) {
        if (const auto winnings = board.Quit()) game.LeaveBoard(*winnings);
    }
};

}  // namespace

TEST(BoardShuffle, LeavesExactlyOneBoxOfEachContent) {
    for (std::uint64_t seed = 1; seed <= 500; ++seed) {
        ClockRandom random(seed);
        auto boxes = ShuffleBoxes(random);
        std::sort(boxes.begin(), boxes.end());
        for (int i = 0; i < kBoxes; ++i) ASSERT_EQ(boxes[i], i) << "seed " << seed;
    }
}

TEST(BoardShuffle, DrawsAtTheEndsOfTheRangeStayOnTheBoard) {
    for (double edge : {0.0, 0.9999999, 1.0}) {
        ScriptedRandom random;
        random.fallback = edge;
        auto boxes = ShuffleBoxes(random);
        EXPECT_EQ(random.draws, 300);
        std::sort(boxes.begin(), boxes.end());
        for (int i = 0; i < kBoxes; ++i) EXPECT_EQ(boxes[i], i) << "draw " << edge;
    }
}

TEST(BoardOpen, ReseedsShufflesAndHoldsTheStakeOutOfDoubleNothing) {
    BoardTable t;
    t.s().DoubleNothing = 4.0f;
    QueueShuffle(t.random, {{0, 6}});
    Board board(t.game.StakeOnBoard(), t.random);
    EXPECT_EQ(t.random.reseeds, 1);
    EXPECT_EQ(board.FiveXBox(), 7);
    EXPECT_EQ(board.BoxContent()[0], 6);
    EXPECT_TRUE(board.BoardLive());
    EXPECT_FLOAT_EQ(t.s().DoubleNothing, -6.0f);
    EXPECT_FLOAT_EQ(t.s().SpinWin, 10.0f);
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f);
}

TEST(BoardQuit, BeforeAnyPickCreditsTheStakeAndLeavesDoubleNothingAsItWas) {
    BoardTable t;
    t.s().DoubleNothing = 4.0f;
    Board board(t.game.StakeOnBoard(), t.random);
    t.Quit(board);
    EXPECT_FLOAT_EQ(t.s().Credits, 1010.0f);
    EXPECT_FLOAT_EQ(t.s().DoubleNothing, 4.0f);
}

TEST(BoardPick, FiveThenThreeThenTwoTurnTenDollarsIntoThreeHundred) {
    BoardTable t;
    QueueShuffle(t.random, {});  // box 1 = 5X, box 2 = 3X, box 3 = 2X
    Board board(t.game.StakeOnBoard(), t.random);
    EXPECT_FLOAT_EQ(board.Pick(1).winnings, 50.0f);
    EXPECT_FLOAT_EQ(board.Pick(2).winnings, 150.0f);
    PickResult last = board.Pick(3);
    EXPECT_EQ(last.content, TwoX);
    EXPECT_FLOAT_EQ(last.winnings, 300.0f);
    t.Quit(board);
    EXPECT_FLOAT_EQ(t.s().Credits, 1300.0f);
    EXPECT_FLOAT_EQ(t.s().DoubleNothing, 290.0f);
}

TEST(BoardPick, ALossAfterMultipliersWipesTheWinningsAndQuitPaysNothing) {
    BoardTable t;
    QueueShuffle(t.random, {});
    Board board(t.game.StakeOnBoard(), t.random);
    board.Pick(1);
    board.Pick(2);
    PickResult loss = board.Pick(4);
    EXPECT_TRUE(loss.opened);
    EXPECT_TRUE(loss.lost);
    EXPECT_FLOAT_EQ(loss.winnings, 0.0f);
    EXPECT_FALSE(board.BoardLive());
    t.Quit(board);
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f);
    EXPECT_FLOAT_EQ(t.s().DoubleNothing, -10.0f);
}

TEST(BoardPick, OpenedBoxesAndPicksAfterALossDoNothing) {
    BoardTable t;
    QueueShuffle(t.random, {});
    Board board(t.game.StakeOnBoard(), t.random);
    board.Pick(1);
    PickResult again = board.Pick(1);
    EXPECT_FALSE(again.opened);
    EXPECT_FLOAT_EQ(board.Winnings(), 50.0f);

    board.Pick(10);  // a losing box
    const auto openedAfterLoss = board.BoxOpened();
    for (int box = 1; box <= kBoxes; ++box) {
        PickResult r = board.Pick(box);
        EXPECT_FALSE(r.opened) << box;
        EXPECT_TRUE(r.hint.empty()) << box;
    }
    EXPECT_EQ(board.BoxOpened(), openedAfterLoss);
    EXPECT_FLOAT_EQ(board.Winnings(), 0.0f);
}

TEST(BoardPick, BoxesOutsideOneToFifteenDoNothing) {
    BoardTable t;
    Board board(t.game.StakeOnBoard(), t.random);
    EXPECT_FALSE(board.Pick(0).opened);
    EXPECT_FALSE(board.Pick(16).opened);
    EXPECT_TRUE(board.BoardLive());
}

TEST(BoardPick, TryAgainAndHintsKeepTheBoardLiveAndTheWinnings) {
    BoardTable t;
    QueueShuffle(t.random, {});
    Board board(t.game.StakeOnBoard(), t.random);
    for (int box : {11, 12, 13, 14, 15}) {
        PickResult r = board.Pick(box);
        EXPECT_TRUE(r.opened);
        EXPECT_FALSE(r.lost);
        EXPECT_FLOAT_EQ(r.winnings, 10.0f);
        EXPECT_EQ(r.hint.empty(), box < 14) << box;
    }
    EXPECT_TRUE(board.BoardLive());
}

// A Try Again box changes nothing and says nothing: it is neither a hint nor a multiplier.
TEST(BoardPick, TryAgainBoxesGiveNoHintAndChangeNothing) {
    for (int content = FirstTryAgain; content <= LastTryAgain; ++content) {
        EXPECT_EQ(KindOf(content), BoxKind::TryAgain) << content;
        EXPECT_EQ(MultiplierOf(content), 1) << content;
    }
    for (int content = 0; content < kBoxes; ++content)
        EXPECT_EQ(KindOf(content) == BoxKind::TryAgain, content >= 10 && content <= 12) << content;
    BoardTable t;
    QueueShuffle(t.random, {});  // boxes 11 to 13 hold the Try Again codes
    Board board(t.game.StakeOnBoard(), t.random);
    for (int box : {11, 12, 13}) {
        EXPECT_TRUE(board.HintText(board.BoxContent()[box - 1]).empty()) << box;
        const PickResult r = board.Pick(box);
        EXPECT_TRUE(r.opened) << box;
        EXPECT_EQ(KindOf(r.content), BoxKind::TryAgain) << box;
        EXPECT_TRUE(r.hint.empty()) << box;
        EXPECT_FALSE(r.lost) << box;
        EXPECT_FLOAT_EQ(r.winnings, 10.0f) << box;
    }
    EXPECT_TRUE(board.BoardLive());
    t.Quit(board);
    EXPECT_FLOAT_EQ(t.s().Credits, 1010.0f);
}

TEST(BoardHints, BothHintsAreTrueWhereverTheFiveXLies) {
    for (int fiveX = 1; fiveX <= kBoxes; ++fiveX) {
        BoardTable t;
        QueueShuffle(t.random, {{0, fiveX - 1}});
        Board board(t.game.StakeOnBoard(), t.random);
        ASSERT_EQ(board.FiveXBox(), fiveX);
        const std::string parity = board.Pick(BoxHolding(board, EvenOddHint)).hint;
        const std::string size = board.Pick(BoxHolding(board, EightHint)).hint;
        EXPECT_NE(parity.find(fiveX % 2 == 0 ? "even-numbered" : "odd-numbered"), std::string::npos) << fiveX;
        if (fiveX <= 8)
            EXPECT_NE(size.find("eight or less"), std::string::npos) << fiveX;
        else
            EXPECT_NE(size.find("eight or more"), std::string::npos) << fiveX;
    }
}

TEST(BoardHints, TheGameSaysItsOwnWordsForBoxesEightAndNine) {
    BoardTable eight;
    QueueShuffle(eight.random, {{0, 7}});
    Board atEight(eight.game.StakeOnBoard(), eight.random);
    EXPECT_EQ(atEight.HintText(EvenOddHint), "The 5X multiplier is under one of the even-numbered boxes!");
    EXPECT_EQ(atEight.HintText(EightHint), "The 5X multiplier is behind a box numbered eight or less!");

    BoardTable nine;
    QueueShuffle(nine.random, {{0, 8}});
    Board atNine(nine.game.StakeOnBoard(), nine.random);
    EXPECT_EQ(atNine.HintText(EvenOddHint), "The 5X multiplier is under one of the odd-numbered boxes!");
    EXPECT_EQ(atNine.HintText(EightHint), "The 5X multiplier is behind a box numbered eight or more!");
}

TEST(BoardQuit, PaysOnlyOnceAndEndsThePicks) {
    BoardTable t;
    QueueShuffle(t.random, {});
    Board board(t.game.StakeOnBoard(), t.random);
    board.Pick(1);
    t.Quit(board);
    t.Quit(board);
    EXPECT_FLOAT_EQ(t.s().Credits, 1050.0f);
    EXPECT_FLOAT_EQ(t.s().DoubleNothing, 40.0f);
    EXPECT_FALSE(board.Pick(2).opened);
    EXPECT_FLOAT_EQ(t.s().Credits, 1050.0f);
}
