// The tests' door into the game's record: positions the rules reach only after many spins, set up at once.
#pragma once

#include "play/Game.h"

namespace kazoomba {

struct GameDoor {
    static GameState& State(Game& game) { return game.state_; }
    static Wheels& Reels(Game& game) { return game.wheels_; }
};

}  // namespace kazoomba
