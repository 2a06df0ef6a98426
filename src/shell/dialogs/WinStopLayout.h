// Where everything of the "Win Stop Value" dialog sits, in pixels of its client area, and its type sizes.
#pragma once

#include <QRect>

#include "art/Palette.h"

namespace kazoomba::ui::win_stop_layout {

inline constexpr int kClientWidth = 494;  // 7410 x 2280 twips
inline constexpr int kClientHeight = 152;
inline constexpr Colour kBackground = Colour::Blue;

inline constexpr QRect kText(8, 4, 478, 98);
inline constexpr double kTextPoints = 9.75;
inline constexpr Colour kTextColour = Colour::White;

inline constexpr QRect kLabel(8, 110, 222, 34);
inline constexpr double kLabelPoints = 18;
inline constexpr Colour kLabelColour = Colour::Yellow;

inline constexpr QRect kEntry(234, 111, 122, 32);
inline constexpr double kEntryPoints = 13.5;

inline constexpr QRect kOkButton(372, 104, 112, 42);
inline constexpr double kOkPoints = 12;

}  // namespace kazoomba::ui::win_stop_layout
