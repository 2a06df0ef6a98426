// The machine's displays for assistive technology.
#include "access/MachineAccessible.h"

#include "common/NumberPicture.h"
#include "engine/Reels.h"
#include "gamble/PayoffsSheet.h"
#include "machine/MainLayout.h"
#include "access/SpokenText.h"

namespace kazoomba::ui {

using namespace layout;

namespace {
constexpr int kDigitW = 16, kDigitH = 21;
QRect Digits(int x, int y, int count) { return QRect(x, y, kDigitW * count, kDigitH); }
QString Figure(double v, const char* picture) { return QString::fromStdString(FormatPicture(v, picture)); }
}  // namespace

MachineReadouts::MachineReadouts(QWidget& face)
    : credits_(new Readout(QStringLiteral("Credits"), Digits(kCreditsX, kCreditsY, 10), &face)),
      wager_(new Readout(QStringLiteral("Wager"), Digits(kWagerX, kWagerY, 5), &face)),
      coinValue_(new Readout(QStringLiteral("Coin Value"), Digits(kCoinValueX, kCoinValueY, 4), &face)),
      spins_(new Readout(QStringLiteral("Spins"), Digits(kSpinsX, kSpinsY, 6), &face)),
      bonusPool_(new Readout(QStringLiteral("Bonus Pool"), Digits(kPoolX, kPoolY, 7), &face)),
      reels_(new Readout(QStringLiteral("Reels"),
                         QRect(CellLeft(0), CellTop(0), CellLeft(2) + kCellWidth - CellLeft(0),
                               CellTop(6) + kCellHeight - CellTop(0)),
                         &face)),
      result_(new Readout(QStringLiteral("Result"),
                          QRect(kReelPanelX1, kReelPanelY2 - 20, kReelPanelX2 - kReelPanelX1, 20), &face)) {}

void MachineReadouts::ShowValues(const GameState& s) {
    if (!s.SpinReady && s.Spins != spinsSeen_) outcomePending_ = true;
    spinsSeen_ = s.Spins;
    credits_->SetFigure(Figure(s.Credits, "#,##0.00"), s.Credits);
    wager_->SetFigure(Figure(s.Wager, "#0.00"), s.Wager);
    coinValue_->SetFigure(Figure(s.CoinValue, "0.00"), s.CoinValue);
    spins_->SetFigure(Figure(s.Spins, "0"), s.Spins);
    bonusPool_->SetFigure(Figure(s.BonusPool, "#,##0.00"), s.BonusPool);
}

void MachineReadouts::ShowOutcome(const Game& game) {
    const GameState& s = game.State();
    ShowValues(s);
    // Between the count going up and the scoring the status panel is not redrawn, so its first redraw
    // of a spin not yet settled comes with the score.
    if (s.SpinReady || !outcomePending_) return;
    outcomePending_ = false;
    reels_->SetValue(ReelsInWords(game.Reels()), true);
    result_->SetValue(ResultInWords(BuildPayoffsSheet(s, game.Reels()), s.SpinWin), true);
}

}  // namespace kazoomba::ui
