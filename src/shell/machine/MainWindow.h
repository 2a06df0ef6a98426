// The slot machine's window: the face, the picture buttons and keys, the menu bar, and the Cabinet through
// which the rules drive it. Its jobs live in files of their own: MachineFace (drawing), MachineMenus (the
// menu bar), MachineWidgets (view and buttons), MachineKeys.cpp (keys), MachineMoment.cpp (which commands
// may act now), MachineCabinet.cpp (the Cabinet and the machine's time).
#pragma once

#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "art/Banner.h"
#include "art/Graphics.h"
#include "common/HeldKeys.h"
#include "engine/Random.h"
#include "machine/MachineFace.h"
#include "machine/MachineHooks.h"
#include "machine/MachineMenus.h"
#include "play/Cabinet.h"
#include "play/Game.h"
#include "play/MachineMoment.h"
#include "sound/Sound.h"

namespace kazoomba::ui {

class MachineReadouts;
class PictureButton;

// The Spin Speed menu: frame delays in milliseconds.
inline constexpr std::array<int, 4> kSpeedDelays = {10, 25, 40, 60};

// The machine's clock when nobody hands in another: steady, unaffected by changes of the date.
class SteadyClock : public Clock {
public:
    SteadyClock() { since_.start(); }
    std::int64_t Milliseconds() const override { return since_.elapsed(); }

private:
    QElapsedTimer since_;
};

class MainWindow : public QMainWindow, public Cabinet {
    Q_OBJECT
public:
    MainWindow(Graphics& graphics, Sound& sound, Random& random, MachineHooks hooks = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    Game& game() { return game_; }
    Graphics& graphics() { return graphics_; }
    Sound& sound() { return sound_; }
    Random& random() { return random_; }
    BannerMarquee& banner() { return *banner_; }
    MachineReadouts& readouts() { return *readouts_; }
    const MachineMenus& menus() const { return menus_; }
    const QImage& surface() const { return face_.surface(); }
    int DigitColor() const { return face_.DigitColor(); }
    int SpeedIndex() const { return speedIndex_; }
    int BannerIndex() const { return bannerIndex_; }
    bool PayLinesOn() const { return face_.PayLinesOn(); }
    // Where the machine stands, and whether a window waits over it; every command is enabled or
    // disabled from these two.
    MachineMoment CurrentMoment() const { return game_.CurrentMoment(); }
    bool WindowOpen() const;
    Commands AvailableNow() const { return Available(CurrentMoment(), WindowOpen()); }
    // The clock the spin's frames and pauses are timed by; tests hand in one they move by hand. Null
    // gives the steady clock back.
    void SetClock(const Clock* clock);
    // Shows what is due by the clock now: the frame of the reels' motion, or the end of a pause. The
    // window's timer calls it; tests call it after moving their clock.
    void Tick();
    // How long a key's release waits for the repeat press that would show the key still held.
    static constexpr int kKeySettleMs = 60;

    // Menu commands.
    void SetSpinSpeed(int index);
    void SetDigitColor(int index);
    void SetPayLines(int index);
    void SetBanner(int index);
    void SetSoundMenu(int index);
    void EditBannerText();

    // Player input, also used by tests.
    void PressButton(int button);
    void ReleaseButton(int button);
    void ButtonCommand(int button);

    // Loaded from start-up: start a new game, set the coin value, show the first frame.
    void StartUp();
    // Once shown after the game saved at exit was restored: carries on the spin that was in play when
    // the game last stopped (its win on screen, its board, its bonus spins), or says why it cannot.
    void ResumeMoment();
    // The frame of the reels shown last during a motion.
    int ShownFrame() const { return shownFrame_; }

    // Cabinet.
    void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    void EnableMenus(bool on) override;
    void SetButtonsAvailable(bool available) override;
    bool AnimateReels() override;
    void ReelsRebuilt() override;
    void RedrawStatusPanel() override;
    void RedrawSpinsDisplay() override;
    void RedrawLineMarkers() override;
    void RedrawMainWindow() override;
    bool PresentWin() override;
    bool ResumeBoard() override;
    void CheckCoinItem(int index) override;
    void SetAutoSpinCheck(bool checked) override;
    bool AskWinStopValue(std::string& text) override;
    void ShowBonusCaption(bool visible) override;
    void StopBanner() override;
    void RestartBanner() override;
    void ReloadBannerText() override;
    void SetCaption(std::string_view caption) override;
    bool IsMinimized() override;
    bool ClosePending() override { return closePending_; }
    std::int64_t Now() override;
    void MomentChanged() override;
    bool Checkpoint(bool guards) override;
    bool SoundPlayable() override { return sound_.Playable(); }
    void PlayCoinSound() override { sound_.Play(SoundCue::Coin); }
    bool PlayWinSound(int number) override { return Pause(sound_.Play(WinCue(number))); }
    bool PlayNoWinSound(int number) override { return Pause(sound_.Play(NoWinCue(number))); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectMenus();
    // Connects a menu item to a hook of the assembly; an item without its hook stays disabled.
    void ConnectHook(QAction* item, const std::function<void(MainWindow&)>& hook);
    // The moment gate: enables every command from the moment and the windows open.
    void UpdateMoment();
    // The machine's time: what it is doing and since when.
    enum class Activity { None, Reels, Pause };
    void StartActivity(Activity activity);
    void EndActivity();
    // The motion or pause has run its course (or is cut short): the reels at rest show their buttons
    // raised, and the spin goes on.
    void FinishActivity();
    bool Pause(int ms);
    // The win, after its window has closed: the machine under it shows the winning lines.
    void WinSettled();
    void Command(QAction* item, std::function<void()> command);
    void NoteModalWindow(QObject* watched, QEvent* event);
    // Keys.
    bool HandleKey(QObject* watched, QKeyEvent* key);
    bool FreshKeyEvent(QObject* watched, QKeyEvent* key);
    bool KeyboardHere(QObject* watched) const;
    void KeyWentDown(int key);
    void KeyCameUp(int key);
    void SettleKeys();
    void OpenMenuBar();
    void ForgetHeldKeys();
    void SetButtonPicture(int button, int state);
    bool HasBet() const { return game_.State().Wager > 0.0f || game_.State().LastBet > 0.0f; }

    Graphics& graphics_;
    Sound& sound_;
    Random& random_;
    MachineHooks hooks_;
    Game game_;
    MachineFace face_;
    std::unique_ptr<BannerMarquee> banner_;
    QPointer<PictureButton> keyboardButton_;  // had the keyboard when the buttons went off for a spin
    std::unique_ptr<MachineReadouts> readouts_;
    std::array<PictureButton*, 3> buttons_{};
    MachineMenus menus_;

    int speedIndex_ = 1;
    int speedDelay_ = 25;
    int bannerIndex_ = 0;
    bool closePending_ = false;
    enum class Quitting { No, Asking, Done } quitting_ = Quitting::No;
    bool inCloseEvent_ = false;

    SteadyClock steadyClock_;
    const Clock* clock_ = &steadyClock_;
    QTimer ticker_;
    Activity activity_ = Activity::None;
    std::int64_t activityStart_ = 0;  // by the clock, moved on by the time a window held the machine
    std::int64_t heldSince_ = -1;     // when a window the player opened began to hold it; -1: not held
    int pauseMs_ = 0;
    int shownFrame_ = kRestFrame;

    Commands commandsApplied_{};
    bool momentApplied_ = false;
    std::vector<QAction*> commands_;               // every menu item connected to a command
    std::vector<QPointer<QWidget>> modalWindows_;  // modal windows showing now, the latest last

    HeldKeys heldKeys_;
    QTimer keySettle_;
    // The key event last seen, so that one event passed from window to widget to parent counts once.
    const QEvent* lastKeyEvent_ = nullptr;
    QPointer<QObject> lastKeyReceiver_;
    QEvent::Type lastKeyType_ = QEvent::None;
    int lastKey_ = 0;
};

}  // namespace kazoomba::ui
