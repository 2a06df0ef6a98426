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
                          QRect(kReelPanelX1, kReelPanelY2 - 20, kReelPanelX2 - kReelPanelX1, 20), &face)),
      herald_(QStringLiteral("Kazoomba machine"), face) {}

// The bonus counters that moved since the player was last told, in the captions' words.
QString MachineReadouts::CounterNews(const GameState& s) {
    QString news;
    // A pool just won shows its counter spent until the settlement sets it again.
    if (s.Bells > 0 && s.Bells != bellsTold_) news += QStringLiteral(" To Win Pool: %1.").arg(s.Bells);
    if (s.Smiles != smilesTold_) news += QStringLiteral(" For Bonus: %1.").arg(s.Smiles);
    if (s.Bells > 0) bellsTold_ = s.Bells;
    smilesTold_ = s.Smiles;
    return news;
}

void MachineReadouts::ShowValues(const GameState& s) {
    if (!s.SpinReady && s.Spins != spinsSeen_) outcomePending_ = true;
    spinsSeen_ = s.Spins;
    credits_->SetFigure(Figure(s.Credits, "#,##0.00"), s.Credits);
    wager_->SetFigure(Figure(s.Wager, "#0.00"), s.Wager);
    coinValue_->SetFigure(Figure(s.CoinValue, "0.00"), s.CoinValue);
    spins_->SetFigure(Figure(s.Spins, "0"), s.Spins);
    bonusPool_->SetFigure(Figure(s.BonusPool, "#,##0.00"), s.BonusPool);

    if (!told_) {
        // The machine as it comes on: the credits are what a returning player wants to hear first.
        told_ = true;
        wagerTold_ = s.Wager, creditsTold_ = s.Credits, coinTold_ = s.CoinValue;
        bellsTold_ = s.Bells, smilesTold_ = s.Smiles;
        herald_.Voice().setAccessibleName(QStringLiteral("Credits %1.").arg(MoneyWords(s.Credits)));
        return;
    }
    // Mid-spin the figures move on their own; the outcome and the settlement tell what matters.
    if (!s.SpinReady) return;
    QString news;
    if (s.CoinValue != coinTold_) news += QStringLiteral(" Coin Value %1.").arg(MoneyWords(s.CoinValue));
    if (s.Wager != wagerTold_ && s.Wager > 0.0f) news += QStringLiteral(" Wager %1.").arg(MoneyWords(s.Wager));
    else if (s.Credits != creditsTold_) news += QStringLiteral(" Credits %1.").arg(MoneyWords(s.Credits));
    wagerTold_ = s.Wager, creditsTold_ = s.Credits, coinTold_ = s.CoinValue;
    news += CounterNews(s);
    if (!news.isEmpty()) herald_.Say(news.trimmed());
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
    // The settlement takes the wager off the table.
    wagerTold_ = 0.0f, creditsTold_ = s.Credits;
    const QString bonus = s.BonusMode ? bonusWords_ + u' ' : QString();
    if (s.SpinWin <= 0.0f) heldNews_ = bonus + QStringLiteral("No win.") + CounterNews(s);
}

void MachineReadouts::ShowReady() {
    if (heldNews_.isEmpty()) return;
    herald_.Say(heldNews_);
    heldNews_.clear();
}

void MachineReadouts::ShowSettled(const GameState& s) {
    wagerTold_ = 0.0f, creditsTold_ = s.Credits;
    herald_.Say(QStringLiteral("Credits %1.").arg(MoneyWords(s.Credits)) + CounterNews(s));
}

void MachineReadouts::ShowBonusSpin(int left) {
    // Said as the free spin starts, and again with its outcome: a screen reader that falls behind a fast
    // spin keeps only the later.
    bonusWords_ = BonusSpinWords(left - 1);
    herald_.Say(bonusWords_);
}

}  // namespace kazoomba::ui
