// Held keys told apart from their repeats.
#include "common/HeldKeys.h"

namespace kazoomba {

KeyActs HeldKeys::Feed(const KeyStroke& stroke) {
    KeyActs acts;
    State& s = keys_[stroke.key];
    const bool timed = stroke.timestamp != 0;
    const std::uint64_t lastAt = s.lastAt;
    if (timed) s.lastAt = stroke.timestamp;

    if (stroke.type == KeyEventType::Release) {
        if (s.hold == Hold::None) {
            // The first we hear of this hold is its end, or a repeat's release: it began elsewhere.
            s.releasedAt = stroke.timestamp;
            if (timed && !stroke.autoRepeat) s.hold = Hold::Foreign, s.unsettled = true;
            return acts;
        }
        if (!timed) {
            // A program's event has no time to pair by: its flag is all there is.
            if (!stroke.autoRepeat) {
                acts.released = s.hold == Hold::Ours;
                s.hold = Hold::None;
            }
            return acts;
        }
        s.unsettled = true;
        s.releasedAt = stroke.timestamp;
        return acts;
    }

    if (s.unsettled) {
        s.unsettled = false;
        // The press of a repeat comes with its release's timestamp: the hold goes on.
        if (timed && stroke.timestamp == s.releasedAt) return acts;
        acts.released = s.hold == Hold::Ours;
        s.hold = Hold::None;
    }
    if (s.hold != Hold::None) {
        // A repeat always comes with the release before it, at its own time. A press later than the
        // key's last event with no release between is a new press: the last hold's release went to a
        // window we never heard from (the Return that chose a menu item, let go in the window it opened).
        const bool releaseUnseen = timed && !stroke.autoRepeat && lastAt != 0 && stroke.timestamp > lastAt;
        if (!releaseUnseen) return acts;  // a repeat, flagged or not
        s.hold = Hold::None;
    }
    if (stroke.autoRepeat || !stroke.ours || (timed && stroke.timestamp == s.releasedAt)) {
        // A repeat of a hold whose start we never saw, or one whose release Settle() took for real
        // too early, or a press that went to another window: nothing acts until it is let go.
        s.hold = Hold::Foreign;
        return acts;
    }
    s.hold = Hold::Ours;
    acts.pressed = true;
    return acts;
}

std::vector<int> HeldKeys::Settle() {
    std::vector<int> released;
    for (auto& [key, s] : keys_) {
        if (!s.unsettled) continue;
        s.unsettled = false;
        if (s.hold == Hold::Ours) released.push_back(key);
        s.hold = Hold::None;
    }
    return released;
}

bool HeldKeys::Unsettled() const {
    for (const auto& [key, s] : keys_)
        if (s.unsettled) return true;
    return false;
}

bool HeldKeys::HeldHere(int key) const {
    const auto it = keys_.find(key);
    return it != keys_.end() && it->second.hold == Hold::Ours;
}

void HeldKeys::Forget() {
    for (auto& [key, s] : keys_) {
        s.hold = Hold::None;
        s.unsettled = false;
    }
}

}  // namespace kazoomba
