// A scripted random source and a scripted cabinet that records what the rules ask of the window.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/Random.h"
#include "gamble/Board.h"
#include "play/Cabinet.h"
#include "play/Game.h"
#include "support/GameDoor.h"

namespace kazoomba::testing {

// Returns the queued values in order, then `fallback` forever; counts reseeds.
class ScriptedRandom : public Random {
public:
    std::deque<double> queue;
    double fallback = 0.0;
    int reseeds = 0;
    int draws = 0;
    double Uniform() override {
        ++draws;
        if (queue.empty()) return fallback;
        double v = queue.front();
        queue.pop_front();
        return v;
    }
    void ReseedFromClock() override { ++reseeds; }
};

// The uniform value that makes floor(20 u) equal `stop draw`.
inline double DrawFor(int launchDraw) { return (launchDraw + 0.5) / 20.0; }

// Queues the draws of one ComputeSpin so that each cell comes to rest on the given stop.
inline void ForceStops(ScriptedRandom& random, const std::array<int, 9>& stops) {
    // Cell c draws on every frame t = 1 .. 12c + 1; only the last draw (its launch) decides the stop.
    for (int t = 1; t <= 130; ++t)
        for (int c = 0; c < 9; ++c)
            if (t <= 12 * c + 1) random.queue.push_back(DrawFor(((stops[c] - 6) % 20 + 20) % 20));
}

// Queued just before a board opens (every draw comes from the same source), the shuffle leaves box n holding
// content n - 1: 5X, 3X and 2X under boxes 1 to 3, losing boxes 4 to 10, Try Again 11 to 13, hints 14 and 15.
inline void QueueIdentityShuffle(ScriptedRandom& random) {
    for (int pass = 0; pass < 20; ++pass)
        for (int j = 0; j < kBoxes; ++j) random.queue.push_back((j + 0.5) / kBoxes);
}

struct Message {
    std::string title, text;
    MessageIcon icon;
};

class ScriptedCabinet : public Cabinet {
public:
    Game* game = nullptr;
    std::vector<Message> messages;
    std::vector<std::string> calls;   // a log of the notable calls, in order
    std::vector<float> presentedWins;
    int animations = 0, coinSounds = 0, winSounds = 0, noWinSounds = 0, rebuilds = 0;
    bool minimized = false, soundOn = true, menusOn = true, buttonsOn = true, bonusCaption = false;
    bool autoCheck = false, closePending = false;
    int checkedCoin = 2;
    std::string winStopText = "0";
    std::vector<bool> bonusCaptionDuringSpin;  // caption state at each animation
    std::deque<std::array<int, 9>> outcomes;   // stops forced on the wheels as each spin is drawn
    std::function<void()> onAnimate;           // a hook run at each animation
    std::function<void()> onDraw;              // a hook run as each outcome is drawn, before it is kept
    std::function<void()> onPresentWin;        // defaults to Take
    std::function<void()> onCheckpoint;        // run at each moment the game asks to be saved
    std::function<void()> onResumeBoard;       // a board brought back at start; left alone it pays as it stands
    int resumedBoards = 0;
    // Asynchronous as the window is: the motion, the sounds and the win presented report their end only
    // when the test calls Game::Proceed; `waiting` names what is under way ("" when nothing is).
    bool async = false;
    std::string waiting;
    int savesUnderWay = 0;  // guarding saves not yet reported on the disk
    std::int64_t now = 1700000000;  // the date and time the cabinet tells: 14 November 2023, 22:13:20 UTC
    int moments = 0;        // MomentChanged calls

    void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) override {
        messages.push_back({std::string(title), std::string(text), icon});
    }
    void EnableMenus(bool on) override { menusOn = on; calls.push_back(on ? "menus on" : "menus off"); }
    void SetButtonsAvailable(bool on) override { buttonsOn = on; }
    bool AnimateReels() override {
        ++animations;
        bonusCaptionDuringSpin.push_back(bonusCaption);
        calls.push_back("animate");
        if (onAnimate) onAnimate();
        return Started("reels");
    }
    bool Started(const std::string& what) {
        if (!async) return false;
        waiting = what;
        return true;
    }
    void ReelsRebuilt() override { ++rebuilds; }
    // The pool and the Globes left as each redraw of the status panel shows them.
    std::vector<std::pair<float, int>> statusShown;
    void RedrawStatusPanel() override { statusShown.push_back({game->State().BonusPool, game->State().Bells}); }
    // Called as the outcome has been drawn and counted, before it is kept and the reels move: the stops
    // a test forces are the outcome from the start, as the game's own draw would be.
    void RedrawSpinsDisplay() override {
        if (!outcomes.empty()) {
            for (int c = 0; c < 9; ++c) GameDoor::Reels(*game).StopIndex[c] = static_cast<std::int16_t>(outcomes.front()[c]);
            outcomes.pop_front();
        }
        if (onDraw) onDraw();
    }
    void RedrawLineMarkers() override {}
    void RedrawMainWindow() override { calls.push_back("redraw"); }
    bool PresentWin() override {
        presentedWins.push_back(game->State().SpinWin);
        calls.push_back("present");
        if (async) return Started("win");
        if (onPresentWin) onPresentWin(); else game->TakeWin();
        return false;
    }
    bool ResumeBoard() override {
        ++resumedBoards;
        calls.push_back("resume board");
        if (onResumeBoard) onResumeBoard();
        return false;
    }
    void CheckCoinItem(int index) override { checkedCoin = index; }
    void SetAutoSpinCheck(bool checked) override { autoCheck = checked; }
    bool AskWinStopValue(std::string& text) override {
        text = winStopText;
        return false;
    }
    void ShowBonusCaption(bool visible) override {
        if (visible != bonusCaption) calls.push_back(visible ? "bonus caption on" : "bonus caption off");
        bonusCaption = visible;
    }
    void StopBanner() override { calls.push_back("banner stop"); }
    void RestartBanner() override { calls.push_back("banner start"); }
    void ReloadBannerText() override {}
    void SetCaption(std::string_view) override {}
    bool IsMinimized() override { return minimized; }
    bool ClosePending() override { return closePending; }
    std::int64_t Now() override { return now; }
    bool Checkpoint(bool guards) override {
        calls.push_back(guards ? "guarding checkpoint" : "checkpoint");
        if (onCheckpoint) onCheckpoint();
        if (!async || !guards) return false;
        ++savesUnderWay;
        return true;
    }
    void MomentChanged() override { ++moments; }
    bool SoundPlayable() override { return soundOn && !minimized; }
    void PlayCoinSound() override { ++coinSounds; }
    bool PlayWinSound(int) override {
        ++winSounds;
        calls.push_back("win sound");
        return Started("sound");
    }
    bool PlayNoWinSound(int) override {
        ++noWinSounds;
        calls.push_back("no-win sound");
        return Started("sound");
    }
    // Ends what is under way, as the window does when it is over.
    void Finish() {
        waiting.clear();
        game->Proceed();
    }
    // The oldest guarding save is on the disk.
    void FinishSave() {
        --savesUnderWay;
        game->Saved();
    }
};

// A game wired to a scripted cabinet and random source, started as the program starts it.
struct Table {
    ScriptedRandom random;
    ScriptedCabinet cabinet;
    Game game{cabinet, random};
    Table() {
        cabinet.game = &game;
        game.StartNewGame();
        game.SelectCoinValue(2);
    }
    GameState& s() { return GameDoor::State(game); }
};

}  // namespace kazoomba::testing
