// The rules of the Vaz Ivero board: the shuffle, picks, hints, the reveal and the money it moves.
#pragma once

#include <array>
#include <string>

#include "engine/Random.h"
#include "play/GameState.h"

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
// 5, 3 or 2 for the multipliers, 1 for anything else.
int MultiplierOf(int content);

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
    // Opens a fresh board: reseeds, shuffles, and takes the stake (SpinWin) out of DoubleNothing
    // until the player quits.
    Board(GameState& state, Random& random);
    // A board brought back as it was left: the stake is already out of DoubleNothing and SpinWin holds
    // the winnings; a losing box among the opened ones leaves it dead.
    Board(GameState& state, const std::array<int, kBoxes>& content, const std::array<bool, kBoxes>& opened);

    // box is 1..15.
    PickResult Pick(int box);
    // Pays whatever the winnings are now. Only the first call pays: the window may be closed
    // by more than one road.
    void Quit();

    // The message of a hint box, true for the board as shuffled.
    std::string HintText(int content) const;

    const std::array<int, kBoxes>& BoxContent() const { return content_; }
    const std::array<bool, kBoxes>& BoxOpened() const { return opened_; }
    bool BoardLive() const { return live_; }
    int FiveXBox() const { return fiveXBox_; }
    float Winnings() const { return state_.SpinWin; }
    bool Settled() const { return settled_; }

private:
    GameState& state_;
    std::array<int, kBoxes> content_{};
    std::array<bool, kBoxes> opened_{};
    bool live_ = true;
    bool settled_ = false;
    int fiveXBox_ = 1;
};

// The board's shuffle: 20 passes, each swapping every box with a uniformly chosen partner.
std::array<int, kBoxes> ShuffleBoxes(Random& random);

}  // namespace kazoomba
