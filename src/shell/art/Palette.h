// The classic 16-colour palette the game draws with.
#pragma once

#include <QColor>

namespace kazoomba::ui {

inline QColor PaletteColor(int n) {
    static const QRgb colours[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
    };
    return QColor(colours[n & 15]);
}

// Pay line colours, lines 1 to 8 (also the Payoffs window's line numbers).
inline constexpr int kLineColours[8] = {12, 9, 10, 11, 14, 2, 13, 6};

}  // namespace kazoomba::ui
