// The machine's displays for assistive technology.
#include "access/MachineAccessible.h"

#include "common/NumberPicture.h"
#include "engine/Reels.h"
#include "gamble/PayoffsSheet.h"
#include "machine/MainLayout.h"
#include "access/SpokenText.h"

#include <algorithm>
#include <utility>

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
      herald_(QStringLiteral("Kazoomba machine"), face) {
    // The machine's buttons are reached with Tab only: a player there chose to be there.
    herald_.LeaveControlsTheFocus();
}

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
    if (!s.SpinReady && s.Spins != spinsSeen_) {
        outcomePending_ = true;
        bonusSpinsAtStart_ = s.BonusSpins;
    }
    spinsSeen_ = s.Spins;
    credits_->SetFigure(Figure(s.Credits, "#,##0.00"), s.Credits, MoneyWords(s.Credits));
    wager_->SetFigure(Figure(s.Wager, "#0.00"), s.Wager, MoneyWords(s.Wager));
    coinValue_->SetFigure(Figure(s.CoinValue, "0.00"), s.CoinValue, MoneyWords(s.CoinValue));
    spins_->SetFigure(Figure(s.Spins, "0"), s.Spins, Figure(s.Spins, "#,##0"));
    bonusPool_->SetFigure(Figure(s.BonusPool, "#,##0.00"), s.BonusPool, MoneyWords(s.BonusPool));

    if (!told_) {
        // The machine as it comes on: the credits are what a returning player wants to hear first.
        told_ = true;
        wagerTold_ = s.Wager, creditsTold_ = s.Credits, coinTold_ = s.CoinValue, poolTold_ = s.BonusPool;
        bellsTold_ = s.Bells, smilesTold_ = s.Smiles;
        herald_.SetGreeting(QStringLiteral("Credits %1.").arg(MoneyWords(s.Credits)));
        return;
    }
    // Mid-spin the figures move on their own; the outcome and the settlement tell what matters. So do
    // they between the spins of a run: its summary tells where they ended.
    if (!s.SpinReady || inRun_) {
        if (s.SpinReady) {
            wagerTold_ = s.Wager, creditsTold_ = s.Credits, coinTold_ = s.CoinValue;
            poolTold_ = s.BonusPool;
        }
        return;
    }
    // A pool that changed between spins (a new game, a game loaded) is read on its display, not told.
    poolTold_ = s.BonusPool;
    QString news;
    if (s.CoinValue != coinTold_) news += QStringLiteral(" Coin Value %1.").arg(MoneyWords(s.CoinValue));
    if (s.Wager != wagerTold_ && s.Wager > 0.0f) news += QStringLiteral(" Wager %1.").arg(MoneyWords(s.Wager));
    else if (s.Credits != creditsTold_) news += QStringLiteral(" Credits %1.").arg(MoneyWords(s.Credits));
    wagerTold_ = s.Wager, creditsTold_ = s.Credits, coinTold_ = s.CoinValue;
    news += CounterNews(s);
    if (!news.isEmpty()) Say(news.trimmed());
}

void MachineReadouts::ShowOutcome(const Game& game) {
    const GameState& s = game.State();
    ShowValues(s);
    // The symbols at rest, for a player who looks them up between spins.
    if (s.SpinReady) reels_->SetValue(ReelsInWords(game.Reels()));
    // Between the count going up and the scoring the status panel is not redrawn, so its first redraw
    // of a spin not yet settled comes with the score.
    if (s.SpinReady || !outcomePending_) return;
    outcomePending_ = false;
    reels_->SetValue(ReelsInWords(game.Reels()), true);
    resultWords_ = ResultInWords(BuildPayoffsSheet(s, game.Reels()), s.SpinWin);
    result_->SetValue(resultWords_, true);
    if (inRun_) ++runSpins_;
    // Bonus spins and the pool are what a run is played for: they are told in full, whatever the pace.
    const int awarded = s.BonusSpins - bonusSpinsAtStart_;
    awardWords_ = awarded > 0 ? QStringLiteral(" Bonus spins won: %1.").arg(awarded) : QString();
    toldInFull_ = awarded > 0 || (s.SpinWin > 0.0f && s.Bells <= 0);
    winStopped_ = s.AutoSpin && s.WinStopValue != 0 && s.SpinWin >= static_cast<float>(s.WinStopValue);
    // The settlement takes the wager off the table.
    wagerTold_ = 0.0f, creditsTold_ = s.Credits;
    const QString bonus = s.BonusMode ? bonusWords_ + u' ' : QString();
    const QString counters = CounterNews(s) + PoolNews(s);
    // A win's counters are told with the credits it leaves, once its window has presented it.
    if (s.SpinWin > 0.0f) {
        settledCounters_ = counters;
        return;
    }
    heldNews_ = bonus + QStringLiteral("No win.") + (inRun_ && !toldInFull_ ? QString() : counters) + awardWords_;
    heldInFull_ = !inRun_ || toldInFull_;
}

void MachineReadouts::ShowReady(const GameState& s) {
    QString news = heldNews_;
    bool inFull = heldInFull_;
    heldNews_.clear();
    // The bonus spins a run won are the run's too, however it was stopped: it is summed up after them.
    if (runEnding_ && s.BonusSpins == 0) {
        news = (news + u' ' + RunSummary(s)).trimmed();
        inFull = true;
        inRun_ = runEnding_ = false;
    }
    if (news.isEmpty()) return;
    if (inFull) Say(news);
    else SayIfHeard(news);
}

void MachineReadouts::ShowSettled(const GameState& s) {
    wagerTold_ = 0.0f, creditsTold_ = s.Credits, poolTold_ = s.BonusPool;
    const QString counters = std::exchange(settledCounters_, QString()) + CounterNews(s);
    const QString credits = QStringLiteral("Credits %1.").arg(MoneyWords(s.Credits));
    if (!inRun_) Say(credits + counters);
    else if (toldInFull_) Say(resultWords_ + awardWords_ + u' ' + credits);
    // A win that stopped the run was read in full by its window, which the player answered.
    else if (winStopped_) SayIfHeard(credits);
    else SayIfHeard(QStringLiteral("Won %1.").arg(MoneyWords(s.SpinWin)));
}

void MachineReadouts::ShowBonusSpin(int left) {
    // Said as the free spin starts, and again with its outcome: a screen reader that falls behind a fast
    // spin keeps only the later.
    bonusWords_ = BonusSpinWords(left - 1);
    if (inRun_) SayIfHeard(bonusWords_);
    else Say(bonusWords_);
}

void MachineReadouts::ShowAutoSpin(bool on, const GameState& s) {
    if (on) {
        if (inRun_ && !runEnding_) return;
        inRun_ = true;
        runEnding_ = false;
        runSpins_ = 0;
        runCredits_ = s.Credits, runWagers_ = s.TotalWagers, runBorrowed_ = s.Borrowed;
        return;
    }
    if (!inRun_) return;
    runEnding_ = true;
    // With a spin under way the summary waits for its settlement, so that it counts that spin too.
    if (s.SpinReady) ShowReady(s);
}

// The pool grown by the spin just scored, as its display's caption says it; a pool won is told with the
// win. Like the counters, it is left out of a run's short piece for a spin.
QString MachineReadouts::PoolNews(const GameState& s) {
    const bool grew = s.BonusPool > poolTold_ && s.Bells > 0;
    poolTold_ = s.BonusPool;
    if (!grew) return {};
    return QStringLiteral(" Bonus Pool: %1.").arg(MoneyWords(s.BonusPool));
}

void MachineReadouts::TellReels(const Game& game) {
    if (!game.State().SpinReady) return;
    reels_->SetValue(ReelsInWords(game.Reels()));
    Say(reels_->Text());
}

QString MachineReadouts::RunSummary(const GameState& s) const {
    QString summary = QStringLiteral("Auto Spin off.");
    if (runSpins_ > 0) {
        // What the run paid out: the credits it left, less what came from loans, with what it staked.
        const double won = (s.Credits - runCredits_) + (s.TotalWagers - runWagers_) - (s.Borrowed - runBorrowed_);
        summary += QStringLiteral(" %1 %2, won %3, credits %4.")
                       .arg(runSpins_)
                       .arg(runSpins_ == 1 ? QStringLiteral("spin") : QStringLiteral("spins"))
                       .arg(MoneyWords(std::max(0.0, won)), MoneyWords(s.Credits));
    }
    return summary;
}

void MachineReadouts::Say(const QString& news) {
    const std::int64_t now = clock_ ? clock_->Milliseconds() : 0;
    budget_.Spend(now, static_cast<int>(news.size()));
    herald_.Say(news);
}

void MachineReadouts::SayIfHeard(const QString& news) {
    if (!budget_.Free(clock_ ? clock_->Milliseconds() : 0)) return;
    Say(news);
}

}  // namespace kazoomba::ui
