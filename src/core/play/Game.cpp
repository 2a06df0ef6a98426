// The bank and the spin cycle.
#include "play/Game.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "common/NumberPicture.h"
#include "gamble/Board.h"

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

Game::~Game() = default;

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
    Checkpoint(false);
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
    // Whatever was in play belongs to the game replaced; the reels stay where they rest.
    board_.reset();
    choice_ = PayoffsChoice::None;
    picks_.clear();
    poolWon_ = 0.0f;
    moment_ = PendingMoment{};
    moment_.stops = wheels_.StopIndex;
    refusal_.clear();
    BuildReels();
}

void Game::Borrow(int index) {
    if (index < 0 || index >= static_cast<int>(kLoanChoices.size())) return;
    state_.Borrowed += kLoanChoices[index].amount;
    state_.Credits += kLoanChoices[index].amount;
    cabinet_.RedrawStatusPanel();
    Checkpoint(false);
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
    Checkpoint(false);
}

void Game::NewGame() {
    // Marked first: the mark goes with the new game's save.
    Record(HistoryEntry{HistoryEntry::Kind::NewGame, 0, {}, {}});
    StartNewGame();
}

void Game::NoteGameLoaded(const std::string& name) { Record(HistoryEntry{HistoryEntry::Kind::LoadedGame, 0, {}, name}); }

std::vector<HistoryEntry> Game::TakeRecords() { return std::exchange(unsaved_, {}); }

void Game::KeepLoadedHistory(const std::vector<HistoryEntry>& loaded) {
    GameHistory history;
    for (const HistoryEntry& e : loaded) history.Add(e);
    // A spin the game brought back at start and settled again follows its first record, and replaces it.
    for (const HistoryEntry& e : history_.Entries()) history.Add(e);
    history_ = std::move(history);
}

void Game::Record(HistoryEntry entry) {
    entry.time = cabinet_.Now();
    history_.Add(entry);
    unsaved_.push_back(std::move(entry));
    constexpr std::size_t kMostUnsaved = 2 * static_cast<std::size_t>(GameHistory::kKeptSpins);
    if (unsaved_.size() > kMostUnsaved) unsaved_.erase(unsaved_.begin());
}

void Game::RecordSpin() {
    HistoryEntry entry;
    SpinRecord& r = entry.spin;
    r.spin = state_.Spins;
    r.bonusSet = wheels_.bonusSet;
    // A bonus spin has taken its own off the count before it was played.
    r.bonusSpin = static_cast<std::int16_t>(r.bonusSet ? 3 - state_.BonusSpins : 0);
    r.coinValue = state_.CoinValue;
    r.coins = static_cast<std::int16_t>(std::lround(state_.LastBet / state_.CoinValue));
    r.stops = wheels_.StopIndex;
    const StopsPay pay = PayOfStops(r.stops, r.bonusSet, r.coinValue, state_.LastBet);
    r.linePay = pay.linePay;
    int fulminas = 0;
    for (int c = 0; c < kCells; ++c) fulminas += wheels_.SymbolAt(c) == Fulmina;
    r.poolGrown = PoolGrowth(Stake{r.coinValue, state_.LastBet, DealLineCoins(state_.LastBet, r.coinValue)},
                             r.bonusSet, fulminas);
    r.poolWon = poolWon_;
    // Awarded bonus spins are played straight after the spin that won them.
    r.smileAward = !r.bonusSet && state_.BonusSpins > 0;
    r.choice = choice_;
    for (int box : picks_)
        r.boxes.push_back({static_cast<std::int16_t>(box),
                           static_cast<std::int16_t>(board_ ? board_->BoxContent()[box - 1] : 0)});
    r.win = pay.lineWin + poolWon_;
    r.paid = state_.SpinWin;
    r.credits = state_.Credits;
    Record(std::move(entry));
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
    std::string text;
    if (!cabinet_.AskWinStopValue(text)) SetWinStopValue(text);
}

void Game::StopAutoSpin() {
    if (state_.AutoSpin) SetAutoSpin(false);
}

void Game::SetWinStopValue(const std::string& text) {
    state_.WinStopValue = LeadingWhole(TrimBlanks(text));
    state_.AutoSpinCount = 0;
}

bool Game::AutoTakeDue() const {
    // A stop asked for while a spin of the run was under way leaves that spin's win to the run: the
    // window that shows it never waits for keys the player was pressing to stop.
    return (state_.AutoSpin || (runSpin_ && step_ != Step::Idle)) &&
           (state_.WinStopValue == 0 || state_.SpinWin < static_cast<float>(state_.WinStopValue));
}

void Game::TakeWin() {
    if (choice_ == PayoffsChoice::None) choice_ = PayoffsChoice::Take;
    state_.Credits += state_.SpinWin;
}

float Game::StakeOnBoard() {
    choice_ = PayoffsChoice::Double;
    state_.DoubleNothing -= state_.SpinWin;
    return state_.SpinWin;
}

void Game::LeaveBoard(float winnings) {
    state_.SpinWin = winnings;
    state_.DoubleNothing += winnings;
    TakeWin();
}

Board& Game::OpenBoard(Random& random) {
    board_ = std::make_unique<Board>(StakeOnBoard(), random);
    KeepBoard();
    TellMoment();
    return *board_;
}

PickResult Game::PickBox(int box) {
    if (!OpenedBoard()) return {};
    const PickResult result = board_->Pick(box);
    if (result.opened) {
        picks_.push_back(box);
        KeepBoard();
    }
    return result;
}

void Game::QuitBoard() {
    if (!board_) return;
    if (const auto winnings = board_->Quit()) LeaveBoard(*winnings);
}

Board* Game::OpenedBoard() { return board_ && !board_->Settled() ? board_.get() : nullptr; }
const Board* Game::OpenedBoard() const { return board_ && !board_->Settled() ? board_.get() : nullptr; }

MachineMoment Game::CurrentMoment() const {
    if (wait_ == Wait::Board || (wait_ == Wait::Win && OpenedBoard())) return MachineMoment::OnBoard;
    if (wait_ == Wait::Win) return MachineMoment::PresentingWin;
    if (step_ == Step::Idle && state_.SpinReady) return MachineMoment::Idle;
    if (bonusRun_) return MachineMoment::BonusSpins;
    if (wait_ == Wait::Reels) return MachineMoment::ReelsMoving;
    return MachineMoment::Settling;
}

void Game::SpinCommand() {
    if (step_ != Step::Idle) return;
    SetStep(Step::Bet);
    Run();
}

void Game::Proceed() {
    if (wait_ == Wait::None) return;
    wait_ = Wait::None;
    Run();
}

void Game::Run() {
    // A cabinet that reports from inside the call that started the wait only clears it; the loop below
    // then goes on.
    if (running_) return;
    running_ = true;
    while (wait_ == Wait::None && step_ != Step::Idle) TakeStep();
    running_ = false;
    TellMoment();
}

void Game::Await(Wait what, const std::function<bool()>& start) {
    // Set before the call: a cabinet may report the end from inside it.
    wait_ = what;
    if (!start()) wait_ = Wait::None;
}

void Game::TellMoment() {
    const MachineMoment now = CurrentMoment();
    if (now == told_) return;
    told_ = now;
    cabinet_.MomentChanged();
}

void Game::SetStep(Step step) { step_ = step; }

void Game::TakeStep() {
    switch (step_) {
        case Step::Idle: return;
        case Step::Bet:
            if (!state_.SpinReady || (state_.Wager <= 0.0f && !RepeatLastBet())) {
                SetStep(Step::Finish);
                return;
            }
            played_ = true;
            StartOneSpin();
            return;
        case Step::Motion: StartMotion(); return;
        case Step::Score: Score(); return;
        case Step::Sound: SoundWin(); return;
        case Step::Present: PresentScoredWin(); return;
        case Step::Presented: {
            // A board its window left without Quit pays what it shows.
            if (OpenedBoard()) QuitBoard();
            const bool poolWon = state_.Bells <= 0;
            poolWon_ = poolWon ? state_.BonusPool : 0.0f;
            ClearWonPool(state_);
            // The pool display and its Globes show the pool begun again now, not after the bonus spins.
            if (poolWon) cabinet_.RedrawStatusPanel();
            SetStep(Step::Settled);
            return;
        }
        case Step::Settled:
            SetStep(Step::Bonus);
            EndSettlement();
            return;
        case Step::Bonus: NextBonusSpin(); return;
        case Step::Next:
            SetStep(Step::Finish);
            if (resuming_ || !state_.AutoSpin || cabinet_.ClosePending()) return;
            if (state_.AutoSpinCount >= kAutoSpinLimit) {
                SetAutoSpin(false);
                return;
            }
            SetStep(Step::Bet);
            return;
        case Step::Finish:
            SetStep(Step::Idle);
            if (played_ || resuming_) cabinet_.RestartBanner();
            played_ = resuming_ = false;
            return;
    }
}

void Game::NextBonusSpin() {
    // Awarded bonus spins are played even when the window is closing: they are the player's.
    if (state_.BonusSpins > 0) {
        bonusRun_ = true;
        cabinet_.ShowBonusCaption(true);
        state_.BonusSpins -= 1;
        state_.Wager = state_.LastBet;  // free: nothing leaves Credits, TotalWagers stays
        state_.LineCoins = DealLineCoins(state_.Wager, state_.CoinValue);
        if (!state_.BonusMode) {
            state_.BonusMode = true;
            BuildReels();
        }
        StartOneSpin();
        return;
    }
    bonusRun_ = false;
    cabinet_.ShowBonusCaption(false);
    if (state_.BonusMode) {
        state_.BonusMode = false;
        BuildReels();
    }
    SetStep(Step::Next);
}

void Game::StartOneSpin() {
    runSpin_ = state_.AutoSpin;
    cabinet_.EnableMenus(false);
    state_.SpinReady = false;
    state_.LastBet = state_.Wager;
    choice_ = PayoffsChoice::None;
    picks_.clear();
    poolWon_ = 0.0f;
    cabinet_.StopBanner();
    ComputeSpin(wheels_, random_, state_.Spins);
    cabinet_.SetButtonsAvailable(false);
    cabinet_.RedrawSpinsDisplay();
    // The outcome is kept, with the bet taken, before the first frame moves: from here a crash costs
    // the player the animation and nothing else, and the spin cannot be played again.
    KeepMoment(MomentPhase::Reels);
    SetStep(Step::Motion);
    Await(Wait::Save, [this] { return Checkpoint(true); });
}

void Game::StartMotion() {
    SetStep(Step::Score);
    if (!cabinet_.ClosePending()) Await(Wait::Reels, [this] { return cabinet_.AnimateReels(); });
}

void Game::Score() {
    if (state_.AutoSpin) state_.AutoSpinCount += 1;
    const SpinScore score = ScoreSpin(wheels_, state_.CurrentStake(), state_, random_);
    state_.LinePay = score.LinePay;
    state_.FulminaCount = score.FulminaCount;
    state_.SpinWin = score.SpinWin;
    cabinet_.RedrawStatusPanel();

    const bool closing = cabinet_.ClosePending();
    if (state_.SpinWin > 0.0f) {
        // Kept before it is shown: from here a crash brings the win back to be taken once.
        KeepMoment(MomentPhase::Payoffs);
        SetStep(Step::Sound);
        Await(Wait::Save, [this] { return Checkpoint(true); });
        return;
    }
    random_.ReseedFromClock();
    SetStep(Step::Settled);
    if (!closing && cabinet_.SoundPlayable()) {
        const int number = static_cast<int>(std::floor(3.0 * random_.Uniform()));
        Await(Wait::Sound, [&] { return cabinet_.PlayNoWinSound(number < 0 ? 0 : number > 2 ? 2 : number); });
    }
}

void Game::SoundWin() {
    const int number = 1 + static_cast<int>(std::floor(3.0 * random_.Uniform()));
    SetStep(Step::Present);
    if (!cabinet_.ClosePending())
        Await(Wait::Sound, [&] { return cabinet_.PlayWinSound(number < 1 ? 1 : number > 3 ? 3 : number); });
}

void Game::PresentScoredWin() {
    SetStep(Step::Presented);
    if (cabinet_.ClosePending() || cabinet_.IsMinimized()) {
        TakeWin();
        return;
    }
    Await(Wait::Win, [this] { return cabinet_.PresentWin(); });
}

void Game::EndSettlement() {
    RecordSpin();
    state_.SpinReady = true;
    cabinet_.EnableMenus(true);
    state_.Wager = 0.0f;
    cabinet_.SetButtonsAvailable(true);
    KeepMoment(state_.BonusSpins > 0 ? MomentPhase::BonusSpins : MomentPhase::Idle);
    // Between bonus spins the next free spin waits until the ones still to come are on the disk.
    const bool guards = state_.BonusSpins > 0;
    Await(Wait::Save, [this, guards] { return Checkpoint(guards); });
}

bool Game::Checkpoint(bool guards) {
    if (!guards) {
        cabinet_.Checkpoint(false);
        return false;
    }
    ++guardingSaves_;
    if (cabinet_.Checkpoint(true)) return true;  // Saved follows, or came from inside the call
    --guardingSaves_;
    return false;
}

void Game::Saved() {
    if (guardingSaves_ > 0) --guardingSaves_;
    if (guardingSaves_ > 0) return;
    for (auto& then : std::exchange(afterSaves_, {})) then();
    if (wait_ == Wait::Save) Proceed();
}

void Game::WhenSaved(std::function<void()> then) {
    if (guardingSaves_ == 0) return then();
    afterSaves_.push_back(std::move(then));
}

void Game::KeepMoment(MomentPhase phase) {
    PendingMoment m;
    m.phase = phase;
    m.stops = wheels_.StopIndex;
    m.bonusSet = wheels_.bonusSet;
    m.bonusSpins = state_.BonusSpins;
    if (phase == MomentPhase::Payoffs) {
        std::copy_n(state_.LinePay.begin(), kLines, m.linePay.begin());
        m.spinWin = state_.SpinWin;
        m.bells = state_.Bells;
        m.pool = state_.Bells <= 0 ? state_.BonusPool : 0.0f;
    }
    moment_ = m;
}

void Game::KeepBoard() {
    moment_.phase = MomentPhase::Board;
    moment_.boxContent = board_->BoxContent();
    moment_.boxOpened = board_->BoxOpened();
    moment_.winnings = board_->Winnings();
    // Guarding: what a box held is shown once it is on the disk (the board window waits for it), so a
    // crash can never take back a box the player has seen.
    Checkpoint(true);
}

void Game::RestoreMoment(const PendingMoment& m) {
    moment_ = m;
    refusal_.clear();
    choice_ = PayoffsChoice::None;
    picks_.clear();
    poolWon_ = 0.0f;
    const bool inPlay = m.phase != MomentPhase::Idle;
    // After its last bonus spin the machine shows the regular strips again, at the same stops.
    state_.BonusMode = inPlay && m.bonusSet;
    state_.BonusSpins = m.bonusSpins;
    kazoomba::BuildReels(wheels_, state_.BonusMode);
    SetRestStops(wheels_, m.stops);
    if (inPlay) {
        // Nothing else may act until ResumeMoment carries the spin on.
        state_.SpinReady = false;
        cabinet_.EnableMenus(false);
    }
    if (m.phase == MomentPhase::Reels) {
        // The bet was taken and stays on the lines until the spin is settled.
        state_.Wager = state_.LastBet;
        state_.LineCoins = DealLineCoins(state_.Wager, state_.CoinValue);
    }
    if (m.phase == MomentPhase::Payoffs || m.phase == MomentPhase::Board) {
        // The spin is settled but not over: its bet stays on the lines.
        state_.Wager = state_.LastBet;
        state_.LineCoins = DealLineCoins(state_.Wager, state_.CoinValue);
        std::copy_n(m.linePay.begin(), kLines, state_.LinePay.begin());
        state_.LinePay[kLines] = 0;
        state_.Bells = m.bells;
        // The stops decide the win: the figure stored in cents only had to agree with them.
        const float win = PayOfStops(m.stops, m.bonusSet, state_.CoinValue, state_.LastBet).lineWin +
                          (m.bells <= 0 ? state_.BonusPool : 0.0f);
        state_.SpinWin = win;
        moment_.spinWin = win;
        moment_.pool = m.bells <= 0 ? state_.BonusPool : 0.0f;
        if (m.phase == MomentPhase::Board) {
            state_.SpinWin = BoardWinnings(win, m.boxContent, m.boxOpened);
            moment_.winnings = state_.SpinWin;
            board_ = std::make_unique<Board>(state_.SpinWin, m.boxContent, m.boxOpened);
            // The order the boxes were opened in was not kept; the record lists them by number.
            choice_ = PayoffsChoice::Double;
            for (int i = 0; i < kBoxes; ++i)
                if (m.boxOpened[i]) picks_.push_back(i + 1);
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
    if (phase == MomentPhase::Idle || step_ != Step::Idle) return;
    resuming_ = true;
    if (phase == MomentPhase::BonusSpins) {
        SetStep(Step::Bonus);
    } else if (phase == MomentPhase::Reels) {
        // The reels rest on the stops chosen before the crash; the spin is settled from there, as it
        // would have been once they stopped.
        cabinet_.StopBanner();
        cabinet_.SetButtonsAvailable(false);
        if (state_.BonusMode) {
            bonusRun_ = true;
            cabinet_.ShowBonusCaption(true);
        }
        SetStep(Step::Score);
    } else {
        cabinet_.StopBanner();
        cabinet_.SetButtonsAvailable(false);
        if (phase == MomentPhase::Board) {
            SetStep(Step::Presented);
            running_ = true;  // the board's end carries the command on from below, not from inside its call
            Await(Wait::Board, [this] { return cabinet_.ResumeBoard(); });
            running_ = false;
        } else {
            SetStep(Step::Present);
        }
    }
    Run();
}

}  // namespace kazoomba
