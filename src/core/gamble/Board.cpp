// The Vaz Ivero board's rules.
#include "gamble/Board.h"

#include <algorithm>
#include <utility>

namespace kazoomba {

BoxKind KindOf(int content) {
    if (content >= FiveX && content <= TwoX) return BoxKind::Multiplier;
    if (content >= FirstLosing && content <= LastLosing) return BoxKind::Losing;
    if (content >= FirstTryAgain && content <= LastTryAgain) return BoxKind::TryAgain;
    return BoxKind::Hint;
}

std::string_view BoxContentName(int content) {
    switch (content) {
        case FiveX: return "5X";
        case ThreeX: return "3X";
        case TwoX: return "2X";
        default: break;
    }
    switch (KindOf(content)) {
        case BoxKind::TryAgain: return "Try Again";
        case BoxKind::Hint: return "Hint";
        default: return "Losing box";
    }
}

int MultiplierOf(int content) {
    switch (content) {
        case FiveX: return 5;
        case ThreeX: return 3;
        case TwoX: return 2;
        default: return 1;
    }
}

std::array<int, kBoxes> ShuffleBoxes(Random& random) {
    std::array<int, kBoxes> boxes{};
    for (int i = 0; i < kBoxes; ++i) boxes[i] = i;
    for (int pass = 0; pass < 20; ++pass)
        for (int j = 0; j < kBoxes; ++j) {
            // A source that ever returned 1.0 must not reach past the last box.
            const int k = std::clamp(static_cast<int>(random.Uniform() * kBoxes), 0, kBoxes - 1);
            std::swap(boxes[j], boxes[k]);
        }
    return boxes;
}

Board::Board(float stake, Random& random) : winnings_(stake) {
    random.ReseedFromClock();
    content_ = ShuffleBoxes(random);
    fiveXBox_ = 1 + static_cast<int>(std::find(content_.begin(), content_.end(), FiveX) - content_.begin());
}

Board::Board(float winnings, const std::array<int, kBoxes>& content, const std::array<bool, kBoxes>& opened)
    : winnings_(winnings), content_(content), opened_(opened) {
    fiveXBox_ = 1 + static_cast<int>(std::find(content_.begin(), content_.end(), FiveX) - content_.begin());
    for (int i = 0; i < kBoxes; ++i)
        if (opened_[i] && KindOf(content_[i]) == BoxKind::Losing) live_ = false;
}

std::string HintText(int content, int fiveXBox) {
    if (content == EvenOddHint)
        return fiveXBox % 2 == 0 ? "The 5X multiplier is under one of the even-numbered boxes!"
                                 : "The 5X multiplier is under one of the odd-numbered boxes!";
    if (content == EightHint)
        return fiveXBox <= 8 ? "The 5X multiplier is behind a box numbered eight or less!"
                             : "The 5X multiplier is behind a box numbered eight or more!";
    return {};
}

PickResult Board::Pick(int box) {
    PickResult result;
    const int i = box - 1;
    if (i < 0 || i >= kBoxes || !live_ || opened_[i] || settled_) {
        result.winnings = winnings_;
        return result;
    }
    opened_[i] = true;
    result.opened = true;
    result.content = content_[i];
    switch (KindOf(content_[i])) {
        case BoxKind::Multiplier:
            winnings_ *= static_cast<float>(MultiplierOf(content_[i]));
            break;
        case BoxKind::Losing:
            live_ = false;
            winnings_ = 0.0f;
            result.lost = true;
            break;
        case BoxKind::TryAgain:
            break;
        case BoxKind::Hint:
            result.hint = HintText(content_[i]);
            break;
    }
    result.winnings = winnings_;
    return result;
}

std::optional<float> Board::Quit() {
    if (settled_) return std::nullopt;
    settled_ = true;
    live_ = false;
    return winnings_;
}

}  // namespace kazoomba
