// The main window as the rules' Cabinet: messages, menus and buttons on and off, the reels' motion, the
// displays, the win presented, captions, banner and the checkpoint save.
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

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
    for (int b = 0; b < 3; ++b) {
        buttons_[b]->setEnabled(available);
        if (available && buttons_[b]->state() == Greyed) SetButtonPicture(b, Raised);
    }
}

void MainWindow::AnimateReels() {
    for (int b = 0; b < 3; ++b) SetButtonPicture(b, Greyed);
    QElapsedTimer clock;
    clock.start();
    const qint64 step = qint64(speedDelay_ + 1) * 1000000;
    qint64 last = clock.nsecsElapsed();
    for (int frame = 0; frame <= kRestFrame && !closePending_; ++frame) {
        // Sleep until the frame is due, then spin the last fraction of a millisecond for an even beat.
        for (;;) {
            const qint64 left = last + step - clock.nsecsElapsed();
            if (left <= 0) break;
            if (left > 400000) QThread::usleep(static_cast<unsigned long>((left - 300000) / 1000));
            else QThread::yieldCurrentThread();
        }
        last = clock.nsecsElapsed();
        face_.DrawReels(game_.Reels(), frame);
        for (int c = 0; c < kCells; ++c)
            if (frame == StopFrame(c)) sound_.Play(SoundCue::ReelStop);
        QCoreApplication::processEvents();
    }
    for (int b = 0; b < 3; ++b) SetButtonPicture(b, Raised);
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

void MainWindow::PresentWin() {
    presenting_ = true;
    UpdateMoment();
    if (hooks_.presentWin) hooks_.presentWin(*this);
    else game_.TakeWin();
    presenting_ = false;
    UpdateMoment();
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

void MainWindow::ResumeBoard() {
    if (hooks_.resumeBoard) hooks_.resumeBoard(*this);
    RedrawMainWindow();
}

void MainWindow::CheckCoinItem(int index) {
    CheckOnly(menus_.bet, index);
    face_.Clear();
}

void MainWindow::SetAutoSpinCheck(bool checked) { menus_.autoSpin->setChecked(checked); }

std::string MainWindow::AskWinStopValue() {
    return hooks_.askWinStopValue ? hooks_.askWinStopValue(*this).toStdString() : std::string("0");
}

void MainWindow::ShowBonusCaption(bool visible) {
    face_.ShowBonusCaption(visible);
    bonusRun_ = visible;
    UpdateMoment();
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

void MainWindow::Checkpoint() {
    if (hooks_.checkpoint) hooks_.checkpoint(*this);
}

}  // namespace kazoomba::ui
