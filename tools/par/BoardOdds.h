// The Vaz Ivero board's odds: one pick, and the best hint-aware play found by an exact optimal-stopping search.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "gamble/Board.h"

namespace kazoomba::par {

// What a player has seen of one board in play.
struct BoardKnowledge {
    std::array<bool, kBoxes> opened{};
    unsigned multipliersFound = 0;  // bit i: the i-th multiplier box has been opened
    unsigned hintsFound = 0;        // bit i: the i-th hint box has been opened
    std::array<int, 4> hintMessage{};  // per hint: 0 unknown, else 1 + the index of the message it gave
    int tryAgainFound = 0;
};

// Learns the board from its own rules (what each box code holds, what each hint says for every place of the
// 5X) and solves it. Value is in multiples of the stake, for a player who wants the most money on average.
// The search assumes every arrangement of the boxes is equally likely.
class BoardOdds {
public:
    BoardOdds();

    // Open one box and quit: what it returns on average (exactly the stake).
    double OnePick() const { return onePick_; }
    // Best play, and how often best play loses the stake.
    double Best() const { return best_.value; }
    double BestLossChance() const { return best_.loss; }

    BoardKnowledge Fresh() const { return {}; }
    // The box (1..15) best play opens next, or 0 to quit.
    int BestBox(const BoardKnowledge& known) const;
    // Expected multiple of the current winnings under best play from here (1 when best play quits).
    double ValueOf(const BoardKnowledge& known) const;
    void Learn(BoardKnowledge& known, int box, const PickResult& result) const;

    // The classes of boxes the hints tell apart, e.g. "odd and eight or less", each with its boxes.
    struct BoxClass {
        std::vector<int> hintMessage;  // per hint, the message it gives when the 5X is in this class
        std::vector<int> boxes;        // 1..15
    };
    const std::vector<BoxClass>& Classes() const { return classes_; }
    // The message texts of hint h, by index.
    const std::vector<std::string>& HintMessages(int h) const { return messages_[h]; }

private:
    struct Outcome {
        double value = 1.0;
        float loss = 0.0f;
        std::int8_t pickClass = -1;  // -1: quit
    };
    struct State {
        std::array<int, 4> unopened{};  // per class
        unsigned multipliers = 0;
        unsigned hints = 0;
        std::array<int, 4> message{};
        int tryAgain = 0;
    };
    State StateOf(const BoardKnowledge& known) const;
    std::size_t KeyOf(const State& s) const;
    const Outcome& Solve(const State& s) const;
    bool FiveXHidden(const State& s) const { return !(s.multipliers & 1u << fiveIndex_); }
    bool Consistent(const State& s, int cls) const;

    // The board's contents, learnt from the box codes.
    std::vector<int> multiplierCode_, multiplierValue_, hintCode_;
    int fiveIndex_ = 0;  // which multiplier the hints speak about
    int tryAgainBoxes_ = 0, losingBoxes_ = 0;
    std::vector<std::vector<std::string>> messages_;
    std::vector<BoxClass> classes_;
    std::array<int, kBoxes + 1> classOf_{};

    std::array<std::size_t, 4> classRadix_{};
    std::size_t stateCount_ = 0;
    mutable std::mutex solving_;  // simulator threads ask for moves at once
    mutable std::vector<Outcome> memo_;
    mutable std::vector<bool> known_;
    Outcome best_;
    double onePick_ = 0.0;
};

}  // namespace kazoomba::par
