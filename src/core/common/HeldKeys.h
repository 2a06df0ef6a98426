// Which key events are a player's own presses and releases, told apart from the window system's repeats.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace kazoomba {

enum class KeyEventType { Press, Release };

// One key event as the window system delivered it. `timestamp` is the window system's time of the
// event in milliseconds, 0 when unknown (an event made by a program rather than a keyboard); `ours`
// says whether the machine's own window had the keyboard when it arrived.
struct KeyStroke {
    KeyEventType type = KeyEventType::Press;
    int key = 0;
    std::uint64_t timestamp = 0;
    bool autoRepeat = false;
    bool ours = true;
};

// What a stroke means for the machine: `released` when a hold that began in the machine's window has
// really ended (the command runs now), `pressed` when a new hold begins there (the pressed picture).
struct KeyActs {
    bool released = false;
    bool pressed = false;
};

// Follows every key of interest through its holds, so that a held key gives exactly one press and one
// release however the window system repeats it. An X server repeats a held key as a release and a
// press with one and the same timestamp, and a busy toolkit does not always flag them as repeats; so a
// release is only believed once no press of the same moment follows it, either because the next event
// of that key says so or because Settle() is called after a short wait. A hold whose first press went
// to another window (a dialog, a menu, another program) does nothing here until it ends.
class HeldKeys {
public:
    KeyActs Feed(const KeyStroke& stroke);
    // The releases still waiting for a repeat press that never came were real: their keys, for the
    // holds that began in the machine's window.
    std::vector<int> Settle();
    // Whether some release waits for Settle().
    bool Unsettled() const;
    // Whether a hold that began in the machine's window is in progress.
    bool HeldHere(int key) const;
    // The application lost the keyboard: the holds end without acting, their releases go elsewhere.
    void Forget();

private:
    enum class Hold { None, Ours, Foreign };
    struct State {
        Hold hold = Hold::None;
        bool unsettled = false;          // a release waits to learn whether a repeat press follows
        std::uint64_t releasedAt = 0;    // its timestamp, or that of the last release taken as real
        std::uint64_t lastAt = 0;        // the timestamp of the key's last event, press or release
    };
    std::map<int, State> keys_;
};

}  // namespace kazoomba
