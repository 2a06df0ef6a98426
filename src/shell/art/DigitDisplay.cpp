// DrawDigits.
#include "art/DigitDisplay.h"

#include "common/NumberPicture.h"
#include "art/Drawing.h"
#include "art/Graphics.h"

namespace kazoomba::ui {
namespace {
constexpr int kGlyphW = 16, kGlyphH = 21, kBlankX = 160, kPointX = 176, kColonX = 182, kNarrow = 6;
}

void DrawDigits(QPainter& p, const Graphics& g, int x, int y, int colour, const QString& text, int mode) {
    const int row = kGlyphH * (colour < 0 || colour > 6 ? DigitGreen : colour);
    const QImage& d = g.Digits();
    auto glyph = [&](int sx, int at) { Blit(p, at, y, d, sx, row, kGlyphW, kGlyphH); };

    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char('0')) {
        glyph(mode == 1 ? 0 : kBlankX, x);
        x += kGlyphW;
        ++i;
    }
    if (i > 0 && mode != 2 && i < text.size() && text[i] == QLatin1Char('.') && text[i - 1] == QLatin1Char('0'))
        glyph(0, x - kGlyphW);

    const bool positive = LeadingNumber(text.toStdString()) > 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('.')) {
            glyph(kPointX, x);
            x += kNarrow;
        } else if (c == QLatin1Char(':')) {
            glyph(kColonX, x);
            x += kNarrow;
        } else {
            if (mode < 2 || positive) glyph(c.isDigit() ? kGlyphW * c.digitValue() : 0, x);
            else glyph(kBlankX, x);
            x += kGlyphW;
        }
    }
}

}  // namespace kazoomba::ui
