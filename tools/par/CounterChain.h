// How many paid spins a bonus counter takes, on average, from its start to its event.
#pragma once

#include <array>
#include <vector>

#include "RuleTables.h"

namespace kazoomba::par {

// Probabilities of 0..8 counted lines on one paid spin.
using LinesPerSpin = std::array<double, kLines + 1>;

// The counter is a Markov chain over its values, driven by independent spins; this is the expected number of
// spins from `start` until a spin fires the event. Infinite when the event can never happen.
double SpinsToEvent(const CounterSteps& steps, int start, const LinesPerSpin& perSpin);

// The value the counter starts again from after an event fired from `start` (`start` itself if no spin can
// fire it there); in the long run every cycle between two events starts from this value.
int ValueAfterEvent(const CounterSteps& steps, int start);

// Solves a x = b by Gaussian elimination with partial pivoting; empty when a is singular.
std::vector<double> SolveLinear(std::vector<std::vector<double>> a, std::vector<double> b);

}  // namespace kazoomba::par
