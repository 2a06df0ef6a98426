// The machine's displays for assistive technology: credits, wager, coin value, spins and bonus pool as
// labelled values, and after each spin the symbols showing and the result in words.
#pragma once

#include <QWidget>
#include <cstdint>

#include "play/Game.h"
#include "access/Accessible.h"

namespace kazoomba::ui {

class MachineReadouts {
public:
    // The readouts lie over the displays they read, as children of the machine's face.
    explicit MachineReadouts(QWidget& face);

    // The five displays, as the panel now shows them. A spin count gone up mid-spin marks a new spin.
    void ShowValues(const GameState& state);
    // The symbols and the result of a new spin, on the first redraw of the status panel after it has been
    // scored; each spin's result is announced, even one that reads like the last.
    void ShowOutcome(const Game& game);

    Readout& credits() { return *credits_; }
    Readout& wager() { return *wager_; }
    Readout& coinValue() { return *coinValue_; }
    Readout& spins() { return *spins_; }
    Readout& bonusPool() { return *bonusPool_; }
    Readout& reels() { return *reels_; }
    Readout& result() { return *result_; }

private:
    Readout* credits_;
    Readout* wager_;
    Readout* coinValue_;
    Readout* spins_;
    Readout* bonusPool_;
    Readout* reels_;
    Readout* result_;
    std::int32_t spinsSeen_ = 0;
    bool outcomePending_ = false;
};

}  // namespace kazoomba::ui
