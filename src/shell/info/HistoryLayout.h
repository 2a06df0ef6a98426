// Where the Game History window puts its list, the chosen spin's reels and words, and its buttons, in pixels.
#pragma once

#include "machine/MainLayout.h"

namespace kazoomba::ui::history_layout {

inline constexpr int kMargin = 8;

// The list of spins, newest first, under a row of column captions.
inline constexpr int kCaptionY = 6, kCaptionH = 18;
inline constexpr int kListX = kMargin, kListY = kCaptionY + kCaptionH + 6, kListW = 448, kListH = 288;
inline constexpr int kRowH = 20;
inline constexpr double kListPoints = 9;

// The columns of a row, inside the list: left edge and width; the figures stand right-aligned.
struct Column {
    const char* caption;
    int x, w;
    bool right;
};
inline constexpr Column kColumns[] = {
    {"Spin", 4, 58, true}, {"Time", 72, 122, false}, {"Bet", 196, 58, true},
    {"Win", 258, 76, true}, {"Credits", 338, 88, true},
};
enum ColumnIndex { SpinColumn, TimeColumn, BetColumn, WinColumn, CreditsColumn, kColumnCount };

// The chosen spin in words, under the list.
inline constexpr int kWordsX = kMargin, kWordsY = kListY + kListH + kMargin, kWordsW = kListW, kWordsH = 176;

// The reels as the machine's reel panel shows them, at the machine's own coordinates shifted here.
inline constexpr int kPanelLeft = layout::kReelPanelX1 - 3, kPanelTop = layout::kReelPanelY1 - 3;
inline constexpr int kPanelW = layout::kReelPanelX2 + 3 - kPanelLeft + 1;
inline constexpr int kPanelH = layout::kReelPanelY2 + 3 - kPanelTop + 1;
inline constexpr int kReelsX = kListX + kListW + kMargin, kReelsY = kMargin;

inline constexpr int kButtonW = 158, kButtonH = 34;
inline constexpr int kButtonY = kReelsY + kPanelH + kMargin;
inline constexpr int kSaveX = kReelsX, kCloseX = kReelsX + kPanelW - kButtonW;
// What the last Save as CSV did, under the buttons.
inline constexpr int kStatusY = kButtonY + kButtonH + 4, kStatusH = 40;

inline constexpr int kClientWidth = kReelsX + kPanelW + kMargin;
inline constexpr int kClientHeight = kWordsY + kWordsH + kMargin;

}  // namespace kazoomba::ui::history_layout
