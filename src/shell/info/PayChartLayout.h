// Where the Payoff Chart draws its rows and places its controls, in pixels of its client area.
#pragma once

namespace kazoomba::ui::pay_chart_layout {

inline constexpr int kClientWidth = 491;
inline constexpr int kClientHeight = 445;

// Regular rows: symbol code i at y = 40 + 40 i, its three pictures at x = 5, 41, 77.
inline constexpr int kRegularPictureX = 5, kRegularTop = 40, kRegularPitch = 40;
inline constexpr int kRegularTimesX = 144;
inline constexpr int kRegularFigureRight = 230, kRegularFigureTop = 38;

// Bonus rows at y = 40 + 36 i, pictures at x = 260, 296, 332.
inline constexpr int kBonusPictureX = 260, kBonusTop = 40, kBonusPitch = 36;
inline constexpr int kBonusTimesX = 400, kBonusTimesTop = 37;
inline constexpr int kBonusFigureRight = 480, kBonusFigureTop = 38;

inline constexpr int kPictureSize = 32, kPicturePitch = 36;
inline constexpr int kRegularTitleX = 50, kBonusTitleX = 290;

struct Rect {
    int x, y, w, h;
};
// The tables as the keyboard reads them, one row a row of pictures; the mark under the row the keyboard is
// on falls in the gap before the next row, clear of the pictures and the figures.
inline constexpr Rect kRegularTable = {0, 36, 240, 7 * kRegularPitch};
inline constexpr Rect kBonusTable = {250, 38, 240, 5 * kBonusPitch};
inline constexpr int kRowMarkHeight = 2;
inline constexpr Rect kSmileLabel = {248, 224, 233, 89};
inline constexpr Rect kFulminaLabel = {16, 328, 465, 81};
inline constexpr Rect kCloseButton = {16, 408, 457, 33};

}  // namespace kazoomba::ui::pay_chart_layout
