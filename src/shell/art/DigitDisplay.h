// Seven-segment figures copied from the Digits picture, with the three leading-zero modes.
#pragma once

#include <QPainter>
#include <QString>

namespace kazoomba::ui {

class Graphics;

enum DigitColour { DigitBlue, DigitCyan, DigitGreen, DigitPurple, DigitRed, DigitWhite, DigitYellow };

// Mode 0 darkens leading zeros but lights the units figure before the point; mode 1 lights every figure;
// mode 2 darkens leading zeros including the units figure and leaves a zero value entirely dark.
void DrawDigits(QPainter& p, const Graphics& g, int x, int y, int colour, const QString& text, int mode);

}  // namespace kazoomba::ui
