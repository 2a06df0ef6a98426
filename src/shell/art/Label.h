// The game's captions and figures: labels in one palette colour, standing on their window's background.
#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>

#include "art/Palette.h"

namespace kazoomba::ui {

// A label at `where` in `font` and `colour`; the caller gives it its text.
QLabel* ColouredLabel(QWidget* parent, const QRect& where, const QFont& font, Colour colour,
                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

}  // namespace kazoomba::ui
