// Where the Game Statistics window puts its captions and figures, in pixels (15 twips each).
#pragma once

namespace kazoomba::ui::statistics_layout {

inline constexpr int kClientWidth = 289;   // 4335 twips
inline constexpr int kClientHeight = 389;  // 5835 twips
inline constexpr int kRowHeight = 24;      // 360 twips, the distance between rows

// Captions are 12-point bold; figures 9.75-point bold unless given smaller.
inline constexpr double kCaptionPoints = 12;
inline constexpr double kFigurePoints = 9.75;
inline constexpr double kSmallPoints = 8.25;

struct Caption {
    const char* text;
    int x, y, w;
    int colour;  // palette index
};

inline constexpr Caption kCaptions[] = {
    {"Spins:", 8, 24, 89, 12},        {"Credits:", 0, 48, 97, 12},      {"Borrowed:", 0, 72, 97, 12},
    {"Total Bets:", 0, 96, 97, 12},   {"Won/Lost:", 0, 120, 97, 12},    {"Payoffs:", 8, 144, 89, 12},
    {"Total:", 24, 168, 89, 15},      {"Normal:", 24, 192, 89, 15},     {"Vaz Ivero:", 0, 216, 113, 15},
    {"Bonus:", 24, 240, 89, 15},      {"Bonus Rolls:", 24, 264, 137, 14}, {"Bonus Pool:", 40, 288, 121, 14},
};

enum Figure {
    SpinsFigure, CreditsFigure, BorrowedFigure, TotalBetsFigure, WonLostFigure, TotalFigure, TotalRatioFigure,
    NormalFigure, NormalRatioFigure, VazIveroFigure, BonusFigure, BonusRollsFigure, BonusPoolFigure, kFigures
};

struct Value {
    const char* name;  // the label's object name
    int x, y, w;
    int colour;
    double points;
};

inline constexpr Value kValues[kFigures] = {
    {"Spins", 104, 24, 113, 15, kFigurePoints},
    {"Credits", 104, 48, 113, 11, kFigurePoints},
    {"Borrowed", 104, 72, 113, 11, kFigurePoints},
    {"TotalBets", 104, 96, 113, 11, kFigurePoints},
    {"WonLost", 104, 120, 113, 11, kFigurePoints},
    {"Total", 120, 168, 97, 11, kFigurePoints},
    {"TotalRatio", 216, 172, 65, 15, kSmallPoints},
    {"Normal", 120, 192, 97, 11, kFigurePoints},
    {"NormalRatio", 216, 196, 65, 15, kSmallPoints},
    {"VazIvero", 136, 216, 81, 11, kFigurePoints},
    {"Bonus", 136, 240, 81, 11, kFigurePoints},
    {"BonusRolls", 200, 264, 81, 15, kSmallPoints},
    {"BonusPool", 200, 288, 81, 15, kSmallPoints},
};

inline constexpr int kOkX = 16, kOkY = 336, kOkW = 257, kOkH = 41;

}  // namespace kazoomba::ui::statistics_layout
