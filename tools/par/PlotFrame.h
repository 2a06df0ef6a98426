// What the par sheet's two SVG charts share: the page, the plotting area inside it, and how a coordinate is
// written.
#pragma once

#include <cstdio>
#include <string>

namespace kazoomba::par::plot {

constexpr double kWidth = 760, kHeight = 450;
constexpr double kLeft = 84, kRight = 736, kTop = 78, kBottom = 380;

inline std::string Num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", v);
    return buffer;
}

}  // namespace kazoomba::par::plot
