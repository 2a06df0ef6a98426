// Drawing the reel panel.
#include "machine/ReelPanel.h"

#include "art/Drawing.h"
#include "machine/MainLayout.h"

namespace kazoomba::ui {

using namespace layout;

void DrawReelPanel(QPainter& p, bool payLines) {
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawPanel(p, kReelPanelX1, kReelPanelY1, kReelPanelX2, kReelPanelY2);
    if (payLines) {
        for (const auto& s : kPayLineStrokes) DrawShadowLine(p, s.x1, s.y1, s.x2, s.y2, s.colour, s.width);
        p.setFont(GameFont(24, true));
        const QFontMetrics m(p.font());
        for (const auto& s : kPayLineStrokes) {
            const QString n = QString::fromLatin1(s.number);
            EmbossText(p, s.numberX - m.horizontalAdvance(n) / 2, s.numberY, Colour::Grey, Colour::White, s.colour, n);
        }
    }
    for (int c = 0; c < kCells; ++c)
        DrawPanel(p, CellLeft(c), CellTop(c), CellLeft(c) + kCellWidth - 1, CellTop(c) + kCellHeight - 1);
}

void DrawRestingWheels(QPainter& p, const std::array<QImage, kStrips>& strips,
                       const std::array<std::int16_t, kCells>& stops) {
    for (int c = 0; c < kCells; ++c)
        Blit(p, CellLeft(c), CellTop(c), strips[WheelOf(c)], 0, RestOffset(stops[c]), kCellWidth, kCellHeight);
}

void DrawWinningLines(QPainter& p, const std::array<std::int16_t, kLines>& linePay) {
    for (int line = 0; line < kLines; ++line) {
        if (linePay[line] <= 0) continue;
        const auto& stroke = kPayLineStrokes[line];
        DrawShadowLine(p, stroke.x1, stroke.y1, stroke.x2, stroke.y2, stroke.colour, stroke.width);
    }
}

}  // namespace kazoomba::ui
