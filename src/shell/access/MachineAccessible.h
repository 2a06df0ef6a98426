// The machine's displays for assistive technology: credits, wager, coin value, spins and bonus pool as
// labelled values, after each spin the symbols showing and the result in words, and the machine's news
// spoken as it happens.
#pragma once

#include <QWidget>
#include <cstdint>

#include "play/Game.h"
#include "play/MachineMoment.h"
#include "access/Accessible.h"
#include "access/Herald.h"
#include "access/SpeechBudget.h"

namespace kazoomba::ui {

class MachineReadouts {
public:
    // The readouts lie over the displays they read, as children of the machine's face.
    explicit MachineReadouts(QWidget& face);

    // The five displays, as the panel now shows them. A spin count gone up mid-spin marks a new spin.
    // With the machine ready, a new wager, coin value or credit figure is news.
    void ShowValues(const GameState& state);
    // The symbols and the result of a new spin, on the first redraw of the status panel after it has been
    // scored; each spin's result is announced, even one that reads like the last. "No win" is news; a
    // win is told by the window that presents it.
    void ShowOutcome(const Game& game);
    // A presented win has been settled: the credits it left, and the bonus counters moved by the spin.
    void ShowSettled(const GameState& state);
    // A free bonus spin begins; `left` counts it and those after it.
    void ShowBonusSpin(int left);
    // The spin has settled and the machine takes the player's keys again: a spin that won nothing is
    // told now, when Enter plays on, not while its sound still holds the machine.
    void ShowReady(const GameState& state);
    // Auto spin switched on or off. A run of auto spins is told as a voice can keep up with it: one short
    // piece a spin at most, left out while the last is still being said, but a pool or bonus spins won
    // in full; and once its last spin and the bonus spins it won have settled, what the run played, won
    // and left.
    void ShowAutoSpin(bool on, const GameState& state);
    // The player asked for the symbols showing: told when the reels are at rest, and nothing mid-spin,
    // where the outcome tells them as they stop.
    void TellReels(const Game& game);
    // The clock that paces what a run of auto spins says.
    void SetClock(const Clock* clock) { clock_ = clock; }

    Readout& credits() { return *credits_; }
    Readout& wager() { return *wager_; }
    Readout& coinValue() { return *coinValue_; }
    Readout& spins() { return *spins_; }
    Readout& bonusPool() { return *bonusPool_; }
    Readout& reels() { return *reels_; }
    Readout& result() { return *result_; }
    Herald& herald() { return herald_; }

private:
    Readout* credits_;
    Readout* wager_;
    Readout* coinValue_;
    Readout* spins_;
    Readout* bonusPool_;
    Readout* reels_;
    Readout* result_;
    Herald herald_;
    std::int32_t spinsSeen_ = 0;
    bool outcomePending_ = false;
    // What the player was last told, so that only changes are news.
    bool told_ = false;
    float wagerTold_ = 0.0f, creditsTold_ = 0.0f, coinTold_ = 0.0f, poolTold_ = 0.0f;
    std::int16_t bellsTold_ = 0, smilesTold_ = 0;
    QString bonusWords_;
    QString heldNews_;  // the outcome of a spin still settling
    QString settledCounters_;  // what a win moved, told with the credits it leaves
    bool heldInFull_ = true;
    QString CounterNews(const GameState& s);
    QString PoolNews(const GameState& s);

    // Told always; told only when the voice has finished the last piece, during a run of auto spins.
    void Say(const QString& news);
    void SayIfHeard(const QString& news);
    QString RunSummary(const GameState& s) const;

    const Clock* clock_ = nullptr;
    SpeechBudget budget_;
    // The run of auto spins under way, and how it stood when it began.
    bool inRun_ = false, runEnding_ = false;
    int runSpins_ = 0;
    double runCredits_ = 0.0, runWagers_ = 0.0, runBorrowed_ = 0.0;
    // The spin being settled: what it showed, and whether it is told in full even mid-run.
    QString resultWords_, awardWords_;
    std::int16_t bonusSpinsAtStart_ = 0;
    bool toldInFull_ = false, winStopped_ = false;
};

}  // namespace kazoomba::ui
