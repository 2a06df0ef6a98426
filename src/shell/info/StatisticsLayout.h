// Where the Game Statistics window puts its captions and figures, in pixels (15 twips each).
#pragma once

#include "art/Palette.h"

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
    Colour colour;
};

inline constexpr Caption kCaptions[] = {
    {"Spins:", 8, 24, 89, Colour::Red},        {"Credits:", 0, 48, 97, Colour::Red},      {"Borrowed:", 0, 72, 97, Colour::Red},
    {"Total Bets:", 0, 96, 97, Colour::Red},   {"Won/Lost:", 0, 120, 97, Colour::Red},    {"Payoffs:", 8, 144, 89, Colour::Red},
    {"Total:", 24, 168, 89, Colour::White},      {"Normal:", 24, 192, 89, Colour::White},     {"Vaz Ivero:", 0, 216, 113, Colour::White},
    {"Bonus:", 24, 240, 89, Colour::White},      {"Bonus Rolls:", 24, 264, 137, Colour::Yellow}, {"Bonus Pool:", 40, 288, 121, Colour::Yellow},
};

enum Figure {
    SpinsFigure, CreditsFigure, BorrowedFigure, TotalBetsFigure, WonLostFigure, TotalFigure, TotalRatioFigure,
    NormalFigure, NormalRatioFigure, VazIveroFigure, BonusFigure, BonusRollsFigure, BonusPoolFigure, kFigures
};

struct Value {
    const char* name;  // the label's object name
    int x, y, w;
    Colour colour;
    double points;
};

inline constexpr Value kValues[kFigures] = {
    {"Spins", 104, 24, 113, Colour::White, kFigurePoints},
    {"Credits", 104, 48, 113, Colour::Cyan, kFigurePoints},
    {"Borrowed", 104, 72, 113, Colour::Cyan, kFigurePoints},
    {"TotalBets", 104, 96, 113, Colour::Cyan, kFigurePoints},
    {"WonLost", 104, 120, 113, Colour::Cyan, kFigurePoints},
    {"Total", 120, 168, 97, Colour::Cyan, kFigurePoints},
    {"TotalRatio", 216, 172, 65, Colour::White, kSmallPoints},
    {"Normal", 120, 192, 97, Colour::Cyan, kFigurePoints},
    {"NormalRatio", 216, 196, 65, Colour::White, kSmallPoints},
    {"VazIvero", 136, 216, 81, Colour::Cyan, kFigurePoints},
    {"Bonus", 136, 240, 81, Colour::Cyan, kFigurePoints},
    {"BonusRolls", 200, 264, 81, Colour::White, kSmallPoints},
    {"BonusPool", 200, 288, 81, Colour::White, kSmallPoints},
};

inline constexpr int kOkX = 16, kOkY = 336, kOkW = 257, kOkH = 41;

}  // namespace kazoomba::ui::statistics_layout
