// Where the machine stands in a spin, and which of the player's commands each moment lets act: the one
// answer every menu item, button, key and accessible action is enabled from.
#pragma once

#include <cstdint>

namespace kazoomba {

enum class MachineMoment {
    Idle,           // ready for the player
    ReelsMoving,    // the wheels turn
    Settling,       // a spin is being settled: its win or no-win sound, its bet or its messages
    PresentingWin,  // the Payoffs window shows the spin's win
    OnBoard,        // the win is staked on the Vaz Ivero board
    BonusSpins,     // the free spins of a SMILE award play
};

// What the player may do in a moment. `windowOpen` says a window the player opened (a menu's window, a
// message) waits over the machine: everything but the window waits with it.
struct Commands {
    bool buttons = false;   // Spin, Bet 1, Bet 8, and Enter, B and backslash
    bool menus = false;     // File, Options, Bank and Help, and every item and sub-menu in them
    bool autoPlay = false;  // the "Auto Spin" item, so a run can be switched off mid-spin
};

constexpr Commands Available(MachineMoment moment, bool windowOpen) {
    Commands c;
    const bool idle = moment == MachineMoment::Idle;
    c.buttons = idle && !windowOpen;
    c.menus = idle && !windowOpen;
    // Mid-spin the windows of the spin itself (Payoffs, board) are open; Auto Play stays offered then. A
    // window the player opened at rest keeps it waiting like everything else.
    c.autoPlay = !(idle && windowOpen);
    return c;
}

constexpr bool MidSpin(MachineMoment moment) { return moment != MachineMoment::Idle; }

// The frame of a reel motion due `elapsedMs` after it began, each frame lasting `frameMs` (the speed's
// delay and the tick that must pass beyond it): -1 before the first frame, `lastFrame` from the end on.
// A late tick draws the frame of its time, skipping those it missed, so a spin never stretches.
constexpr int FrameDue(std::int64_t elapsedMs, int frameMs, int lastFrame) {
    if (frameMs <= 0) return lastFrame;
    const std::int64_t f = elapsedMs / frameMs - 1;
    return f < -1 ? -1 : f > lastFrame ? lastFrame : static_cast<int>(f);
}

// The clock a spin's time is read from: milliseconds from any fixed start. The window hands in a steady
// clock; tests move one by hand, so a whole spin runs in no time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t Milliseconds() const = 0;
};

}  // namespace kazoomba
