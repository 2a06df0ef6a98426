// Where the about box puts its groups, icons, title, text and buttons, in pixels.
#pragma once

namespace kazoomba::ui::about_layout {

struct Rect {
    int x, y, w, h;
};

inline constexpr int kClientWidth = 436;
inline constexpr int kClientHeight = 313;

inline constexpr Rect kLeftGroup = {8, 8, 313, 297};
inline constexpr Rect kRightGroup = {328, 8, 105, 297};

// Inside the left group.
inline constexpr Rect kIcon0 = {8, 16, 32, 32};
inline constexpr Rect kIcon1 = {272, 16, 32, 32};
inline constexpr Rect kTitle = {40, 16, 233, 25};
inline constexpr Rect kText = {8, 64, 297, 225};

// Inside the right group.
inline constexpr Rect kProgramButton = {8, 32, 89, 49};
inline constexpr Rect kOkButton = {8, 224, 89, 49};

}  // namespace kazoomba::ui::about_layout
