// The rules of the Vaz Ivero board: the shuffle, picks, hints, the reveal and the money it moves.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Random.h"

namespace kazoomba {

inline constexpr int kBoxes = 15;

// What a box hides. 3 to 9 are the seven losing boxes, 10 to 12 the three "Try Again" boxes.
enum BoxCode : int {
    FiveX = 0,
    ThreeX = 1,
    TwoX = 2,
    FirstLosing = 3,
    LastLosing = 9,
    FirstTryAgain = 10,
    LastTryAgain = 12,
    EvenOddHint = 13,
    EightHint = 14,
};

enum class BoxKind { Multiplier, Losing, TryAgain, Hint };
BoxKind KindOf(int content);
// What a box holds in words: "5X", "3X", "2X", "Try Again", "Hint" or "Losing box".
std::string_view BoxContentName(int content);
// 5, 3 or 2 for the multipliers, 1 for anything else.
int MultiplierOf(int content);
// The message of a hint box, true for a board with the 5X behind box fiveXBox; empty for other boxes.
std::string HintText(int content, int fiveXBox);

// What one click on a box did.
struct PickResult {
    bool opened = false;  // false: the click did nothing (box already open, board dead, no such box)
    int content = -1;
    float winnings = 0.0f;
    bool lost = false;
    std::string hint;     // the hint's message, for the two hint boxes only
};

class Board {
public:
    // Opens a fresh board on a stake: reseeds and shuffles. The money stays with the game, which takes
    // the stake (Game::StakeOnBoard) and pays what Quit returns (Game::LeaveBoard).
    Board(float stake, Random& random);
    // A board brought back as it was left: the winnings are those its open boxes made from the stake,
    // and a losing box among them leaves it dead.
    Board(float winnings, const std::array<int, kBoxes>& content, const std::array<bool, kBoxes>& opened);

    // box is 1..15.
    PickResult Pick(int box);
    // Leaves the board: the winnings to pay. Only the first call has any, as the window may be closed
    // by more than one road.
    std::optional<float> Quit();

    // The message of a hint box, true for the board as shuffled.
    std::string HintText(int content) const { return kazoomba::HintText(content, fiveXBox_); }

    const std::array<int, kBoxes>& BoxContent() const { return content_; }
    const std::array<bool, kBoxes>& BoxOpened() const { return opened_; }
    bool BoardLive() const { return live_; }
    int FiveXBox() const { return fiveXBox_; }
    float Winnings() const { return winnings_; }
    bool Settled() const { return settled_; }  // the player has left it

private:
    float winnings_;
    std::array<int, kBoxes> content_{};
    std::array<bool, kBoxes> opened_{};
    bool live_ = true;
    bool settled_ = false;
    int fiveXBox_ = 1;
};

// The board's shuffle: 20 passes, each swapping every box with a uniformly chosen partner.
std::array<int, kBoxes> ShuffleBoxes(Random& random);

}  // namespace kazoomba
