// An SVG chart of where whole sessions of play leave the player's credits.
#pragma once

#include <string>

#include "Sessions.h"

namespace kazoomba::par {

// A histogram of the final credits, the share of sessions in each bar, with the bankroll marked and the
// sessions that went broke in a bar of their own. A complete SVG document.
std::string SessionPlot(const SessionOdds& odds);

}  // namespace kazoomba::par
