// The main window's moment gate: the one place that knows whether the machine is idle, spinning, showing
// a win, on the board, playing bonus spins or waiting on a window, and enables every command from it.
#include <QApplication>
#include <QMenu>

#include "access/Accessible.h"
#include "gamble/BoardWindow.h"
#include "machine/MachineWidgets.h"
#include "machine/MainWindow.h"

namespace kazoomba::ui {

void MainWindow::Command(QAction* item, std::function<void()> command) {
    commands_.push_back(item);
    // Checked again as the command runs: a press that was queued, or came through the accessibility bus,
    // may arrive after the moment has moved on.
    connect(item, &QAction::triggered, this, [this, item, command = std::move(command)] {
        const bool allowed = item == menus_.autoSpin ? AutoSpinAvailable(moment_) : CommandsAvailable(moment_);
        if (allowed && item->isEnabled()) command();
    });
}

void MainWindow::NoteModalWindow(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !w->isWindow() || w == this || w->windowModality() == Qt::NonModal) return;
    std::erase_if(modalWindows_, [w](const QPointer<QWidget>& p) { return !p || p == w; });
    if (event->type() == QEvent::Show) modalWindows_.emplace_back(w);
    UpdateMoment();
}

void MainWindow::UpdateMoment() {
    std::erase_if(modalWindows_, [](const QPointer<QWidget>& p) { return !p || !p->isVisible(); });
    const bool board = std::any_of(modalWindows_.begin(), modalWindows_.end(),
                                   [](const QPointer<QWidget>& p) { return qobject_cast<BoardWindow*>(p.data()); });
    Moment now = Moment::Idle;
    if (spinning_ || !menusOn_) {
        if (board) now = Moment::OnBoard;
        else if (presenting_) now = Moment::PresentingWin;
        else if (bonusRun_) now = Moment::BonusSpins;
        else now = Moment::Spinning;
    } else if (!modalWindows_.empty()) {
        now = Moment::ModalOpen;
    }
    if (now == moment_ && momentApplied_) return;
    const bool wasOpen = CommandsAvailable(moment_) || !momentApplied_;
    moment_ = now;
    momentApplied_ = true;

    const bool open = CommandsAvailable(now);
    for (QMenu* m : {menus_.file, menus_.options, menus_.bank, menus_.help}) m->menuAction()->setEnabled(open);
    for (QAction* item : commands_) {
        const bool enabled = item == menus_.autoSpin ? AutoSpinAvailable(now) : open;
        if (item->isEnabled() == enabled) continue;
        item->setEnabled(enabled);
        AnnounceAvailability(*item);
    }
    // Sub-menus of Options and Bank read as unavailable too, so a screen reader does not offer them.
    for (QMenu* m : {menus_.options, menus_.bank})
        for (QAction* a : m->actions())
            if (a->menu()) a->setEnabled(open);
    // The buttons' pictures change on their own beat; a screen reader hears when they can be pressed.
    if (open != wasOpen)
        for (PictureButton* b : buttons_)
            if (b) AnnounceAvailability(*b);
}

void MainWindow::EnableMenus(bool on) {
    // The rules switch the menus off for a spin and on after its settlement; what else goes with that is
    // the moment's to say.
    menusOn_ = on;
    UpdateMoment();
}

}  // namespace kazoomba::ui
