// The bank and the spin cycle.
#include "play/Game.h"

#include <cmath>
#include <string>

#include "common/NumberPicture.h"

namespace kazoomba {

std::array<std::int16_t, kLines> DealLineCoins(float wager, float coinValue) {
    std::array<std::int16_t, kLines> coins{};
    if (!(coinValue > 0.0f) || !(wager > 0.0f)) return coins;
    const long n = std::lround(static_cast<double>(wager) / static_cast<double>(coinValue));
    for (int i = 0; i < kLines; ++i)
        coins[i] = static_cast<std::int16_t>(n / kLines + (i < n % kLines ? 1 : 0));
    return coins;
}

Game::Game(Cabinet& cabinet, Random& random) : cabinet_(cabinet), random_(random) {
    kazoomba::BuildReels(wheels, false);
    InitRestFrame(wheels);
}

void Game::BuildReels() {
    kazoomba::BuildReels(wheels, state.BonusMode);
    cabinet_.ReelsRebuilt();
}

std::string Game::Caption() const { return std::string(kGameTitle) + std::string(kCaptionSuffix); }

void Game::RecomputeLineCoins() {
    state.LineCoins = DealLineCoins(state.Wager, state.CoinValue);
    cabinet_.RedrawLineMarkers();
}

void Game::PlaceCoins(int coins) {
    if (!state.SpinReady) return;
    const float add = state.CoinValue * static_cast<float>(coins);
    if (state.Wager + add > state.MaxBet + 0.001f) {
        cabinet_.ShowMessage("Wager Not Allowed",
                             "You cannot wager more than 64 coins at a time.  At the current coin value of " +
                                 std::string(state.CoinLabel) + ", your maximum bet is $" +
                                 FormatPicture(state.MaxBet, "#0.00") + ".",
                             MessageIcon::Exclamation);
        return;
    }
    if (state.Credits < add) {
        cabinet_.ShowMessage("Wager Not Allowed", "You cannot wager more credits than you have!",
                             MessageIcon::Exclamation);
        return;
    }
    cabinet_.PlayCoinSound();
    state.Wager += add;
    state.Credits -= add;
    state.TotalWagers += add;
    cabinet_.RedrawStatusPanel();
    RecomputeLineCoins();
    // A full bet spins by itself. The coins are counted rather than the float sum compared, so the
    // 64th coin at 10 cents starts the spin even when the sum lands a hair below $6.40.
    if (std::lround(state.Wager / state.CoinValue) >= kMaxCoins) SpinCommand();
}

bool Game::RepeatLastBet() {
    if (state.LastBet <= 0.0f) {
        cabinet_.ShowMessage("No Wager Placed", "Place a bet before spinning!", MessageIcon::Exclamation);
        return false;
    }
    if (state.LastBet > state.Credits) {
        cabinet_.ShowMessage("Invalid Wager",
                             "Your last wager is more than your available credits!  You need to borrow more "
                             "credits or place a new wager.",
                             MessageIcon::Exclamation);
        if (state.AutoSpin) {
            SetAutoSpin(false);
            cabinet_.ShowMessage("Auto Spin Off",
                                 "Auto Spin mode turned off due to lack of available credits.  Maybe you should "
                                 "borrow some credits!",
                                 MessageIcon::Exclamation);
        }
        return false;
    }
    state.Wager = state.LastBet;
    state.Credits -= state.Wager;
    state.TotalWagers += state.Wager;
    RecomputeLineCoins();
    cabinet_.RedrawStatusPanel();
    return true;
}

void Game::ChangeCoinValue(int index) {
    // The coins were never spun: they are the player's, not the old coin value's.
    state.Credits += state.Wager;
    state.TotalWagers -= state.Wager;
    state.Wager = 0.0f;
    SelectCoinValue(index);
    cabinet_.Checkpoint();
}

void Game::SelectCoinValue(int index) {
    if (index < 0 || index >= static_cast<int>(kCoinChoices.size())) index = kDefaultCoinIndex;
    state.Wager = 0.0f;
    state.LastBet = 0.0f;
    cabinet_.CheckCoinItem(index);
    state.CoinIndex = index;
    state.CoinValue = kCoinChoices[index].value;
    state.CoinLabel = kCoinChoices[index].caption;
    state.MaxBet = kCoinChoices[index].maxBet;
    state.LineCoins = DealLineCoins(state.Wager, state.CoinValue);
    cabinet_.RedrawMainWindow();
}

void Game::Borrow(int index) {
    if (index < 0 || index >= static_cast<int>(kLoanChoices.size())) return;
    state.Borrowed += kLoanChoices[index].amount;
    state.Credits += kLoanChoices[index].amount;
    cabinet_.RedrawStatusPanel();
    cabinet_.Checkpoint();
}

void Game::StartNewGame() {
    cabinet_.ReloadBannerText();
    state.BonusMode = false;
    BuildReels();
    state.Credits = 1000.0f;
    state.Spins = 0;
    state.BonusPool = 0.0f;
    state.Borrowed = state.Credits;
    state.Bells = 3;
    state.Smiles = 6;
    state.BonusSpins = 0;
    state.TotalWagers = 0.0f;
    state.DoubleNothing = 0.0f;
    state.PoolPts = 0.0f;
    state.BarPts = 0.0f;
    state.CherryPts = 0.0f;
    // The bet on the table moves into the new game: paid from its credits, counted in its bets.
    state.Credits -= state.Wager;
    state.TotalWagers += state.Wager;
    cabinet_.SetCaption(Caption());
    cabinet_.RedrawStatusPanel();
    cabinet_.Checkpoint();
}

void Game::SetAutoSpin(bool on) {
    state.AutoSpin = on;
    cabinet_.SetAutoSpinCheck(on);
}

void Game::ToggleAutoSpin() {
    if (state.AutoSpin) {
        SetAutoSpin(false);
        return;
    }
    SetAutoSpin(true);
    const std::string text = cabinet_.AskWinStopValue();
    state.WinStopValue = LeadingWhole(TrimBlanks(text));
    state.AutoSpinCount = 0;
}

bool Game::AutoTakeDue() const {
    return state.AutoSpin &&
           (state.WinStopValue == 0 || state.SpinWin < static_cast<float>(state.WinStopValue));
}

void Game::TakeWin() { state.Credits += state.SpinWin; }

void Game::SpinCommand() {
    bool played = false;
    for (;;) {
        if (!state.SpinReady) break;
        if (state.Wager <= 0.0f && !RepeatLastBet()) break;
        played = true;
        PlayOneSpin();

        // Awarded bonus spins are played even when the window is closing: they are the player's.
        while (state.BonusSpins > 0) {
            cabinet_.ShowBonusCaption(true);
            state.BonusSpins -= 1;
            state.Wager = state.LastBet;  // free: nothing leaves Credits, TotalWagers stays
            state.LineCoins = DealLineCoins(state.Wager, state.CoinValue);
            if (!state.BonusMode) {
                state.BonusMode = true;
                BuildReels();
            }
            PlayOneSpin();
        }
        cabinet_.ShowBonusCaption(false);
        if (state.BonusMode) {
            state.BonusMode = false;
            BuildReels();
        }

        if (!state.AutoSpin || cabinet_.ClosePending()) break;
        if (state.AutoSpinCount >= kAutoSpinLimit) {
            SetAutoSpin(false);
            break;
        }
    }
    if (played) cabinet_.RestartBanner();
}

void Game::PlayOneSpin() {
    cabinet_.EnableMenus(false);
    state.SpinReady = false;
    state.LastBet = state.Wager;
    cabinet_.StopBanner();
    ComputeSpin(wheels, random_, state.Spins);
    cabinet_.SetButtonsAvailable(false);
    cabinet_.RedrawSpinsDisplay();
    if (!cabinet_.ClosePending()) cabinet_.AnimateReels();
    if (state.AutoSpin) state.AutoSpinCount += 1;
    Settle();
}

void Game::Settle() {
    const SpinScore score = ScoreSpin(wheels, state.CurrentStake(), state, random_);
    state.LinePay = score.LinePay;
    state.FulminaCount = score.FulminaCount;
    state.SpinWin = score.SpinWin;
    cabinet_.RedrawStatusPanel();

    const bool closing = cabinet_.ClosePending();
    if (state.SpinWin > 0.0f) {
        const int number = 1 + static_cast<int>(std::floor(3.0 * random_.Uniform()));
        if (!closing) cabinet_.PlayWinSound(number < 1 ? 1 : number > 3 ? 3 : number);
        if (closing || cabinet_.IsMinimized()) {
            TakeWin();
        } else {
            cabinet_.PresentWin();
        }
        ClearWonPool(state);
    } else {
        random_.ReseedFromClock();
        if (!closing && cabinet_.SoundPlayable()) {
            const int number = static_cast<int>(std::floor(3.0 * random_.Uniform()));
            cabinet_.PlayNoWinSound(number < 0 ? 0 : number > 2 ? 2 : number);
        }
    }

    state.SpinReady = true;
    cabinet_.EnableMenus(true);
    state.Wager = 0.0f;
    cabinet_.SetButtonsAvailable(true);
    cabinet_.Checkpoint();
}

}  // namespace kazoomba
