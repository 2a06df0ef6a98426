// A long session's spins for the history benchmarks: eight coins, reels that vary with the spin's number,
// every fifth win doubled.
#pragma once

#include "play/History.h"
#include "play/PendingMoment.h"

namespace kazoomba::bench {

inline HistoryEntry SpinNumber(int n) {
    HistoryEntry e;
    e.time = 1712345678 + 7 * n;
    SpinRecord& r = e.spin;
    r.spin = n;
    r.coins = 8;
    for (int c = 0; c < kCells; ++c) r.stops[c] = static_cast<std::int16_t>((n * (c + 3) + c) % kStops);
    const StopsPay pay = PayOfStops(r.stops, false, r.coinValue, r.Bet());
    r.linePay = pay.linePay;
    r.win = r.paid = pay.lineWin;
    r.choice = r.win > 0.0f ? PayoffsChoice::Take : PayoffsChoice::None;
    if (r.win > 0.0f && n % 5 == 0) {
        r.choice = PayoffsChoice::Double;
        r.boxes = {{3, TwoX}, {12, FirstTryAgain}, {7, ThreeX}};
        r.paid = r.win * 6.0f;
    }
    r.credits = 1000.0f + static_cast<float>(n % 300);
    return e;
}

}  // namespace kazoomba::bench
