// Drawing the machine's face.
#include "machine/MachineFace.h"

#include <QPainter>
#include <algorithm>

#include "art/DigitDisplay.h"
#include "art/Drawing.h"
#include "art/Label.h"
#include "art/Palette.h"
#include "common/NumberPicture.h"
#include "machine/MachineWidgets.h"
#include "machine/MainLayout.h"
#include "machine/ReelPanel.h"

namespace kazoomba::ui {

using namespace layout;

namespace {
QString Picture(double v, const char* picture) { return QString::fromStdString(FormatPicture(v, picture)); }
// A lit display's figures: never more than its box holds.
QString Display(double v, const char* picture) { return QString::fromStdString(FormatDisplay(v, picture)); }
}  // namespace

MachineFace::MachineFace(Graphics& graphics, QWidget* parent) : graphics_(graphics) {
    surface_ = graphics_.NewImage(kClientWidth, kClientHeight, Qt::black);
    view_ = new MachineView(surface_, parent);
    QPalette pal = view_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    view_->setPalette(pal);
    view_->setAutoFillBackground(true);

    // White on the machine's black, the text starting at the control's top.
    auto caption = [this](const QString& text, int x, int y, int w, bool bold) {
        QLabel* label = ColouredLabel(view_, QRect(x, y, w, kCaptionH), GameFont(8.25, bold), Colour::White);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setText(text);
        return label;
    };
    poolCaption_ = caption(QStringLiteral("To Win Pool:  3"), kPoolCaptionX, kPoolCaptionY, kPoolCaptionW, true);
    smileCaption_ = caption(QStringLiteral("For Bonus:  6"), kSmileCaptionX, kSmileCaptionY, kSmileCaptionW, true);
    freeCaption_ = caption(QStringLiteral("Win 3 FREE Spins"), kFreeCaptionX, kFreeCaptionY, kFreeCaptionW, false);
    // The bonus run's own caption: yellow, larger, centred over the reels while the free spins play.
    bonusCaption_ = ColouredLabel(view_, QRect(kBonusCaptionX, kBonusCaptionY, kBonusCaptionW, kBonusCaptionH),
                                  GameFont(kBonusCaptionPoints, true), Colour::Yellow, Qt::AlignCenter);
    bonusCaption_->setAttribute(Qt::WA_TranslucentBackground);
    bonusCaption_->setText(QStringLiteral("Bonus Spin"));
    bonusCaption_->hide();
}

void MachineFace::Redraw(const Game& game) {
    {
        QPainter p(&surface_);
        DrawReelPanel(p, payLinesOn_);
        Blit(p, kLogoX, kLogoY, graphics_.Logo(), 0, 0, kLogoW, kLogoH);
    }
    for (int c = 0; c < kCells; ++c) DrawCell(game.Reels(), c, kRestFrame);
    DrawStatusPanel(game.State());
    DrawLineMarkers(game.State());
    if (payLinesOn_) HighlightWinningLines(game.State());
    view_->update();
}

void MachineFace::DrawReels(const Wheels& wheels, int frame) {
    for (int c = 0; c < kCells; ++c) DrawCell(wheels, c, frame);
    view_->update(kReelPanelX1, kReelPanelY1, kReelPanelX2 - kReelPanelX1 + 1, kReelPanelY2 - kReelPanelY1 + 1);
}

void MachineFace::DrawCell(const Wheels& wheels, int cell, int frame) {
    QPainter p(&surface_);
    Blit(p, CellLeft(cell), CellTop(cell), graphics_.SlotWheel(WheelOf(cell)), 0, wheels.Trajectory[frame][cell].offset,
         kCellWidth, kCellHeight);
}

void MachineFace::DrawSpinsDisplay(const GameState& s) {
    QPainter p(&surface_);
    p.setFont(GameFont(8, true));
    p.setPen(PaletteColor(Colour::Yellow));
    DrawDigits(p, graphics_, kSpinsX, kSpinsY, digitColor_, Display(s.Spins, "000000"), 0);
    const QString caption = QStringLiteral("Spins:");
    const QFontMetrics m(p.font());
    p.fillRect(QRect(458, 150, m.horizontalAdvance(caption), m.height()), Qt::black);
    p.drawText(QRect(458, 150, 200, 30), Qt::AlignLeft | Qt::AlignTop, caption);
    view_->update(kSpinsX - 60, kSpinsY, 160, 21);
}

void MachineFace::DrawStatusPanel(const GameState& s) {
    DrawSpinsDisplay(s);
    QPainter p(&surface_);
    p.setFont(GameFont(8, true));
    p.setPen(PaletteColor(Colour::Yellow));
    const QFontMetrics m(p.font());
    // Each caption is printed on black first: text printed over itself again and again would thicken.
    auto captionLeft = [&](int x, int y, const QString& t) {
        p.fillRect(QRect(x, y, m.horizontalAdvance(t), m.height()), Qt::black);
        p.drawText(QRect(x, y, 300, 30), Qt::AlignLeft | Qt::AlignTop, t);
    };
    auto captionRight = [&](int right, int y, const QString& t) { captionLeft(right - m.horizontalAdvance(t), y, t); };

    DrawDigits(p, graphics_, kCoinValueX, kCoinValueY, DigitRed, Display(s.CoinValue, "0.00"), 1);
    captionLeft(458, 35, QStringLiteral("Coin Value:"));
    DrawDigits(p, graphics_, kCreditsX, kCreditsY, digitColor_, Display(s.Credits, "0000000.00"), 0);
    captionRight(kCaptionRight, 85, QStringLiteral("Credits:"));
    DrawDigits(p, graphics_, kWagerX, kWagerY, digitColor_, Display(s.Wager, "00.00"), 0);
    captionRight(kCaptionRight, 35, QStringLiteral("Wager:"));
    DrawDigits(p, graphics_, kPoolX, kPoolY, digitColor_, Display(s.BonusPool, "0000.00"), 0);
    captionRight(100, 35, QStringLiteral("Bonus Pool:"));

    poolCaption_->setText(QStringLiteral("To Win Pool:  ") + Picture(s.Bells, "0"));
    smileCaption_->setText(QStringLiteral("For Bonus:  ") + Picture(s.Smiles, "0"));
    const QImage& small = graphics_.SymbolSheetSmall();
    auto marker = [&](int x, int y, bool shown, kazoomba::Symbol code) {
        if (shown) Blit(p, x, y, small, 32 * (code % 4), 32 * (code / 4), 32, 32);
        else Blit(p, x, y, graphics_.BlankSpace(), 0, 0, 32, 32);
    };
    for (int i = 0; i < 3; ++i) marker(kMarkerX + kMarkerStep * i, kGlobeRowY, s.Bells > i, Globe);
    for (int i = 0; i < 6; ++i)
        marker(kMarkerX + kMarkerStep * (i % 3), kSmileRowY + kMarkerStep * (i / 3), s.Smiles > i, Smile);
    p.end();
    view_->update();
}

void MachineFace::DrawLineMarkers(const GameState& s) {
    // The markers show the coins on the table now, dealt over the lines as a spin would deal them.
    const auto coins = DealLineCoins(s.Wager, s.CoinValue);
    QPainter p(&surface_);
    for (int line = 0; line < kLines; ++line) {
        const int n = qBound(0, int(coins[line]), 9);
        Blit(p, kCoinMarkers[line].x, kCoinMarkers[line].y, graphics_.Coins(), kCoinCellW * (n / 5), kCoinCellH * (n % 5),
             kCoinCellW, kCoinCellH);
    }
    p.end();
    view_->update();
}

void MachineFace::HighlightWinningLines(const GameState& s) {
    QPainter p(&surface_);
    std::array<std::int16_t, kLines> linePay{};
    std::copy_n(s.LinePay.begin(), kLines, linePay.begin());
    DrawWinningLines(p, linePay);
}

void MachineFace::Clear() { surface_.fill(Qt::black); }

}  // namespace kazoomba::ui
