// How swingy the machine is: the spread of a paid spin's whole return and what it means over many spins.
#pragma once

#include <array>

#include "ParSheet.h"

namespace kazoomba::par {

// Where the return to player stays, at 90 % confidence, after a number of paid spins.
struct ReturnBand {
    int spins = 0;
    double low = 0.0;
    double high = 0.0;
};

// Money in coins per coin wagered.
struct Volatility {
    bool exact = false;      // worked out from the rules; otherwise estimated by simulation
    double meanWhole = 0.0;  // what a paid spin returns on average, all told (the total return to player)
    double sdWhole = 0.0;    // standard deviation of a paid spin's whole return
    double index90 = 0.0;    // volatility index: 1.645 sd
    double index95 = 0.0;    //                   1.96 sd
    std::array<ReturnBand, 4> bands{};  // after 100, 1,000, 10,000 and 100,000 paid spins
};

// The whole return of a paid spin is its line win, plus the bonus spins it is awarded, plus the pool it
// wins. The counters and the pool carry over from spin to spin, so this follows them as one Markov chain over
// (SMILE counter, Globe counter) with the first two moments of the pool standing in each state; the moments are
// those of the long run. Not exact (meanWhole and sdWhole NaN) if the chain cannot be solved.
Volatility ExactVolatility(const Analysis& analysis, const ParSheet& sheet);

// The figures that follow from a mean and a spread, for an estimate.
Volatility VolatilityFrom(double meanWhole, double sdWhole, bool exact);

}  // namespace kazoomba::par
