// Fitting a text into the width of its box: narrower letters first, then smaller ones.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace kazoomba::ui {

// The font, made condensed and then smaller only as far as the text needs to fit `width` pixels.
// The game's boxes were measured for narrower type than ours; a long figure must not be cut off.
inline QFont FittedFont(QFont font, const QString& text, int width) {
    for (int stretch : {100, 87, 75}) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(text) <= width) return font;
    }
    while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

}  // namespace kazoomba::ui
