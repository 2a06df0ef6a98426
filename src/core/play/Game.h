// The bank (bets, loans, coin values, new games) and the spin cycle, from the player's press to settlement.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Random.h"
#include "engine/Reels.h"
#include "play/Cabinet.h"
#include "play/GameState.h"
#include "play/History.h"
#include "play/MachineMoment.h"
#include "play/PendingMoment.h"

namespace kazoomba {

inline constexpr std::string_view kMomentRefusedTitle = "Spin Not Restored";

class Game {
public:
    Game(Cabinet& cabinet, Random& random);
    ~Game();

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
    // Once at start. A bet already placed stays placed and is paid from the new game's credits.
    void StartNewGame();
    // File > New Game: a new game as above, marked in the history where it begins.
    void NewGame();
    // Installs a saved game that has been read and checked whole: its money, counters and coin value.
    // Coins placed and not spun are abandoned, as choosing a coin value abandons them; the reels are
    // rebuilt.
    void Restore(const GameState& saved);

    // Spin cycle. A spin is a sequence of steps taken one after another; where a step starts something
    // that takes time (the motion, a sound, a window), the cycle stops there and Proceed carries it on
    // once the cabinet reports it over. Auto spin continues in the same loop, never by recursion.
    void SpinCommand();
    void Proceed();
    // Where the machine stands; every command is available or not from it.
    MachineMoment CurrentMoment() const;
    // A spin command (or a spin brought back at start) is under way and will come to rest by itself.
    bool CommandRunning() const { return step_ != Step::Idle; }
    void ToggleAutoSpin();            // the Auto Spin menu item
    void StopAutoSpin();              // as unchecking it; nothing when auto spin is off
    // The Win Stop Value dialog's answer, when the cabinet asked it and did not answer at once.
    void SetWinStopValue(const std::string& text);

    // Settling a presented win. Every win reaches Credits through TakeWin.
    void TakeWin();                   // Take: the win goes to Credits
    // Double: the win becomes the board's stake and counts as lost until the player leaves the board.
    float StakeOnBoard();
    // The board's Quit: what the player leaves with becomes the spin's win and is taken; the gamble's
    // net result is what it paid minus the stake.
    void LeaveBoard(float winnings);
    // The board of a Double, kept with the game after it opens and after every box that opens. A board
    // brought back at start is already open; OpenedBoard is null once the player has left it.
    Board& OpenBoard(Random& random);
    PickResult PickBox(int box);
    void QuitBoard();
    Board* OpenedBoard();
    const Board* OpenedBoard() const;
    // A save that guards a moment is on the disk (or has failed, and been told): what waited for it goes on.
    void Saved();
    // Runs `then` once every guarding save under way is on the disk; at once when none is.
    void WhenSaved(std::function<void()> then);
    bool SavePending() const { return guardingSaves_ > 0; }
    // Auto spin takes a win by itself unless it reaches the win-stop value: while it is on, and for the
    // spin a run started even if the run was stopped before that spin's win showed.
    bool AutoTakeDue() const;

    std::string Caption() const;

    // The game history: the last thousand spins, each recorded as it is settled, and the marks of the games
    // begun. The player's history outlives the game: a new game or a game loaded adds to it.
    const GameHistory& History() const { return history_; }
    // A game loaded from a slot (not the game brought back at start) is marked in the history.
    void NoteGameLoaded(const std::string& name);
    // What was recorded since the last call, oldest first: the spin settled and the games begun, for the
    // save that follows (the checkpoint). At most the history's length is kept for a caller that never asks.
    std::vector<HistoryEntry> TakeRecords();
    // The history read back from its file, which is older than anything recorded since the game came on.
    void KeepLoadedHistory(const std::vector<HistoryEntry>& loaded);

    // The moment of the spin in play, saved with the game at every checkpoint.
    const PendingMoment& Moment() const { return moment_; }
    // Start-up after Restore: installs a moment that CheckPendingMoment passed, or keeps why one was
    // refused, and ResumeMoment, once the window shows, carries the spin on from there (or tells the
    // refusal). A bet is never taken again and a win never paid twice; only the animation is skipped.
    void RestoreMoment(const PendingMoment& moment);
    void RefuseMoment(std::string reason);
    void ResumeMoment();

private:
    // The steps of a spin command, in the order they are taken.
    enum class Step {
        Idle,       // no spin command runs
        Bet,        // a round of the command begins: the bet is checked and taken
        Motion,     // the outcome, kept on the disk, is shown moving
        Score,      // the motion is over: the outcome is scored and sounded
        Sound,      // the win, kept on the disk, is sounded
        Present,    // a win is shown or, minimized or closing, taken
        Presented,  // the win has been taken or doubled and the board left
        Settled,    // the buttons and menus come back; the moment is kept
        Bonus,      // the next bonus spin starts, or the bonus run ends
        Next,       // auto spin starts the next round, or the command ends
        Finish,     // the banner comes back
    };
    // What the cycle waits for when it stops; Proceed takes it on from there.
    enum class Wait { None, Reels, Save, Sound, Win, Board };

    void Run();
    void TakeStep();
    // Starts what the cabinet's call begins; the cycle waits for it unless it is already over.
    void Await(Wait what, const std::function<bool()>& start);
    // Tells the cabinet the moment, when it has changed since it last heard.
    void TellMoment();
    void SetStep(Step step);
    void RecomputeLineCoins();
    void SetAutoSpin(bool on);  // sets the flag and the check mark only
    // Rebuilds the strips of the set in force and has the window redraw them.
    void BuildReels();
    void StartOneSpin();  // menus off, outcome drawn, counted and kept
    void StartMotion();
    void Score();
    void SoundWin();
    void PresentScoredWin();
    void EndSettlement();
    void NextBonusSpin();
    void KeepMoment(MomentPhase phase);
    // The settled spin's record, for the history and the checkpoint that follows.
    void RecordSpin();
    void Record(HistoryEntry entry);
    void KeepBoard();
    // Has the cabinet save the game; true when the save guards what follows and is under way.
    bool Checkpoint(bool guards);

    Step step_ = Step::Idle;
    Wait wait_ = Wait::None;
    bool running_ = false;   // Run is taking steps: a Proceed from inside a cabinet call only clears the wait
    bool played_ = false;    // this command has played a spin: the banner comes back after it
    bool resuming_ = false;  // the command carries on a spin brought back at start: no auto spin follows
    bool runSpin_ = false;   // the spin under way was started with auto spin on
    bool bonusRun_ = false;  // the "Bonus Spin" caption shows
    MachineMoment told_ = MachineMoment::Idle;  // the moment the cabinet last heard of
    int guardingSaves_ = 0;                      // guarding saves not yet on the disk
    std::vector<std::function<void()>> afterSaves_;

    PendingMoment moment_;
    std::string refusal_;
    std::unique_ptr<Board> board_;

    // The spin being settled, for its record: what the player did with its win, the boxes opened in the
    // order they were, and the pool won (cleared from the state before the spin is settled).
    PayoffsChoice choice_ = PayoffsChoice::None;
    std::vector<int> picks_;
    float poolWon_ = 0.0f;
    GameHistory history_;
    std::vector<HistoryEntry> unsaved_;

    GameState state_;
    Wheels wheels_;
    Cabinet& cabinet_;
    Random& random_;

    // Tests set up positions the rules reach only after many spins through this door (tests/support).
    friend struct GameDoor;
};

}  // namespace kazoomba
