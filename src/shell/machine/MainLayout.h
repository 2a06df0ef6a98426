// The main window's geometry, in pixels of its client area.
#pragma once

#include <array>

#include "art/Palette.h"

namespace kazoomba::ui::layout {

inline constexpr int kClientWidth = 611;   // what a 617 x 500 Windows 95 frame leaves
inline constexpr int kClientHeight = 456;

inline constexpr int kBannerWidth = 640;
inline constexpr int kBannerHeight = 20;

// The nine cells of the 3 x 3 window, row by row from the top left; each shows 96 rows of its strip.
inline constexpr int kCellWidth = 64, kCellHeight = 96;
constexpr int CellLeft(int cell) { return 170 + 80 * (cell % 3); }
constexpr int CellTop(int cell) { return 67 + 112 * (cell / 3); }

inline constexpr int kReelPanelX1 = 124, kReelPanelY1 = 25, kReelPanelX2 = 441, kReelPanelY2 = 424;

struct PayLineStroke {
    int x1, y1, x2, y2, width;
    Colour colour;
    const char* number;
    int numberX, numberY;  // centre x and top y of the embossed number
};
inline constexpr std::array<PayLineStroke, 8> kPayLineStrokes = {{
    {161, 115, 405, 115, 5, kLineColours[0], "1", 148, 97},
    {161, 227, 405, 227, 5, kLineColours[1], "2", 148, 209},
    {161, 339, 405, 339, 5, kLineColours[2], "3", 148, 321},
    {202, 58, 202, 398, 5, kLineColours[3], "4", 202, 23},
    {282, 58, 282, 398, 5, kLineColours[4], "5", 282, 23},
    {362, 58, 362, 398, 5, kLineColours[5], "6", 362, 23},
    {162, 57, 403, 398, 3, kLineColours[6], "7", 150, 25},
    {403, 57, 162, 398, 3, kLineColours[7], "8", 150, 383},
}};

struct Point { int x, y; };
inline constexpr std::array<Point, 8> kCoinMarkers = {{
    {410, 106}, {410, 218}, {410, 330}, {188, 403}, {268, 403}, {348, 403}, {410, 403}, {410, 27},
}};
inline constexpr int kCoinCellW = 31, kCoinCellH = 21;

inline constexpr int kLogoX = 3, kLogoY = 314, kLogoW = 107, kLogoH = 118;

inline constexpr int kButtonX = 472, kButtonW = 127, kButtonH = 75;
inline constexpr int kSpinButtonY = 352, kBet1ButtonY = 192, kBet8ButtonY = 272;

// Status panel: glyph positions and caption placements.
inline constexpr int kCoinValueX = 458, kCoinValueY = 50;
inline constexpr int kCreditsX = 458, kCreditsY = 100;
inline constexpr int kSpinsX = 512, kSpinsY = 150;
inline constexpr int kWagerX = 538, kWagerY = 50;
inline constexpr int kPoolX = 0, kPoolY = 50;
inline constexpr int kCaptionRight = 605;

// Bonus markers: Globes at (5 + 30i, 96), SMILEs at (5 + 30 (i mod 3), 176 + 30 (i div 3)).
inline constexpr int kMarkerX = 5, kMarkerStep = 30, kGlobeRowY = 96, kSmileRowY = 176;

// Caption controls on the left, and the bonus-spin caption over the banner.
inline constexpr int kPoolCaptionX = 3, kPoolCaptionY = 78, kPoolCaptionW = 97;
inline constexpr int kSmileCaptionX = 3, kSmileCaptionY = 154, kSmileCaptionW = 94;
inline constexpr int kFreeCaptionX = 3, kFreeCaptionY = 245, kFreeCaptionW = 121;
inline constexpr int kCaptionH = 25;
inline constexpr int kBonusCaptionX = 152, kBonusCaptionY = 0, kBonusCaptionW = 257;

}  // namespace kazoomba::ui::layout
