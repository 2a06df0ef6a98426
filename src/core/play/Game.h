// The bank (bets, loans, coin values, new games) and the spin cycle, from the player's press to settlement.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/Random.h"
#include "engine/Reels.h"
#include "play/Cabinet.h"
#include "play/GameState.h"
#include "play/PendingMoment.h"

namespace kazoomba {

inline constexpr std::string_view kMomentRefusedTitle = "Spin Not Restored";

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
    // Double: a fresh board with the win as its stake, kept with the game after it opens and after
    // every box that opens; Quit pays what it shows. A board brought back at start is already open.
    Board& OpenBoard(Random& random);
    PickResult PickBox(int box);
    void QuitBoard();
    Board* OpenedBoard() { return board_ ? &*board_ : nullptr; }
    // Auto spin takes a win by itself unless it reaches the win-stop value.
    bool AutoTakeDue() const;

    std::string Caption() const;

    // Loading: installs a game whose every field has been checked, as one step.
    void Restore(const GameState& loaded);
    // The moment of the spin in play, saved with the game at every checkpoint.
    const PendingMoment& Moment() const { return moment_; }
    // Start-up after Restore: installs a moment that CheckPendingMoment passed, or keeps why one was
    // refused, and ResumeMoment, once the window shows, carries the spin on from there (or tells the
    // refusal). A bet is never taken again and a win never paid twice; only the animation is skipped.
    void RestoreMoment(const PendingMoment& moment);
    void RefuseMoment(std::string reason);
    void ResumeMoment();

private:
    void PlayOneSpin();  // menus off, outcome drawn and counted, animation, settlement
    void Settle();
    void PresentScoredWin();
    void EndSettlement();
    void PlayBonusSpins();
    void KeepMoment(MomentPhase phase);
    void KeepBoard();

    PendingMoment moment_;
    std::string refusal_;
    std::optional<Board> board_;

    Cabinet& cabinet_;
    Random& random_;
};

}  // namespace kazoomba
