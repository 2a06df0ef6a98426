// The slot machine's window: the drawn face, the picture buttons and keys, the menu bar, and the Cabinet
// through which the rules drive it.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "engine/Random.h"
#include "play/Cabinet.h"
#include "play/Game.h"
#include "art/Banner.h"
#include "art/Graphics.h"
#include "sound/Sound.h"

namespace kazoomba::ui {

class MachineReadouts;
class MachineView;
class PictureButton;

// The Spin Speed menu: frame delays in milliseconds.
inline constexpr std::array<int, 4> kSpeedDelays = {10, 25, 40, 60};

class MainWindow : public QMainWindow, public Cabinet {
    Q_OBJECT
public:
    MainWindow(Graphics& graphics, Sound& sound, Random& random, QWidget* parent = nullptr);
    ~MainWindow() override;

    Game& game() { return game_; }
    Graphics& graphics() { return graphics_; }
    Sound& sound() { return sound_; }
    Random& random() { return random_; }
    BannerMarquee& banner() { return *banner_; }
    MachineReadouts& readouts() { return *readouts_; }
    const QImage& surface() const { return surface_; }
    int DigitColor() const { return digitColor_; }
    int SpeedIndex() const { return speedIndex_; }
    int BannerIndex() const { return bannerIndex_; }
    bool PayLinesOn() const { return payLinesOn_; }
    QAction* action(const QString& objectName) const;
    // Gives a menu item whose window lives elsewhere its command, and enables it.
    void Wire(const QString& objectName, std::function<void()> command);

    // Menu commands.
    void SetSpinSpeed(int index);
    void SetDigitColor(int index);
    void SetPayLines(int index);
    void SetBanner(int index);
    void SetSoundMenu(int index);
    void EditBannerText();
    void EnableMenus(bool on) override;

    // Drawing.
    void RedrawMainWindow() override;
    void DrawStatusPanel();
    void DrawSpinsDisplay();
    void DrawLineMarkers();
    void Paylines();
    void DrawCell(int cell, int frame);
    int CheckColor() const;

    // Windows that other parts of the game open from here; set by whoever builds the game.
    std::function<void()> presentWin;          // the Payoffs window
    std::function<QString()> askWinStopValue;  // the Win Stop Value dialog
    std::function<void()> beforeQuit;          // the exit save, run once when the window closes
    std::function<void()> checkpoint;          // the save after each settled spin, loan, new game, coin value

    // Cabinet.
    void ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    void SetButtonsAvailable(bool available) override;
    void AnimateReels() override;
    void ReelsRebuilt() override;
    void RedrawStatusPanel() override { DrawStatusPanel(); }
    void RedrawSpinsDisplay() override { DrawSpinsDisplay(); }
    void RedrawLineMarkers() override { DrawLineMarkers(); }
    void PresentWin() override;
    void CheckCoinItem(int index) override;
    void SetAutoSpinCheck(bool checked) override;
    std::string AskWinStopValue() override;
    void ShowBonusCaption(bool visible) override;
    void StopBanner() override;
    void RestartBanner() override;
    void ReloadBannerText() override;
    void SetCaption(std::string_view caption) override;
    bool IsMinimized() override;
    bool ClosePending() override { return closePending_; }
    void Checkpoint() override { if (checkpoint) checkpoint(); }
    bool SoundPlayable() override { return sound_.Playable(); }
    void PlayCoinSound() override { sound_.PlayCoinSound(); }
    void PlayWinSound(int number) override { sound_.PlayNumberedSound(number); }
    void PlayNoWinSound(int number) override { sound_.PlayNoWinSound(number); }

    // Player input, also used by tests.
    void PressButton(int button);
    void ReleaseButton(int button);
    void ButtonCommand(int button);
    // Where the banner text comes from; the settings file by default once storage is wired.
    std::function<QString()> readBannerText;
    std::function<void(const QString&)> writeBannerText;

    // Loaded from start-up: start a new game, set the coin value, show the first frame.
    void StartUp();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildCaptions();
    void SetButtonPicture(int button, int state);
    bool HasBet() const { return game_.state.Wager > 0.0f || game_.state.LastBet > 0.0f; }
    void RunSpinCommand(const std::function<void()>& command);
    void Present();

    Graphics& graphics_;
    Sound& sound_;
    Random& random_;
    Game game_;
    QImage surface_;
    MachineView* view_ = nullptr;
    std::unique_ptr<BannerMarquee> banner_;
    std::unique_ptr<MachineReadouts> readouts_;
    std::array<PictureButton*, 3> buttons_{};
    QLabel* poolCaption_ = nullptr;
    QLabel* smileCaption_ = nullptr;
    QLabel* freeCaption_ = nullptr;
    QLabel* bonusCaption_ = nullptr;

    QMenu* fileMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* bankMenu_ = nullptr;
    QMenu* autoMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    std::array<QAction*, 5> betActions_{};
    std::array<QAction*, 7> digitActions_{};
    std::array<QAction*, 2> lineActions_{};
    std::array<QAction*, 2> bannerActions_{};
    std::array<QAction*, 4> speedActions_{};
    std::array<QAction*, 2> soundActions_{};
    QAction* autoAction_ = nullptr;

    int digitColor_ = 2;
    int speedIndex_ = 1;
    int speedDelay_ = 25;
    int bannerIndex_ = 0;
    bool payLinesOn_ = true;
    bool spinning_ = false;
    bool closePending_ = false;
    bool quitDone_ = false;
    bool enterDown_ = false;  // Enter went down in this window and has not come up yet
    bool betDown_ = false;    // the same for B and backslash
};

}  // namespace kazoomba::ui
