// The main window's keys: Enter spins, B and backslash bet one coin, F1 opens the manual, F10 the menus.
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include "machine/MachineWidgets.h"
#include "machine/MainWindow.h"

namespace kazoomba::ui {

void MainWindow::ForgetHeldKeys() {
    // A key held while the window loses the keyboard will release elsewhere: forget it.
    if (enterDown_ && buttons_[SpinButton]->state() == Pressed) SetButtonPicture(SpinButton, Raised);
    if (betDown_ && buttons_[Bet1Button]->state() == Pressed) SetButtonPicture(Bet1Button, Raised);
    enterDown_ = betDown_ = false;
}

void MainWindow::OpenMenuBar() {
    for (QAction* menu : menuBar()->actions())
        if (menu->isEnabled() && menu->menu()) {
            menuBar()->setActiveAction(menu);
            return;
        }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::WindowDeactivate) {
        ForgetHeldKeys();
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this || QApplication::activeModalWidget()) return false;
    if (QApplication::activePopupWidget() || menuBar()->activeAction()) return false;
    return HandleKey(static_cast<QKeyEvent*>(event));
}

bool MainWindow::HandleKey(QKeyEvent* key) {
    const bool press = key->type() == QEvent::KeyPress;
    const int k = key->key();
    if (k == Qt::Key_F1) {
        // F1 opens the manual, exactly as Help > Manual does.
        if (press && !key->isAutoRepeat() && menus_.manual->isEnabled() && menus_.help->menuAction()->isEnabled())
            menus_.manual->trigger();
        return true;
    }
    if (k == Qt::Key_F10 && !(key->modifiers() & ~Qt::KeypadModifier)) {
        // F10 opens the menu bar at its first menu that can be used, as desktops have it: mid-spin that
        // is "Auto Play", so a run of auto spins can be stopped from the keyboard. The arrows then pass
        // over the menus a spin has disabled.
        if (press && !key->isAutoRepeat()) OpenMenuBar();
        return true;
    }
    const bool enter = k == Qt::Key_Return || k == Qt::Key_Enter;
    const bool bet = k == Qt::Key_B || k == Qt::Key_Backslash;  // the backslash key also bets one coin
    if (!enter && !bet) return false;
    if (key->isAutoRepeat()) return true;
    // A release acts only when this window had the press. The Enter that picks a menu item or closes a
    // message box or dialog goes down there, and only its release arrives here.
    bool& down = enter ? enterDown_ : betDown_;
    if (press) {
        down = true;
    } else {
        if (!down) return true;
        down = false;
    }
    if (enter) {
        if (press) {
            if (HasBet() && game_.State().SpinReady) SetButtonPicture(SpinButton, Pressed);
        } else if (HasBet() && game_.State().SpinReady) {
            for (int b = 0; b < 3; ++b) SetButtonPicture(b, Greyed);
            ButtonCommand(SpinButton);
            if (game_.State().SpinReady)
                for (int b = 0; b < 3; ++b) SetButtonPicture(b, Raised);
        }
        return true;
    }
    if (press) {
        if (game_.State().SpinReady) SetButtonPicture(Bet1Button, Pressed);
    } else if (game_.State().SpinReady) {
        SetButtonPicture(Bet1Button, Raised);
        ButtonCommand(Bet1Button);
    }
    return true;
}

}  // namespace kazoomba::ui
