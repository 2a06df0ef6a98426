// The main window's keys: Enter spins, B and backslash bet one coin, F1 opens the manual, F10 the menus,
// Escape ends a run of auto spins, R tells the symbols on the reels; one action per physical press and
// release, however long the key is held.
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWindow>

#include "access/MachineAccessible.h"
#include "machine/MachineWidgets.h"
#include "machine/MainWindow.h"

namespace kazoomba::ui {

namespace {
bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }
bool IsBet(int key) { return key == Qt::Key_B || key == Qt::Key_Backslash; }  // backslash also bets one coin
}  // namespace

void MainWindow::OpenMenuBar() {
    for (QAction* menu : menuBar()->actions())
        if (menu->isEnabled() && menu->menu()) {
            menuBar()->setActiveAction(menu);
            return;
        }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ApplicationDeactivate:
            // Another program has the keyboard now: the keys held here will be let go there.
            ForgetHeldKeys();
            return false;
        case QEvent::Show:
        case QEvent::Hide:
            NoteModalWindow(watched, event);
            return false;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return HandleKey(watched, static_cast<QKeyEvent*>(event));
        default:
            return false;
    }
}

bool MainWindow::KeyboardHere(QObject* watched) const {
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || menuBar()->activeAction())
        return false;
    if (watched->isWindowType()) return watched == windowHandle();
    auto* w = qobject_cast<QWidget*>(watched);
    return w && w->window() == this;
}

bool MainWindow::FreshKeyEvent(QObject* watched, QKeyEvent* key) {
    // A key event reaches the window first, then the focus widget, then its parents while nobody takes it.
    bool fresh = true;
    if (!watched->isWindowType() && key == lastKeyEvent_ && key->type() == lastKeyType_ && key->key() == lastKey_ &&
        lastKeyReceiver_) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (lastKeyReceiver_->isWindowType()) {
            fresh = !(w && w->window()->windowHandle() == lastKeyReceiver_);
        } else {
            auto* before = qobject_cast<QWidget*>(lastKeyReceiver_.data());
            fresh = !(w && before && w->isAncestorOf(before));
        }
    }
    lastKeyEvent_ = key;
    lastKeyType_ = key->type();
    lastKey_ = key->key();
    lastKeyReceiver_ = watched;
    return fresh;
}

bool MainWindow::HandleKey(QObject* watched, QKeyEvent* key) {
    const bool press = key->type() == QEvent::KeyPress;
    const int k = key->key();
    const bool here = KeyboardHere(watched);
    // Only the widgets' delivery is taken; the window's own goes on to the focus widget.
    const bool consume = here && !watched->isWindowType();
    if (k == Qt::Key_F1) {
        // F1 opens the manual, exactly as Help > Manual does.
        if (consume && press && !key->isAutoRepeat() && menus_.manual->isEnabled()) menus_.manual->trigger();
        return consume;
    }
    if (k == Qt::Key_F10 && !(key->modifiers() & ~Qt::KeypadModifier)) {
        // F10 opens the menu bar at its first menu that can be used, as desktops have it: mid-spin that
        // is "Auto Play", so a run of auto spins can be stopped from the keyboard. The arrows then pass
        // over the menus a spin has disabled.
        if (consume && press && !key->isAutoRepeat()) OpenMenuBar();
        return consume;
    }
    if (k == Qt::Key_Escape && game_.State().AutoSpin) {
        // Escape ends a run of auto spins from wherever the keys are on the machine, as unchecking Auto
        // Spin does: the spin under way settles as it began, and nothing else happens.
        if (consume && press && !key->isAutoRepeat()) game_.StopAutoSpin();
        return consume;
    }
    if (k == Qt::Key_R && !(key->modifiers() & ~Qt::KeypadModifier)) {
        // The symbols showing, told to a player who cannot see them, without a spin.
        if (consume && press && !key->isAutoRepeat()) readouts_->TellReels(game_);
        return consume;
    }
    if (!IsEnter(k) && !IsBet(k)) return false;
    // Every Enter, B and backslash of the application is followed, wherever it goes, so that a hold that
    // began in a dialog or a menu is known for what it is when its repeats arrive here.
    if (FreshKeyEvent(watched, key)) {
        const KeyStroke stroke{press ? KeyEventType::Press : KeyEventType::Release, k,
                               static_cast<std::uint64_t>(key->timestamp()), key->isAutoRepeat(),
                               here && AvailableNow().buttons};
        const KeyActs acts = heldKeys_.Feed(stroke);
        if (acts.released) KeyCameUp(k);
        if (acts.pressed) KeyWentDown(k);
        if (heldKeys_.Unsettled()) keySettle_.start();
    }
    return consume;
}

void MainWindow::SettleKeys() {
    for (int k : heldKeys_.Settle()) KeyCameUp(k);
}

void MainWindow::KeyWentDown(int key) {
    if (IsEnter(key)) {
        if (HasBet() && game_.State().SpinReady) SetButtonPicture(SpinButton, Pressed);
    } else if (game_.State().SpinReady) {
        SetButtonPicture(Bet1Button, Pressed);
    }
}

void MainWindow::KeyCameUp(int key) {
    // A release acts only if the machine is still ready for it: a window may have opened in between.
    const bool ready = AvailableNow().buttons && game_.State().SpinReady && !QApplication::activeModalWidget();
    if (IsEnter(key)) {
        if (!ready || !HasBet()) {
            if (buttons_[SpinButton]->state() == Pressed) SetButtonPicture(SpinButton, Raised);
            return;
        }
        for (int b = 0; b < 3; ++b) SetButtonPicture(b, Greyed);
        ButtonCommand(SpinButton);
        if (game_.State().SpinReady)
            for (int b = 0; b < 3; ++b) SetButtonPicture(b, Raised);
        return;
    }
    if (buttons_[Bet1Button]->state() == Pressed) SetButtonPicture(Bet1Button, Raised);
    if (ready) ButtonCommand(Bet1Button);
}

void MainWindow::ForgetHeldKeys() {
    keySettle_.stop();
    heldKeys_.Forget();
    if (buttons_[SpinButton]->state() == Pressed && game_.State().SpinReady) SetButtonPicture(SpinButton, Raised);
    if (buttons_[Bet1Button]->state() == Pressed && game_.State().SpinReady) SetButtonPicture(Bet1Button, Raised);
}

}  // namespace kazoomba::ui
