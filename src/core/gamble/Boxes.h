// What the fifteen boxes of the Vaz Ivero board hide, and what each kind of content does.
#pragma once

namespace kazoomba {

inline constexpr int kBoxes = 15;

// What a box hides. 3 to 9 are the seven losing boxes, 10 to 12 the three "Try Again" boxes.
enum BoxCode : int {
    FiveX = 0,
    ThreeX = 1,
    TwoX = 2,
    FirstLosing = 3,
    LastLosing = 9,
    FirstTryAgain = 10,
    LastTryAgain = 12,
    EvenOddHint = 13,
    EightHint = 14,
};

enum class BoxKind { Multiplier, Losing, TryAgain, Hint };
BoxKind KindOf(int content);
// 5, 3 or 2 for the multipliers, 1 for anything else.
int MultiplierOf(int content);

}  // namespace kazoomba
