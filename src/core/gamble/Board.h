// The rules of the Vaz Ivero board: the shuffle, picks, hints, the reveal and the money it moves.
#pragma once

#include <array>
#include <string>

#include "engine/Random.h"
#include "gamble/Boxes.h"
#include "play/Game.h"

namespace kazoomba {

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
    // Opens a fresh board: reseeds, shuffles, and has the game stake the spin's win on it.
    Board(Game& game, Random& random);
    // A board brought back as it was left: the stake is already on it and the winnings are those its
    // open boxes made; a losing box among them leaves it dead.
    Board(Game& game, float winnings, const std::array<int, kBoxes>& content, const std::array<bool, kBoxes>& opened);

    // box is 1..15.
    PickResult Pick(int box);
    // Leaves the board with whatever the winnings are now, through the game. Only the first call pays:
    // the window may be closed by more than one road.
    void Quit();

    // The message of a hint box, true for the board as shuffled.
    std::string HintText(int content) const;

    const std::array<int, kBoxes>& BoxContent() const { return content_; }
    const std::array<bool, kBoxes>& BoxOpened() const { return opened_; }
    bool BoardLive() const { return live_; }
    int FiveXBox() const { return fiveXBox_; }
    float Winnings() const { return winnings_; }
    bool Settled() const { return settled_; }  // the player has left it

private:
    Game& game_;
    float winnings_ = 0.0f;
    std::array<int, kBoxes> content_{};
    std::array<bool, kBoxes> opened_{};
    bool live_ = true;
    bool settled_ = false;
    int fiveXBox_ = 1;
};

// The board's shuffle: 20 passes, each swapping every box with a uniformly chosen partner.
std::array<int, kBoxes> ShuffleBoxes(Random& random);

}  // namespace kazoomba
