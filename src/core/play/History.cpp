// The spin record's figures and the ring of the last thousand spins.
#include "play/History.h"

#include <algorithm>

#include "engine/Scoring.h"
#include "play/GameState.h"

namespace kazoomba {

Symbol SpinRecord::SymbolAt(int cell) const {
    if (cell < 0 || cell >= kCells || stops[cell] < 0 || stops[cell] >= kStops) return -1;
    return (bonusSet ? BonusStrips() : RegularStrips())[WheelOf(cell)][stops[cell]];
}

std::array<std::int16_t, kLines> SpinRecord::LineCoins() const { return DealLineCoins(Bet(), coinValue); }

float SpinRecord::LineAmount(int line) const {
    if (line < 0 || line >= kLines || linePay[line] <= 0) return 0.0f;
    return LinePayout(linePay[line], coinValue, LineCoins()[line]);
}

bool SpinRecord::LostOnBoard() const {
    return std::any_of(boxes.begin(), boxes.end(), [](const OpenedBox& b) { return KindOf(b.content) == BoxKind::Losing; });
}

void GameHistory::Add(HistoryEntry entry) {
    if (entry.IsSpin() && !entries_.empty() && entries_.back().IsSpin() &&
        entries_.back().spin.spin == entry.spin.spin) {
        entries_.back() = std::move(entry);
        return;
    }
    spins_ += entry.IsSpin();
    entries_.push_back(std::move(entry));
    while (spins_ > kKeptSpins || entries_.size() > 2 * static_cast<std::size_t>(kKeptSpins)) {
        spins_ -= entries_.front().IsSpin();
        entries_.pop_front();
    }
}

}  // namespace kazoomba
