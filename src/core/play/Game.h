// The bank (bets, loans, coin values, new games) and the spin cycle, from the player's press to settlement.
#pragma once

#include <string_view>

#include "engine/Random.h"
#include "engine/Reels.h"
#include "play/Cabinet.h"
#include "play/GameState.h"

namespace kazoomba {

class Game {
public:
    Game(Cabinet& cabinet, Random& random);

    GameState state;
    Wheels wheels;

    // Bank.
    void PlaceCoins(int coins);       // the Bet 1 and Bet 8 buttons
    bool RepeatLastBet();             // the spin may go on
    // The Bet Amount menu: coins placed but not spun go back to Credits, then SelectCoinValue.
    void ChangeCoinValue(int index);
    // Sets the coin value with nothing placed; loading a game replays it and abandons placed coins.
    void SelectCoinValue(int index);
    void Borrow(int index);           // the Borrow menu
    // File > New Game, and once at start. A bet already placed stays placed and is paid from the new
    // game's credits.
    void StartNewGame();
    void RecomputeLineCoins();

    // Spin cycle. Auto spin continues in a loop here, never by recursion.
    void SpinCommand();
    void ToggleAutoSpin();            // the Auto Spin menu item
    void SetAutoSpin(bool on);        // sets the flag and the check mark only

    // Rebuilds the strips of the set in force and has the window redraw them.
    void BuildReels();

    // Settling a presented win.
    void TakeWin();                   // Take: the win goes to Credits
    // Auto spin takes a win by itself unless it reaches the win-stop value.
    bool AutoTakeDue() const;

    std::string Caption() const;

private:
    void PlayOneSpin();  // menus off, outcome drawn and counted, animation, settlement
    void Settle();

    Cabinet& cabinet_;
    Random& random_;
};

}  // namespace kazoomba
