// Shared drawing routines.
#include "art/Drawing.h"

#include <cmath>

#include "art/Palette.h"

namespace kazoomba::ui {

QFont GameFont(double points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

void FillBox(QPainter& p, int x, int y, int w, int h, Colour colour) {
    p.fillRect(QRect(x, y, w, h), PaletteColor(colour));
}

namespace {
void Edge(QPainter& p, int x1, int y1, int x2, int y2, Colour colour) {
    p.setPen(QPen(PaletteColor(colour), 1));
    p.drawLine(x1, y1, x2, y2);
}
}  // namespace

void DrawPanel(QPainter& p, int x1, int y1, int x2, int y2) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    FillBox(p, x1 - 3, y1 - 3, x2 - x1 + 7, y2 - y1 + 7, Colour::Silver);
    Edge(p, x1 - 1, y1 - 1, x2 + 1, y1 - 1, Colour::Black);
    Edge(p, x1 - 1, y2 + 1, x2 + 1, y2 + 1, Colour::Black);
    Edge(p, x1 - 1, y1 - 1, x1 - 1, y2 + 1, Colour::Black);
    Edge(p, x2 + 1, y1 - 1, x2 + 1, y2 + 1, Colour::Black);
    Edge(p, x1 - 2, y1 - 2, x2 + 2, y1 - 2, Colour::Grey);
    Edge(p, x1 - 2, y1 - 2, x1 - 2, y2 + 2, Colour::Grey);
    Edge(p, x1 - 2, y2 + 2, x2 + 2, y2 + 2, Colour::White);
    Edge(p, x2 + 2, y1 - 2, x2 + 2, y2 + 2, Colour::White);
    p.restore();
}

void DrawShadowLine(QPainter& p, int x1, int y1, int x2, int y2, Colour colour, int width) {
    p.save();
    // Solid pixels, as the screen of the day drew them: no antialiasing, and the stroke centred on the
    // pixel centres, so a 5-pixel line covers y - 2 to y + 2 exactly at any device pixel ratio.
    p.setRenderHint(QPainter::Antialiasing, false);
    auto line = [&](int dx, int dy, Colour c) {
        p.setPen(QPen(PaletteColor(c), width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x1 + dx + 0.5, y1 + dy + 0.5), QPointF(x2 + dx + 0.5, y2 + dy + 0.5));
    };
    line(-1, -1, Colour::Grey);
    line(1, 1, Colour::White);
    line(0, 0, colour);
    p.restore();
}

void EmbossText(QPainter& p, int x, int y, std::optional<Colour> c1, Colour c2, Colour c3, const QString& text) {
    p.save();
    auto layer = [&](int dx, int dy, Colour c) {
        p.setPen(PaletteColor(c));
        p.drawText(QRect(x + dx, y + dy, 2000, 400), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    };
    if (c1) layer(0, 0, *c1); else layer(4, 4, Colour::Grey);
    layer(2, 2, c2);
    layer(1, 1, c3);
    p.restore();
}

void Blit(QPainter& p, int x, int y, const QImage& src, int sx, int sy, int w, int h) {
    const qreal r = src.devicePixelRatio();
    const QPainter::CompositionMode mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRectF(x, y, w, h), src, QRectF(sx * r, sy * r, w * r, h * r));
    p.setCompositionMode(mode);
}

}  // namespace kazoomba::ui
