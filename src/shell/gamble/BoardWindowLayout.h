// Where everything sits on the Vaz Ivero board window, in pixels of its client area (15 twips each).
#pragma once

namespace kazoomba::ui::board_layout {

struct Box {
    int x, y, w, h;
};

inline constexpr int kClientWidth = 489;   // 7335 twips
inline constexpr int kClientHeight = 367;  // 5505 twips

inline constexpr Box kInstructions = {16, 16, 201, 225};
inline constexpr Box kWinningsCaption = {248, 24, 121, 33};
inline constexpr Box kWinningsFigure = {376, 24, 105, 33};
inline constexpr Box kQuitButton = {16, 272, 129, 81};

inline constexpr int kBoxWidth = 49;
inline constexpr int kBoxHeight = 41;
// The toilet of a losing box stands this far right of the box's left edge (140 twips), top aligned.
inline constexpr int kToiletOffset = 9;
inline constexpr int kToiletSize = 32;

// Top left of box n (1..15): a triangle, rows 56 px apart, neighbours 64 px apart, each row 32 px
// further left than the one above, box 1 at the apex.
inline constexpr Box BoxRect(int box) {
    int row = 0, first = 1;
    while (box >= first + row + 1) {
        first += row + 1;
        ++row;
    }
    const int column = box - first;
    return {296 - 32 * row + 64 * column, 88 + 56 * row, kBoxWidth, kBoxHeight};
}

}  // namespace kazoomba::ui::board_layout
