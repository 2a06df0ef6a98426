// Optimal stopping on the Vaz Ivero board: expectimax over what the player has seen.
//
// Boxes that the hints cannot tell apart are interchangeable, so a state only needs how many boxes of each
// hint class are still closed, which special boxes have been found, and what the hints said. Given that, the
// 5X is equally likely to be behind any closed box the hints allow, and every other content is equally likely
// to be behind any closed box that does not hold the 5X.
#include "BoardOdds.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace kazoomba::par {
namespace {
constexpr double kTie = 1e-12;  // best play quits unless going on is really better
}

BoardOdds::BoardOdds() {
    int onePickSum = 0;
    for (int code = 0; code < kBoxes; ++code) {
        switch (KindOf(code)) {
            case BoxKind::Multiplier:
                if (code == FiveX) fiveIndex_ = static_cast<int>(multiplierCode_.size());
                multiplierCode_.push_back(code);
                multiplierValue_.push_back(MultiplierOf(code));
                break;
            case BoxKind::Hint: hintCode_.push_back(code); break;
            case BoxKind::TryAgain: ++tryAgainBoxes_; break;
            case BoxKind::Losing: ++losingBoxes_; break;
        }
        if (KindOf(code) != BoxKind::Losing) onePickSum += MultiplierOf(code);
    }
    onePick_ = static_cast<double>(onePickSum) / kBoxes;
    if (hintCode_.size() > 4) throw std::logic_error("more hints than the board search handles");

    // What each hint says with the 5X behind each box.
    messages_.resize(hintCode_.size());
    std::map<std::vector<int>, int> classIndex;
    for (int box = 1; box <= kBoxes; ++box) {
        std::vector<int> said;
        for (std::size_t h = 0; h < hintCode_.size(); ++h) {
            const std::string text = HintText(hintCode_[h], box);
            auto& known = messages_[h];
            auto it = std::find(known.begin(), known.end(), text);
            if (it == known.end()) it = known.insert(known.end(), text);
            said.push_back(static_cast<int>(it - known.begin()));
        }
        auto [entry, added] = classIndex.try_emplace(said, static_cast<int>(classes_.size()));
        if (added) classes_.push_back({said, {}});
        classes_[entry->second].boxes.push_back(box);
        classOf_[box] = entry->second;
    }
    if (classes_.size() > 4) throw std::logic_error("more hint classes than the board search handles");

    stateCount_ = 1;
    for (std::size_t c = 0; c < classes_.size(); ++c) {
        classRadix_[c] = classes_[c].boxes.size() + 1;
        stateCount_ *= classRadix_[c];
    }
    stateCount_ <<= multiplierCode_.size() + hintCode_.size();
    for (const auto& said : messages_) stateCount_ *= said.size() + 1;
    stateCount_ *= static_cast<std::size_t>(tryAgainBoxes_ + 1);
    memo_.resize(stateCount_);
    known_.assign(stateCount_, false);

    best_ = Solve(StateOf(Fresh()));
}

BoardOdds::State BoardOdds::StateOf(const BoardKnowledge& known) const {
    State s;
    for (int box = 1; box <= kBoxes; ++box)
        if (!known.opened[box - 1]) ++s.unopened[classOf_[box]];
    s.multipliers = known.multipliersFound;
    s.hints = known.hintsFound;
    if (FiveXHidden(s)) s.message = known.hintMessage;
    s.tryAgain = known.tryAgainFound;
    return s;
}

std::size_t BoardOdds::KeyOf(const State& s) const {
    std::size_t key = 0;
    for (std::size_t c = 0; c < classes_.size(); ++c) key = key * classRadix_[c] + s.unopened[c];
    key = (key << multiplierCode_.size()) | s.multipliers;
    key = (key << hintCode_.size()) | s.hints;
    for (std::size_t h = 0; h < messages_.size(); ++h) key = key * (messages_[h].size() + 1) + s.message[h];
    return key * static_cast<std::size_t>(tryAgainBoxes_ + 1) + static_cast<std::size_t>(s.tryAgain);
}

bool BoardOdds::Consistent(const State& s, int cls) const {
    for (std::size_t h = 0; h < messages_.size(); ++h)
        if (s.message[h] != 0 && s.message[h] - 1 != classes_[cls].hintMessage[h]) return false;
    return true;
}

const BoardOdds::Outcome& BoardOdds::Solve(const State& s) const {
    const std::size_t key = KeyOf(s);
    if (known_[key]) return memo_[key];

    Outcome best;  // quit: keep the winnings as they are
    const int classes = static_cast<int>(classes_.size());
    int closed = 0, fiveRoom = 0;
    for (int c = 0; c < classes; ++c) {
        closed += s.unopened[c];
        if (Consistent(s, c)) fiveRoom += s.unopened[c];
    }
    const bool fiveHidden = FiveXHidden(s);

    for (int c = 0; c < classes; ++c) {
        if (s.unopened[c] == 0) continue;
        State after = s;
        --after.unopened[c];
        // The chance that this box is the 5X, and the chance of each other single content.
        const double five = fiveHidden && Consistent(s, c) ? 1.0 / fiveRoom : 0.0;
        const int others = closed - (fiveHidden ? 1 : 0);
        const double each = others > 0 ? (1.0 - five) / others : 0.0;
        double value = 0.0, loss = each * losingBoxes_;
        auto go = [&](double p, double factor, const State& next) {
            if (p <= 0.0) return;
            const Outcome& o = Solve(next);
            value += p * factor * o.value;
            loss += p * static_cast<double>(o.loss);
        };
        for (std::size_t m = 0; m < multiplierCode_.size(); ++m) {
            if (s.multipliers & 1u << m) continue;
            State next = after;
            next.multipliers |= 1u << m;
            if (static_cast<int>(m) == fiveIndex_) {
                next.message.fill(0);  // with the 5X found the hints no longer matter
                go(five, multiplierValue_[m], next);
            } else {
                go(each, multiplierValue_[m], next);
            }
        }
        for (std::size_t h = 0; h < hintCode_.size(); ++h) {
            if (s.hints & 1u << h) continue;
            State next = after;
            next.hints |= 1u << h;
            if (!fiveHidden) {
                go(each, 1.0, next);
                continue;
            }
            // The hint is true of the 5X, which lies behind one of the other closed boxes the hints allow.
            std::vector<int> room(messages_[h].size(), 0);
            int total = 0;
            for (int d = 0; d < classes; ++d)
                if (Consistent(s, d)) {
                    room[classes_[d].hintMessage[h]] += after.unopened[d];
                    total += after.unopened[d];
                }
            for (std::size_t j = 0; j < room.size(); ++j) {
                if (room[j] == 0) continue;
                State told = next;
                told.message[h] = static_cast<int>(j) + 1;
                go(each * room[j] / total, 1.0, told);
            }
        }
        if (s.tryAgain < tryAgainBoxes_) {
            State next = after;
            ++next.tryAgain;
            go(each * (tryAgainBoxes_ - s.tryAgain), 1.0, next);
        }
        if (value > best.value + kTie) best = {value, static_cast<float>(loss), static_cast<std::int8_t>(c)};
    }
    memo_[key] = best;
    known_[key] = true;
    return memo_[key];
}

int BoardOdds::BestBox(const BoardKnowledge& known) const {
    std::lock_guard lock(solving_);
    const Outcome& o = Solve(StateOf(known));
    if (o.pickClass < 0) return 0;
    for (int box : classes_[o.pickClass].boxes)
        if (!known.opened[box - 1]) return box;
    return 0;
}

double BoardOdds::ValueOf(const BoardKnowledge& known) const {
    std::lock_guard lock(solving_);
    return Solve(StateOf(known)).value;
}

void BoardOdds::Learn(BoardKnowledge& known, int box, const PickResult& result) const {
    if (!result.opened) return;
    known.opened[box - 1] = true;
    switch (KindOf(result.content)) {
        case BoxKind::Multiplier: {
            const auto at = std::find(multiplierCode_.begin(), multiplierCode_.end(), result.content);
            known.multipliersFound |= 1u << (at - multiplierCode_.begin());
            break;
        }
        case BoxKind::Hint: {
            const auto h = std::find(hintCode_.begin(), hintCode_.end(), result.content) - hintCode_.begin();
            known.hintsFound |= 1u << h;
            const auto& said = messages_[h];
            const auto j = std::find(said.begin(), said.end(), result.hint) - said.begin();
            if (j < static_cast<long>(said.size())) known.hintMessage[h] = static_cast<int>(j) + 1;
            break;
        }
        case BoxKind::TryAgain: ++known.tryAgainFound; break;
        case BoxKind::Losing: break;
    }
}

}  // namespace kazoomba::par
