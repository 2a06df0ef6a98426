// The nine wheels: strips, the cell-to-strip pattern, the precomputed stopping motion and the resting stops.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/Random.h"
#include "engine/Symbols.h"

namespace kazoomba {

inline constexpr int kCells = 9;
inline constexpr int kStrips = 3;
inline constexpr int kStops = 20;
inline constexpr int kFrames = 131;        // frames 0 to 130; 130 is the resting frame
inline constexpr int kRestFrame = 130;
// The motion is counted in rows of a strip's picture, as the rules count it.
inline constexpr int kStopPitch = 66;      // rows from one stop to the next in a strip picture
inline constexpr int kStripRows = 1408;    // height of a strip picture

// The strips as their 40-digit definitions: two digits a stop, stop 0 first.
inline constexpr std::array<std::string_view, kStrips> kRegularStripText = {
    "0611040511" "0301060002" "0604031104" "0105110211",
    "0611040511" "0301060002" "0611030502" "0401051103",
    "0611040511" "0301060002" "0611030206" "0511020411",
};
inline constexpr std::string_view kBonusStripText = "1109010908" "0908110907" "1109010908" "0908110907";

using StripSet = std::array<std::array<Symbol, kStops>, kStrips>;

// Decodes one 40-digit strip definition.
std::array<Symbol, kStops> DecodeStrip(std::string_view text);
const StripSet& RegularStrips();
const StripSet& BonusStrips();

// The Latin-square pattern of strips over the 3 x 3 window.
constexpr int WheelOf(int cell) {
    constexpr int pattern[kCells] = {0, 1, 2, 1, 2, 0, 2, 0, 1};
    return pattern[cell];
}

// Where the window has each cell is the window's business; the motion says only which row of the strip
// picture shows at the top of the cell.
struct FramePosition {
    std::int16_t offset = 0;
};
using SpinTrajectory = std::array<std::array<FramePosition, kCells>, kFrames>;

struct Wheels {
    StripSet ReelStrip{};
    bool bonusSet = false;
    SpinTrajectory Trajectory{};
    std::array<std::int16_t, kCells> StopIndex{};

    Symbol SymbolAt(int cell) const { return ReelStrip[WheelOf(cell)][StopIndex[cell]]; }
};

// Loads the strips of the set in force (the payoff tables are constants, see Payoffs.h).
void BuildReels(Wheels& wheels, bool bonusMode);

// The row of a strip picture at the top of a cell whose wheel rests on `stop`.
constexpr std::int16_t RestOffset(int stop) { return static_cast<std::int16_t>(stop * kStopPitch + 18); }

// Sets the resting frame shown before the first spin: stop 8 in the even cells, stop 9 in the odd ones.
void InitRestFrame(Wheels& wheels);

// Puts every wheel at rest on the given stop, as a spin that ended there leaves it.
void SetRestStops(Wheels& wheels, const std::array<std::int16_t, kCells>& stops);

// Counts the spin, reseeds, draws every wheel's random starts and precomputes the whole stopping motion.
void ComputeSpin(Wheels& wheels, Random& random, std::int32_t& spins);

// Frame on which cell c comes to rest (and its stop click sounds).
constexpr int StopFrame(int cell) { return 33 + 12 * cell; }

}  // namespace kazoomba
