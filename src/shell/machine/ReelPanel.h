// The machine's reel panel, drawn at the face's own coordinates on whatever surface is given: the sunken
// panel with its pay lines and their numbers and the nine cell frames, the wheels at rest, and the winning
// lines laid over them.
#pragma once

#include <QImage>
#include <QPainter>
#include <array>
#include <cstdint>

#include "engine/Payoffs.h"
#include "engine/Reels.h"

namespace kazoomba::ui {

// The panel, the lines and their numbers when `payLines` is on, and the cell frames; the cells are left
// for the wheels.
void DrawReelPanel(QPainter& p, bool payLines);
// Each wheel at rest on its stop, cut from the picture of its strip.
void DrawRestingWheels(QPainter& p, const std::array<QImage, kStrips>& strips,
                       const std::array<std::int16_t, kCells>& stops);
// The lines that paid, drawn again over the wheels.
void DrawWinningLines(QPainter& p, const std::array<std::int16_t, kLines>& linePay);

}  // namespace kazoomba::ui
