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

    // The game as it stands. Everything outside reads it here and changes it only through the
    // operations below, so each rule about money and counters is written in one place.
    const GameState& State() const { return state_; }
    // The wheels: the strips in force, the last spin's motion and where each wheel rests.
    const Wheels& Reels() const { return wheels_; }

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
    // Installs a saved game that has been read and checked whole: its money, counters and coin value.
    // Coins placed and not spun are abandoned, as choosing a coin value abandons them; the reels are
    // rebuilt.
    void Restore(const GameState& saved);

    // Spin cycle. Auto spin continues in a loop here, never by recursion.
    void SpinCommand();
    void ToggleAutoSpin();            // the Auto Spin menu item

    // Settling a presented win. Every win reaches Credits through TakeWin.
    void TakeWin();                   // Take: the win goes to Credits
    // Double: the win becomes the board's stake and counts as lost until the player leaves the board.
    float StakeOnBoard();
    // The board's Quit: what the player leaves with becomes the spin's win and is taken; the gamble's
    // net result is what it paid minus the stake.
    void LeaveBoard(float winnings);
    // Auto spin takes a win by itself unless it reaches the win-stop value.
    bool AutoTakeDue() const;

    std::string Caption() const;

private:
    void RecomputeLineCoins();
    void SetAutoSpin(bool on);  // sets the flag and the check mark only
    // Rebuilds the strips of the set in force and has the window redraw them.
    void BuildReels();
    void PlayOneSpin();  // menus off, outcome drawn and counted, animation, settlement
    void Settle();

    GameState state_;
    Wheels wheels_;
    Cabinet& cabinet_;
    Random& random_;

    // Tests set up positions the rules reach only after many spins through this door (tests/support).
    friend struct GameDoor;
};

}  // namespace kazoomba
