// The moments of the machine and which of the player's commands each one lets act.
#pragma once

namespace kazoomba::ui {

enum class Moment {
    Idle,           // ready for the player
    Spinning,       // a spin command runs: reels turning, a bet being placed, its messages
    PresentingWin,  // the Payoffs window shows a win of that spin
    OnBoard,        // the win is staked on the Vaz Ivero board
    BonusSpins,     // the free spins of a SMILE bonus play
    ModalOpen,      // a window opened from a menu (load, save, statistics, ...) has the machine waiting
};

// The bet and spin buttons and keys and every menu command act only when the machine is idle.
constexpr bool CommandsAvailable(Moment m) { return m == Moment::Idle; }

// Auto Spin also acts during a spin's moments, so a run can be switched off; a window opened from a
// menu keeps it waiting like everything else.
constexpr bool AutoSpinAvailable(Moment m) { return m != Moment::ModalOpen; }

constexpr bool MidSpin(Moment m) {
    return m == Moment::Spinning || m == Moment::PresentingWin || m == Moment::OnBoard || m == Moment::BonusSpins;
}

}  // namespace kazoomba::ui
