// Where everything of the Payoffs window sits, in pixels of its client area, and its type sizes in points.
#pragma once

namespace kazoomba::ui::payoffs_layout {

// Every panel lies 7 px from the left edge and 8 px from the right one, and the button frame ends at
// y = 401: the window's 577 x 405 is the area these are drawn in.
inline constexpr int kClientWidth = 577;
inline constexpr int kClientHeight = 405;

inline constexpr int kAutoTakeMs = 1000;

inline constexpr double kTitlePoints = 24;
inline constexpr int kTitleX = 164, kTitleY = 4;

// Lines 1 to 4 in the left column, 5 to 8 in the right one.
inline constexpr int kLinesPerColumn = 4;
inline constexpr int kColumnStep = 300, kRowStep = 50;
inline constexpr int kPanelLeft = 10, kPanelTop = 52, kPanelRight = 266, kPanelBottom = 90;
inline constexpr int kNumberCentreX = 20, kNumberY = 50;
inline constexpr int kAmountX = 160, kAmountY = 60;
inline constexpr int kSymbolX = 45, kSymbolY = 55, kSymbolStep = 36, kSymbolSize = 32;

// A caption ends this far short of its digit panel's outer frame (3 px outside the panel).
inline constexpr int kCaptionGap = 6, kPanelFrame = 3;

inline constexpr double kTotalPoints = 14;
inline constexpr int kTotalLabelX = 330, kTotalLabelY = 275;
inline constexpr int kTotalLeft = 444, kTotalTop = 280, kTotalRight = 561, kTotalBottom = 300;

inline constexpr double kPoolPoints = 18;
inline constexpr int kPoolLabelX = 5, kPoolLabelY = 320;
inline constexpr int kPoolLeft = 166, kPoolTop = 330, kPoolRight = 266, kPoolBottom = 350;

inline constexpr int kFrameX = 336, kFrameY = 320, kFrameWidth = 233, kFrameHeight = 81;
inline constexpr double kButtonPoints = 12;
inline constexpr int kButtonWidth = 105, kButtonHeight = 57;
inline constexpr int kDoubleX = 8, kTakeX = 120, kButtonY = 16;  // within the frame

constexpr int LineColumn(int line) { return line / kLinesPerColumn; }
constexpr int LineRow(int line) { return line % kLinesPerColumn; }
constexpr int LineDx(int line) { return kColumnStep * LineColumn(line); }
constexpr int LineDy(int line) { return kRowStep * LineRow(line); }

}  // namespace kazoomba::ui::payoffs_layout
