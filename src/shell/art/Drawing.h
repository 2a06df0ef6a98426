// Shared drawing routines: the sunken panel, the shadowed line, embossed text, rectangle copies and fonts.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <optional>

#include "art/Palette.h"

namespace kazoomba::ui {

// The game's bold sans-serif at a point size, sized in pixels as a 96-dpi screen shows it.
QFont GameFont(double points, bool bold = true);

// A sunken frame just outside (x1, y1)-(x2, y2); the caller draws the inside.
void DrawPanel(QPainter& p, int x1, int y1, int x2, int y2);

// A line with a dark shadow above left and a light one below right, in the given pen width.
void DrawShadowLine(QPainter& p, int x1, int y1, int x2, int y2, Colour colour, int width);

// Text in three layers; without c1 the first layer is a grey drop shadow at (x + 4, y + 4).
void EmbossText(QPainter& p, int x, int y, std::optional<Colour> c1, Colour c2, Colour c3, const QString& text);

// Rectangle copy (source copy, no transparency) of the w x h block at (sx, sy) of src to (x, y),
// in logical pixels whatever the device pixel ratio of either side.
void Blit(QPainter& p, int x, int y, const QImage& src, int sx, int sy, int w, int h);

// Fills a rectangle with a palette colour.
void FillBox(QPainter& p, int x, int y, int w, int h, Colour colour);

}  // namespace kazoomba::ui
