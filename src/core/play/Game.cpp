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
    kazoomba::BuildReels(wheels_, false);
    InitRestFrame(wheels_);
}

void Game::BuildReels() {
    kazoomba::BuildReels(wheels_, state_.BonusMode);
    cabinet_.ReelsRebuilt();
}

std::string Game::Caption() const { return std::string(kGameTitle) + std::string(kCaptionSuffix); }

void Game::RecomputeLineCoins() {
    state_.LineCoins = DealLineCoins(state_.Wager, state_.CoinValue);
    cabinet_.RedrawLineMarkers();
}

void Game::PlaceCoins(int coins) {
    if (!state_.SpinReady) return;
    const float add = state_.CoinValue * static_cast<float>(coins);
    if (state_.Wager + add > state_.MaxBet + 0.001f) {
        cabinet_.ShowMessage("Wager Not Allowed",
                             "You cannot wager more than 64 coins at a time.  At the current coin value of " +
                                 std::string(state_.CoinLabel) + ", your maximum bet is $" +
                                 FormatPicture(state_.MaxBet, "#0.00") + ".",
                             MessageIcon::Exclamation);
        return;
    }
    if (state_.Credits < add) {
        cabinet_.ShowMessage("Wager Not Allowed", "You cannot wager more credits than you have!",
                             MessageIcon::Exclamation);
        return;
    }
    cabinet_.PlayCoinSound();
    state_.Wager += add;
    state_.Credits -= add;
    state_.TotalWagers += add;
    cabinet_.RedrawStatusPanel();
    RecomputeLineCoins();
    // A full bet spins by itself. The coins are counted rather than the float sum compared, so the
    // 64th coin at 10 cents starts the spin even when the sum lands a hair below $6.40.
    if (std::lround(state_.Wager / state_.CoinValue) >= kMaxCoins) SpinCommand();
}

bool Game::RepeatLastBet() {
    if (state_.LastBet <= 0.0f) {
        cabinet_.ShowMessage("No Wager Placed", "Place a bet before spinning!", MessageIcon::Exclamation);
        return false;
    }
    if (state_.LastBet > state_.Credits) {
        cabinet_.ShowMessage("Invalid Wager",
                             "Your last wager is more than your available credits!  You need to borrow more "
                             "credits or place a new wager.",
                             MessageIcon::Exclamation);
        if (state_.AutoSpin) {
            SetAutoSpin(false);
            cabinet_.ShowMessage("Auto Spin Off",
                                 "Auto Spin mode turned off due to lack of available credits.  Maybe you should "
                                 "borrow some credits!",
                                 MessageIcon::Exclamation);
        }
        return false;
    }
    state_.Wager = state_.LastBet;
    state_.Credits -= state_.Wager;
    state_.TotalWagers += state_.Wager;
    RecomputeLineCoins();
    cabinet_.RedrawStatusPanel();
    return true;
}

void Game::ChangeCoinValue(int index) {
    // The coins were never spun: they are the player's, not the old coin value's.
    state_.Credits += state_.Wager;
    state_.TotalWagers -= state_.Wager;
    state_.Wager = 0.0f;
    SelectCoinValue(index);
    cabinet_.Checkpoint();
}

void Game::SelectCoinValue(int index) {
    if (index < 0 || index >= static_cast<int>(kCoinChoices.size())) index = kDefaultCoinIndex;
    state_.Wager = 0.0f;
    state_.LastBet = 0.0f;
    cabinet_.CheckCoinItem(index);
    state_.CoinIndex = index;
    state_.CoinValue = kCoinChoices[index].value;
    state_.CoinLabel = kCoinChoices[index].caption;
    state_.MaxBet = kCoinChoices[index].maxBet;
    state_.LineCoins = DealLineCoins(state_.Wager, state_.CoinValue);
    cabinet_.RedrawMainWindow();
}

void Game::Restore(const GameState& saved) {
    state_.Credits = saved.Credits;
    state_.TotalWagers = saved.TotalWagers;
    state_.BonusPool = saved.BonusPool;
    state_.Spins = saved.Spins;
    state_.Smiles = saved.Smiles;
    state_.Bells = saved.Bells;
    state_.CherryPts = saved.CherryPts;
    state_.BarPts = saved.BarPts;
    state_.PoolPts = saved.PoolPts;
    state_.DoubleNothing = saved.DoubleNothing;
    state_.Borrowed = saved.Borrowed;
    // The coin value's redraw then shows the restored counters; it clears the last bet, so that comes after.
    SelectCoinValue(saved.CoinIndex);
    state_.LastBet = saved.LastBet;
    BuildReels();
}

void Game::Borrow(int index) {
    if (index < 0 || index >= static_cast<int>(kLoanChoices.size())) return;
    state_.Borrowed += kLoanChoices[index].amount;
    state_.Credits += kLoanChoices[index].amount;
    cabinet_.RedrawStatusPanel();
    cabinet_.Checkpoint();
}

void Game::StartNewGame() {
    cabinet_.ReloadBannerText();
    state_.BonusMode = false;
    BuildReels();
    state_.Credits = 1000.0f;
    state_.Spins = 0;
    state_.BonusPool = 0.0f;
    state_.Borrowed = state_.Credits;
    state_.Bells = 3;
    state_.Smiles = 6;
    state_.BonusSpins = 0;
    state_.TotalWagers = 0.0f;
    state_.DoubleNothing = 0.0f;
    state_.PoolPts = 0.0f;
    state_.BarPts = 0.0f;
    state_.CherryPts = 0.0f;
    // The bet on the table moves into the new game: paid from its credits, counted in its bets.
    state_.Credits -= state_.Wager;
    state_.TotalWagers += state_.Wager;
    cabinet_.SetCaption(Caption());
    cabinet_.RedrawStatusPanel();
    cabinet_.Checkpoint();
}

void Game::SetAutoSpin(bool on) {
    state_.AutoSpin = on;
    cabinet_.SetAutoSpinCheck(on);
}

void Game::ToggleAutoSpin() {
    if (state_.AutoSpin) {
        SetAutoSpin(false);
        return;
    }
    SetAutoSpin(true);
    const std::string text = cabinet_.AskWinStopValue();
    state_.WinStopValue = LeadingWhole(TrimBlanks(text));
    state_.AutoSpinCount = 0;
}

bool Game::AutoTakeDue() const {
    return state_.AutoSpin &&
           (state_.WinStopValue == 0 || state_.SpinWin < static_cast<float>(state_.WinStopValue));
}

void Game::TakeWin() { state_.Credits += state_.SpinWin; }

float Game::StakeOnBoard() {
    state_.DoubleNothing -= state_.SpinWin;
    return state_.SpinWin;
}

void Game::LeaveBoard(float winnings) {
    state_.SpinWin = winnings;
    state_.DoubleNothing += winnings;
    TakeWin();
}

void Game::SpinCommand() {
    bool played = false;
    for (;;) {
        if (!state_.SpinReady) break;
        if (state_.Wager <= 0.0f && !RepeatLastBet()) break;
        played = true;
        PlayOneSpin();

        // Awarded bonus spins are played even when the window is closing: they are the player's.
        while (state_.BonusSpins > 0) {
            cabinet_.ShowBonusCaption(true);
            state_.BonusSpins -= 1;
            state_.Wager = state_.LastBet;  // free: nothing leaves Credits, TotalWagers stays
            state_.LineCoins = DealLineCoins(state_.Wager, state_.CoinValue);
            if (!state_.BonusMode) {
                state_.BonusMode = true;
                BuildReels();
            }
            PlayOneSpin();
        }
        cabinet_.ShowBonusCaption(false);
        if (state_.BonusMode) {
            state_.BonusMode = false;
            BuildReels();
        }

        if (!state_.AutoSpin || cabinet_.ClosePending()) break;
        if (state_.AutoSpinCount >= kAutoSpinLimit) {
            SetAutoSpin(false);
            break;
        }
    }
    if (played) cabinet_.RestartBanner();
}

void Game::PlayOneSpin() {
    cabinet_.EnableMenus(false);
    state_.SpinReady = false;
    state_.LastBet = state_.Wager;
    cabinet_.StopBanner();
    ComputeSpin(wheels_, random_, state_.Spins);
    cabinet_.SetButtonsAvailable(false);
    cabinet_.RedrawSpinsDisplay();
    if (!cabinet_.ClosePending()) cabinet_.AnimateReels();
    if (state_.AutoSpin) state_.AutoSpinCount += 1;
    Settle();
}

void Game::Settle() {
    const SpinScore score = ScoreSpin(wheels_, state_.CurrentStake(), state_, random_);
    state_.LinePay = score.LinePay;
    state_.FulminaCount = score.FulminaCount;
    state_.SpinWin = score.SpinWin;
    cabinet_.RedrawStatusPanel();

    const bool closing = cabinet_.ClosePending();
    if (state_.SpinWin > 0.0f) {
        const int number = 1 + static_cast<int>(std::floor(3.0 * random_.Uniform()));
        if (!closing) cabinet_.PlayWinSound(number < 1 ? 1 : number > 3 ? 3 : number);
        if (closing || cabinet_.IsMinimized()) {
            TakeWin();
        } else {
            cabinet_.PresentWin();
        }
        ClearWonPool(state_);
    } else {
        random_.ReseedFromClock();
        if (!closing && cabinet_.SoundPlayable()) {
            const int number = static_cast<int>(std::floor(3.0 * random_.Uniform()));
            cabinet_.PlayNoWinSound(number < 0 ? 0 : number > 2 ? 2 : number);
        }
    }

    state_.SpinReady = true;
    cabinet_.EnableMenus(true);
    state_.Wager = 0.0f;
    cabinet_.SetButtonsAvailable(true);
    cabinet_.Checkpoint();
}

}  // namespace kazoomba
