// Everything the bank and the spin cycle ask of the machine's face. The real one is the main window;
// tests hand in a scripted one. Whatever takes time (the motion, a synchronous sound, a win presented,
// the board, the Win Stop Value dialog) is started by its call, which returns at once: true when it has
// started and Game::Proceed (or Game::SetWinStopValue) will follow once it is over, false when it is
// already over. The spin goes on from there; nothing waits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kazoomba {

enum class MessageIcon { Exclamation, Information };

class Cabinet {
public:
    virtual ~Cabinet() = default;

    virtual void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) = 0;
    // Disables or enables the File, Options, Bank and Help menus (Auto Play always stays enabled).
    virtual void EnableMenus(bool on) = 0;
    // Makes the Spin and both bet buttons available or not (disabled pictures while a spin runs).
    virtual void SetButtonsAvailable(bool available) = 0;
    // Starts the precomputed motion; Proceed follows once the last wheel has stopped.
    virtual bool AnimateReels() = 0;
    // The reel strips were rebuilt (new game, load, bonus set on or off): redraw the strip pictures.
    virtual void ReelsRebuilt() = 0;
    virtual void RedrawStatusPanel() = 0;
    virtual void RedrawSpinsDisplay() = 0;
    virtual void RedrawLineMarkers() = 0;
    // Clears and redraws the whole window (after a coin value change).
    virtual void RedrawMainWindow() = 0;
    // Shows a win (SpinWin > 0); Proceed follows once it has been taken, doubled or taken by the timer.
    virtual bool PresentWin() = 0;
    // A board brought back at start (Game::OpenedBoard()) is shown again; Proceed follows once the
    // player has left it. A cabinet that cannot show it leaves it to be paid as it stands.
    virtual bool ResumeBoard() { return false; }
    virtual void CheckCoinItem(int index) = 0;
    virtual void SetAutoSpinCheck(bool checked) = 0;
    // Shows the Win Stop Value dialog; Game::SetWinStopValue follows with the text of its entry field.
    // A cabinet that answers at once puts the text in `text` and returns false.
    virtual bool AskWinStopValue(std::string& text) = 0;
    virtual void ShowBonusCaption(bool visible) = 0;
    virtual void StopBanner() = 0;
    // Restarts the marquee if the Banner menu's "On" is checked.
    virtual void RestartBanner() = 0;
    // A new game re-reads the banner text and sets the caption.
    virtual void ReloadBannerText() = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    virtual bool IsMinimized() = 0;
    // A spin has settled, a win is about to be shown, a box opened on the board, or a loan, a new game or a
    // coin value changed the bank: a moment worth saving. A save that `guards` what comes next must be
    // on the disk before that is shown: true while it is under way, and Game::Saved follows once it is.
    virtual bool Checkpoint(bool guards) {
        (void)guards;
        return false;
    }
    // The date and time now, in seconds since 1970-01-01 UTC: when a spin is recorded in the game history.
    // The rules read no clock of their own.
    virtual std::int64_t Now() { return 0; }
    // The window is closing while a spin runs: settle at once, without animation, windows or sounds.
    virtual bool ClosePending() { return false; }
    // The machine has moved to another moment (Game::CurrentMoment): the commands follow it.
    virtual void MomentChanged() {}

    // Sounds; each checks its own play condition (window not minimized, Sound "On").
    virtual bool SoundPlayable() = 0;
    virtual void PlayCoinSound() = 0;
    // The win sounds numbered 1 to 3 and the no-win sounds numbered 0 to 2 are a pause in the spin:
    // true while one plays, and Proceed follows once it has finished.
    virtual bool PlayWinSound(int number) = 0;
    virtual bool PlayNoWinSound(int number) = 0;
};

}  // namespace kazoomba
