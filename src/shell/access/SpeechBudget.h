// How much a listener can be told: a voice says about fifteen characters a second, and news given faster
// than that is news nobody hears.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kazoomba::ui {

class SpeechBudget {
public:
    static constexpr int kCharactersPerSecond = 15;

    // Whether the voice has finished what it was last given by `nowMs`.
    bool Free(std::int64_t nowMs) const { return nowMs >= busyUntil_; }
    // `characters` were given to the voice at `nowMs`: they follow whatever it is still saying.
    void Spend(std::int64_t nowMs, int characters) {
        busyUntil_ = std::max(nowMs, busyUntil_) + std::int64_t(characters) * 1000 / kCharactersPerSecond;
    }

private:
    std::int64_t busyUntil_ = 0;
};

}  // namespace kazoomba::ui
