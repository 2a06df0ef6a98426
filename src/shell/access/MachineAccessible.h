// The machine's displays for assistive technology: credits, wager, coin value, spins and bonus pool as
// labelled values, after each spin the symbols showing and the result in words, and the machine's news
// spoken as it happens.
#pragma once

#include <QWidget>
#include <cstdint>

#include "play/Game.h"
#include "access/Accessible.h"
#include "access/Herald.h"

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
    void ShowReady();

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
    float wagerTold_ = 0.0f, creditsTold_ = 0.0f, coinTold_ = 0.0f;
    std::int16_t bellsTold_ = 0, smilesTold_ = 0;
    QString bonusWords_;
    QString heldNews_;  // the outcome of a spin still settling
    QString CounterNews(const GameState& s);
};

}  // namespace kazoomba::ui
