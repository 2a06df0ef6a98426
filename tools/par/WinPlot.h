// An SVG chart of the distribution of a paid spin's line win.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ParSheet.h"

namespace kazoomba::par {

// Exact chances on log-log axes, one stem per possible win, with the simulated frequencies as dots when
// `simulated` (paid spins by line win in coins) is given. A complete SVG document.
// The smallest of 1, 2 or 5 times a power of ten at or above v: the charts' steps and axis ends.
double NiceAbove(double v);

std::string WinPlot(const ParSheet& sheet, const std::vector<std::uint64_t>* simulated = nullptr);

}  // namespace kazoomba::par
