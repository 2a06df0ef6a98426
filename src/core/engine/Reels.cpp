// Strips, BuildReels and the spin outcome with its frame-by-frame motion.
#include "engine/Reels.h"

#include <cmath>

namespace kazoomba {

std::array<Symbol, kStops> DecodeStrip(std::string_view text) {
    std::array<Symbol, kStops> strip{};
    for (int k = 0; k < kStops; ++k)
        strip[k] = static_cast<Symbol>((text[2 * k] - '0') * 10 + (text[2 * k + 1] - '0'));
    return strip;
}

const StripSet& RegularStrips() {
    static const StripSet strips = {DecodeStrip(kRegularStripText[0]), DecodeStrip(kRegularStripText[1]),
                                    DecodeStrip(kRegularStripText[2])};
    return strips;
}

const StripSet& BonusStrips() {
    static const StripSet strips = {DecodeStrip(kBonusStripText), DecodeStrip(kBonusStripText),
                                    DecodeStrip(kBonusStripText)};
    return strips;
}

void BuildReels(Wheels& wheels, bool bonusMode) {
    wheels.ReelStrip = bonusMode ? BonusStrips() : RegularStrips();
    wheels.bonusSet = bonusMode;
}

void InitRestFrame(Wheels& wheels) {
    for (int c = 0; c < kCells; ++c) {
        wheels.Trajectory[kRestFrame][c].offset = static_cast<std::int16_t>(c % 2 ? 9 * kStopPitch + 16 : 8 * kStopPitch + 16);
        // The stops shown are the wheels' stops, so a game saved before its first spin comes back showing them.
        wheels.StopIndex[c] = static_cast<std::int16_t>(c % 2 ? 9 : 8);
    }
}

void SetRestStops(Wheels& wheels, const std::array<std::int16_t, kCells>& stops) {
    for (int c = 0; c < kCells; ++c) {
        wheels.Trajectory[kRestFrame][c].offset = RestOffset(stops[c]);
        wheels.StopIndex[c] = stops[c];
    }
}

namespace {
// Rows a launched wheel moves in the d-th frame after its launch, before the common step of 18.
int Slowdown(int d) {
    if (d <= 5) return 32;
    if (d <= 8) return 16;
    if (d <= 24) return 8;
    if (d <= 27) return 4;
    return 2;
}
}  // namespace

void ComputeSpin(Wheels& wheels, Random& random, std::int32_t& spins) {
    spins += 1;
    random.ReseedFromClock();
    auto& traj = wheels.Trajectory;
    for (int t = 1; t <= kRestFrame; ++t) {
        for (int c = 0; c < kCells; ++c) {
            FramePosition& now = traj[t - 1][c];
            if (t > 34 + 12 * c) {
                now = traj[t - 2][c];
                continue;
            }
            const int d = t - 12 * c;
            int offset;
            if (d <= 1) {
                int draw = static_cast<int>(std::floor(kStops * random.Uniform()));
                if (draw > kStops - 1) draw = kStops - 1;  // a source that breaks its [0, 1) promise
                if (draw < 0) draw = 0;
                offset = kStopPitch * draw + 36;
            } else {
                offset = traj[t - 2][c].offset - Slowdown(d);
            }
            offset -= 18;
            if (offset < 0) offset += kStops * kStopPitch;
            now.offset = static_cast<std::int16_t>(offset);
        }
    }
    for (int c = 0; c < kCells; ++c) {
        wheels.StopIndex[c] = static_cast<std::int16_t>(traj[kRestFrame - 1][c].offset / kStopPitch);
        traj[kRestFrame][c] = traj[kRestFrame - 1][c];
    }
}

}  // namespace kazoomba
