// How many paid spins a bonus counter takes, on average, from its start to its event.
#pragma once

#include <array>

#include "RuleTables.h"

namespace kazoomba::par {

// Probabilities of 0..8 counted lines on one paid spin.
using LinesPerSpin = std::array<double, kLines + 1>;

// The counter is a Markov chain over its values, driven by independent spins; this is the expected number of
// spins from `start` until a spin fires the event. Infinite when the event can never happen.
double SpinsToEvent(const CounterSteps& steps, int start, const LinesPerSpin& perSpin);

}  // namespace kazoomba::par
