// The clock-reseeded generator.
#include "engine/Random.h"

#include <chrono>

namespace kazoomba {
namespace {
std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
}  // namespace

ClockRandom::ClockRandom() { ReseedFromClock(); }
ClockRandom::ClockRandom(std::uint64_t seed) { Seed(seed); }

void ClockRandom::Seed(std::uint64_t seed) {
    for (auto& word : s_) word = SplitMix(seed);
}

std::uint64_t ClockRandom::Next() {
    const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
}

double ClockRandom::Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

void ClockRandom::ReseedFromClock() {
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    std::uint64_t mix = static_cast<std::uint64_t>(now) ^ Rotl(static_cast<std::uint64_t>(wall), 29) ^ (++reseeds_ * 0xD1B54A32D192ED03ull);
    for (auto& word : s_) word ^= SplitMix(mix);
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) s_[0] = 1;
}

}  // namespace kazoomba
