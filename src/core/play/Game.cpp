// The bank and the spin cycle.
#include "play/Game.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

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

Board& Game::OpenBoard(Random& random) {
    board_.emplace(state, random);
    KeepBoard();
    return *board_;
}

PickResult Game::PickBox(int box) {
    if (!OpenedBoard()) return {};
    const PickResult result = board_->Pick(box);
    if (result.opened) KeepBoard();
    return result;
}

void Game::QuitBoard() {
    if (board_) board_->Quit();
}

void Game::SpinCommand() {
    bool played = false;
    for (;;) {
        if (!state.SpinReady) break;
        if (state.Wager <= 0.0f && !RepeatLastBet()) break;
        played = true;
        PlayOneSpin();
        PlayBonusSpins();
        if (!state.AutoSpin || cabinet_.ClosePending()) break;
        if (state.AutoSpinCount >= kAutoSpinLimit) {
            SetAutoSpin(false);
            break;
        }
    }
    if (played) cabinet_.RestartBanner();
}

void Game::PlayBonusSpins() {
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
        // Kept before it is shown: from here a crash brings the win back to be taken once.
        KeepMoment(MomentPhase::Payoffs);
        cabinet_.Checkpoint();
        const int number = 1 + static_cast<int>(std::floor(3.0 * random_.Uniform()));
        if (!closing) cabinet_.PlayWinSound(number < 1 ? 1 : number > 3 ? 3 : number);
        PresentScoredWin();
    } else {
        random_.ReseedFromClock();
        if (!closing && cabinet_.SoundPlayable()) {
            const int number = static_cast<int>(std::floor(3.0 * random_.Uniform()));
            cabinet_.PlayNoWinSound(number < 0 ? 0 : number > 2 ? 2 : number);
        }
    }
    EndSettlement();
}

void Game::PresentScoredWin() {
    if (cabinet_.ClosePending() || cabinet_.IsMinimized()) {
        TakeWin();
    } else {
        cabinet_.PresentWin();
    }
    // A board its window left without Quit pays what it shows.
    if (OpenedBoard()) QuitBoard();
    ClearWonPool(state);
}

void Game::EndSettlement() {
    state.SpinReady = true;
    cabinet_.EnableMenus(true);
    state.Wager = 0.0f;
    cabinet_.SetButtonsAvailable(true);
    KeepMoment(state.BonusSpins > 0 ? MomentPhase::BonusSpins : MomentPhase::Idle);
    cabinet_.Checkpoint();
}

void Game::KeepMoment(MomentPhase phase) {
    PendingMoment m;
    m.phase = phase;
    m.stops = wheels.StopIndex;
    m.bonusSet = wheels.bonusSet;
    m.bonusSpins = state.BonusSpins;
    if (phase == MomentPhase::Payoffs) {
        std::copy_n(state.LinePay.begin(), kLines, m.linePay.begin());
        m.spinWin = state.SpinWin;
        m.bells = state.Bells;
        m.pool = state.Bells <= 0 ? state.BonusPool : 0.0f;
    }
    moment_ = m;
}

void Game::KeepBoard() {
    moment_.phase = MomentPhase::Board;
    moment_.boxContent = board_->BoxContent();
    moment_.boxOpened = board_->BoxOpened();
    moment_.winnings = board_->Winnings();
    cabinet_.Checkpoint();
}

void Game::Restore(const GameState& loaded) {
    state = loaded;
    board_.reset();
    moment_ = PendingMoment{};
    moment_.stops = wheels.StopIndex;
    refusal_.clear();
    cabinet_.CheckCoinItem(state.CoinIndex);
    cabinet_.RedrawMainWindow();
    BuildReels();
}

void Game::RestoreMoment(const PendingMoment& m) {
    moment_ = m;
    refusal_.clear();
    const bool inPlay = m.phase != MomentPhase::Idle;
    // After its last bonus spin the machine shows the regular strips again, at the same stops.
    state.BonusMode = inPlay && m.bonusSet;
    state.BonusSpins = m.bonusSpins;
    kazoomba::BuildReels(wheels, state.BonusMode);
    SetRestStops(wheels, m.stops);
    if (inPlay) {
        // Nothing else may act until ResumeMoment carries the spin on.
        state.SpinReady = false;
        cabinet_.EnableMenus(false);
    }
    if (m.phase == MomentPhase::Payoffs || m.phase == MomentPhase::Board) {
        // The spin is settled but not over: its bet stays on the lines.
        state.Wager = state.LastBet;
        state.LineCoins = DealLineCoins(state.Wager, state.CoinValue);
        std::copy_n(m.linePay.begin(), kLines, state.LinePay.begin());
        state.LinePay[kLines] = 0;
        state.Bells = m.bells;
        // The stops decide the win: the figure stored in cents only had to agree with them.
        const float win = PayOfStops(m.stops, m.bonusSet, state.CoinValue, state.LastBet).lineWin +
                          (m.bells <= 0 ? state.BonusPool : 0.0f);
        state.SpinWin = win;
        moment_.spinWin = win;
        moment_.pool = m.bells <= 0 ? state.BonusPool : 0.0f;
        if (m.phase == MomentPhase::Board) {
            state.SpinWin = BoardWinnings(win, m.boxContent, m.boxOpened);
            moment_.winnings = state.SpinWin;
            board_.emplace(state, m.boxContent, m.boxOpened);
        }
    }
    cabinet_.ReelsRebuilt();
    cabinet_.RedrawMainWindow();
}

void Game::RefuseMoment(std::string reason) { refusal_ = std::move(reason); }

void Game::ResumeMoment() {
    if (!refusal_.empty()) {
        const std::string reason = std::exchange(refusal_, std::string());
        cabinet_.ShowMessage(kMomentRefusedTitle,
                             "The spin in play when the game last stopped cannot be brought back: " + reason +
                                 ".  The game goes on without it.",
                             MessageIcon::Exclamation);
    }
    const MomentPhase phase = moment_.phase;
    if (phase == MomentPhase::Idle) return;
    if (phase != MomentPhase::BonusSpins) {
        cabinet_.StopBanner();
        cabinet_.SetButtonsAvailable(false);
        if (phase == MomentPhase::Board) {
            cabinet_.ResumeBoard();
            if (OpenedBoard()) QuitBoard();
            ClearWonPool(state);
        } else {
            PresentScoredWin();
        }
        EndSettlement();
    }
    PlayBonusSpins();
    cabinet_.RestartBanner();
}

}  // namespace kazoomba
