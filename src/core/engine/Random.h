// The random source of the game: uniform draws in [0, 1), reseeded from a fine clock where the rules say.
#pragma once

#include <cstdint>

namespace kazoomba {

class Random {
public:
    virtual ~Random() = default;
    virtual double Uniform() = 0;          // in [0, 1)
    virtual void ReseedFromClock() = 0;
};

// xoshiro256** with a splitmix64 seeder. A reseed mixes the nanosecond clock and a running counter into
// the current state, so two reseeds in the same second (or nanosecond) still lead to different draws.
class ClockRandom final : public Random {
public:
    ClockRandom();
    explicit ClockRandom(std::uint64_t seed);
    double Uniform() override;
    void ReseedFromClock() override;
    void Seed(std::uint64_t seed);
    std::uint64_t Next();

private:
    std::uint64_t s_[4]{};
    std::uint64_t reseeds_ = 0;
};

}  // namespace kazoomba
