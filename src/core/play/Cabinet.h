// Everything the bank and the spin cycle ask of the machine's face. The real one is the main window;
// tests hand in a scripted one.
#pragma once

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
    // Plays the precomputed motion; returns when the last wheel has stopped.
    virtual void AnimateReels() = 0;
    // The reel strips were rebuilt (new game, load, bonus set on or off): redraw the strip pictures.
    virtual void ReelsRebuilt() = 0;
    virtual void RedrawStatusPanel() = 0;
    virtual void RedrawSpinsDisplay() = 0;
    virtual void RedrawLineMarkers() = 0;
    // Clears and redraws the whole window (after a coin value change).
    virtual void RedrawMainWindow() = 0;
    // Shows a win (SpinWin > 0) and returns once it has been taken, doubled or taken by the timer.
    virtual void PresentWin() = 0;
    // A board brought back at start (Game::OpenedBoard()) is shown again and returns once the player
    // has left it; a cabinet that cannot show it leaves it to be paid as it stands.
    virtual void ResumeBoard() {}
    virtual void CheckCoinItem(int index) = 0;
    virtual void SetAutoSpinCheck(bool checked) = 0;
    // Shows the Win Stop Value dialog and returns the text of its entry field.
    virtual std::string AskWinStopValue() = 0;
    virtual void ShowBonusCaption(bool visible) = 0;
    virtual void StopBanner() = 0;
    // Restarts the marquee if the Banner menu's "On" is checked.
    virtual void RestartBanner() = 0;
    // A new game re-reads the banner text and sets the caption.
    virtual void ReloadBannerText() = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    virtual bool IsMinimized() = 0;
    // A spin has settled, or a loan, a new game or a coin value changed the bank: a moment worth saving.
    virtual void Checkpoint() {}
    // The window is closing while a spin runs: settle at once, without animation, windows or sounds.
    virtual bool ClosePending() { return false; }

    // Sounds; each checks its own play condition (window not minimized, Sound "On").
    virtual bool SoundPlayable() = 0;
    virtual void PlayCoinSound() = 0;
    virtual void PlayWinSound(int number) = 0;    // 1 to 3, waits until it has finished
    virtual void PlayNoWinSound(int number) = 0;  // 0 to 2, waits until it has finished
};

}  // namespace kazoomba
