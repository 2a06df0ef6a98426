// The classic 16-colour palette the game draws with, by name.
#pragma once

#include <QColor>
#include <array>

namespace kazoomba::ui {

// In the palette's order: a colour's number is its place in the table of the screen of the day.
enum class Colour : int {
    Black, Navy, Green, Teal, Maroon, Purple, Olive, Silver,
    Grey, Blue, Lime, Cyan, Red, Magenta, Yellow, White,
};

inline QColor PaletteColor(Colour colour) {
    static const QRgb colours[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
    };
    return QColor(colours[static_cast<int>(colour) & 15]);
}

// Pay line colours, lines 1 to 8 (also the Payoffs window's line numbers).
inline constexpr std::array<Colour, 8> kLineColours = {
    Colour::Red, Colour::Blue, Colour::Lime, Colour::Cyan, Colour::Yellow, Colour::Green, Colour::Magenta, Colour::Olive,
};

}  // namespace kazoomba::ui
