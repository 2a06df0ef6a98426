// The main window as the rules' Cabinet: messages, menus and buttons on and off, the reels' motion, the
// displays, the win presented, captions, banner and the checkpoint save; and the machine's time, which
// paces the motion and the pauses of its sounds by the clock, never by waiting.
#include <QApplication>
#include <QDateTime>
#include <QPointer>
#include <algorithm>

#include "QtText.h"
#include "access/MachineAccessible.h"
#include "dialogs/Modal.h"
#include "machine/MachineWidgets.h"
#include "machine/MainLayout.h"
#include "machine/MainWindow.h"

namespace kazoomba::ui {

using namespace layout;

void MainWindow::ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    ShowMessageBox(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::Information, ToQString(title),
                   ToQString(text), isVisible() ? this : nullptr);
}

void MainWindow::SetButtonsAvailable(bool available) {
    // A button the player moved to with Tab loses the keyboard while it is disabled for a spin, and has
    // it back when the machine is ready again, if nothing else has taken it meanwhile. It lets go before
    // any button is disabled: disabled with the keyboard, it would hand it on to the next button still
    // enabled, and that one on again, and a screen reader reads every greyed button the keyboard passes,
    // at every spin, and then the button the keyboard comes back to over the news of the spin's end.
    if (!available)
        for (PictureButton* b : buttons_)
            if (b->hasFocus()) {
                keyboardButton_ = b;
                b->clearFocus();
            }
    for (int b = 0; b < 3; ++b) {
        buttons_[b]->setEnabled(available);
        if (available && buttons_[b]->state() == Greyed) SetButtonPicture(b, Raised);
    }
    if (available && keyboardButton_) {
        QWidget* focus = focusWidget();
        if (!focus || !focus->isVisible() || !(focus->focusPolicy() & Qt::TabFocus))
            keyboardButton_->setFocus(Qt::OtherFocusReason);
        keyboardButton_ = nullptr;
    }
}

void MainWindow::SetClock(const Clock* clock) {
    clock_ = clock ? clock : &steadyClock_;
    readouts_->SetClock(clock_);
}

void MainWindow::StartActivity(Activity activity) {
    activity_ = activity;
    activityStart_ = clock_->Milliseconds();
    heldSince_ = -1;
    Tick();
}

void MainWindow::EndActivity() {
    activity_ = Activity::None;
    ticker_.stop();
}

void MainWindow::FinishActivity() {
    const bool reels = activity_ == Activity::Reels;
    EndActivity();
    if (reels)
        for (int b = 0; b < 3; ++b) SetButtonPicture(b, Raised);
    game_.Proceed();
}

void MainWindow::Tick() {
    if (activity_ == Activity::None) return;
    const std::int64_t now = clock_->Milliseconds();
    // A window the player opened mid-spin (the Win Stop Value dialog) holds the machine, as it would hold
    // a player at the machine; the motion goes on from the same frame once it closes.
    if (WindowOpen()) {
        if (heldSince_ < 0) heldSince_ = now;
        ticker_.stop();
        return;
    }
    if (heldSince_ >= 0) {
        activityStart_ += now - heldSince_;
        heldSince_ = -1;
    }
    const std::int64_t elapsed = now - activityStart_;
    std::int64_t nextDue = 0;
    if (activity_ == Activity::Reels) {
        // Each frame at least the speed's delay and one tick after the one before it.
        const int step = speedDelay_ + 1;
        const int due = FrameDue(elapsed, step, kRestFrame);
        if (due > shownFrame_) {
            bool stopped = false;
            for (int c = 0; c < kCells; ++c) stopped = stopped || (StopFrame(c) > shownFrame_ && StopFrame(c) <= due);
            shownFrame_ = due;
            face_.DrawReels(game_.Reels(), due);
            // One channel: wheels whose stops a late tick gathered sound as one.
            if (stopped) sound_.Play(SoundCue::ReelStop);
        }
        if (shownFrame_ < kRestFrame) nextDue = std::int64_t(shownFrame_ + 2) * step;
    } else if (elapsed < pauseMs_) {
        nextDue = pauseMs_;
    }
    if (nextDue == 0) {
        FinishActivity();
        return;
    }
    ticker_.start(static_cast<int>(std::max<std::int64_t>(0, nextDue - elapsed)));
}

bool MainWindow::AnimateReels() {
    for (int b = 0; b < 3; ++b) SetButtonPicture(b, Greyed);
    shownFrame_ = -1;
    StartActivity(Activity::Reels);
    return true;
}

bool MainWindow::Pause(int ms) {
    if (ms <= 0) return false;
    pauseMs_ = ms;
    StartActivity(Activity::Pause);
    return true;
}

void MainWindow::ReelsRebuilt() {
    graphics_.BuildSlotWheels(game_.Reels().ReelStrip);
    face_.DrawReels(game_.Reels(), kRestFrame);
}

void MainWindow::RedrawMainWindow() {
    face_.Redraw(game_);
    readouts_->ShowOutcome(game_);
}

void MainWindow::RedrawStatusPanel() {
    face_.DrawStatusPanel(game_.State());
    readouts_->ShowOutcome(game_);
}

void MainWindow::RedrawSpinsDisplay() {
    face_.DrawSpinsDisplay(game_.State());
    readouts_->ShowValues(game_.State());
}

void MainWindow::RedrawLineMarkers() { face_.DrawLineMarkers(game_.State()); }

bool MainWindow::PresentWin() {
    if (!hooks_.presentWin) {
        game_.TakeWin();
        WinSettled();
        return false;
    }
    hooks_.presentWin(*this, [this, alive = QPointer<MainWindow>(this)] {
        if (!alive) return;
        WinSettled();
        game_.Proceed();
    });
    return true;
}

void MainWindow::WinSettled() {
    // The window under the Payoffs window is drawn again: now the winning lines show.
    RedrawMainWindow();
    readouts_->ShowSettled(game_.State());
    // The window manager does not always hand the keyboard back when a stack of windows closes; the
    // machine takes it, so the next key plays on.
    if (isVisible() && !isMinimized() && !QApplication::activeModalWidget()) {
        activateWindow();
        readouts_->herald().TakeFocus();
    }
}

bool MainWindow::ResumeBoard() {
    if (!hooks_.resumeBoard) return false;
    // A board brought back ends as one opened from the Payoffs window does: the credits it leaves are
    // told and the machine has the keyboard again.
    hooks_.resumeBoard(*this, [this, alive = QPointer<MainWindow>(this)] {
        if (!alive) return;
        WinSettled();
        game_.Proceed();
    });
    return true;
}

void MainWindow::CheckCoinItem(int index) {
    CheckOnly(menus_.bet, index);
    face_.Clear();
}

void MainWindow::SetAutoSpinCheck(bool checked) {
    menus_.autoSpin->setChecked(checked);
    readouts_->ShowAutoSpin(checked, game_.State());
}

bool MainWindow::AskWinStopValue(std::string& text) {
    if (!hooks_.askWinStopValue) {
        text.assign(1, '0');  // no dialog: 0, auto spin never pauses
        return false;
    }
    hooks_.askWinStopValue(*this, [this, alive = QPointer<MainWindow>(this)](const QString& answer) {
        if (alive) game_.SetWinStopValue(answer.toStdString());
    });
    return true;
}

void MainWindow::ShowBonusCaption(bool visible) {
    face_.ShowBonusCaption(visible);
    if (visible) readouts_->ShowBonusSpin(game_.State().BonusSpins);
}

void MainWindow::StopBanner() { banner_->StopBanner(); }

void MainWindow::RestartBanner() {
    if (bannerIndex_ == 0) banner_->StartBanner();
}

void MainWindow::ReloadBannerText() {
    banner_->SetText(hooks_.readBannerText ? hooks_.readBannerText() : ToQString(kWelcomeBanner));
}

void MainWindow::SetCaption(std::string_view caption) { setWindowTitle(ToQString(caption)); }

bool MainWindow::IsMinimized() { return isMinimized(); }

std::int64_t MainWindow::Now() { return QDateTime::currentSecsSinceEpoch(); }

bool MainWindow::Checkpoint(bool guards) { return hooks_.checkpoint && hooks_.checkpoint(*this, guards); }

}  // namespace kazoomba::ui
