// The main window's moment gate: every command is enabled or disabled from the one answer of the game's
// moment and the windows open over the machine.
#include <algorithm>

#include <QApplication>
#include <QMenu>

#include "access/Accessible.h"
#include "access/MachineAccessible.h"
#include "machine/MachineWidgets.h"
#include "machine/MainWindow.h"

namespace kazoomba::ui {

void MainWindow::Command(QAction* item, std::function<void()> command) {
    commands_.push_back(item);
    // Checked again as the command runs: a press that was queued, or came through the accessibility bus,
    // may arrive after the moment has moved on.
    connect(item, &QAction::triggered, this, [this, item, command = std::move(command)] {
        const Commands now = AvailableNow();
        const bool allowed = item == menus_.autoSpin ? now.autoPlay : now.menus;
        if (allowed && item->isEnabled()) command();
    });
}

bool MainWindow::WindowOpen() const {
    return std::any_of(modalWindows_.begin(), modalWindows_.end(),
                       [](const QPointer<QWidget>& p) { return p && p->isVisible(); });
}

void MainWindow::NoteModalWindow(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !w->isWindow() || w == this || w->windowModality() == Qt::NonModal) return;
    std::erase_if(modalWindows_, [w](const QPointer<QWidget>& p) { return !p || p == w; });
    if (event->type() == QEvent::Show) modalWindows_.emplace_back(w);
    UpdateMoment();
    // A window that held the machine mid-spin has closed: its time goes on from where it stopped.
    if (activity_ != Activity::None && !WindowOpen()) Tick();
}

void MainWindow::MomentChanged() {
    UpdateMoment();
    // The window was asked to close while the spin ran: it goes once the spin has settled.
    if (closePending_ && !game_.CommandRunning())
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::UpdateMoment() {
    std::erase_if(modalWindows_, [](const QPointer<QWidget>& p) { return !p || !p->isVisible(); });
    const Commands now = AvailableNow();
    if (momentApplied_ && now.menus == commandsApplied_.menus && now.autoPlay == commandsApplied_.autoPlay &&
        now.buttons == commandsApplied_.buttons)
        return;
    const bool buttonsWere = commandsApplied_.buttons || !momentApplied_;
    commandsApplied_ = now;
    momentApplied_ = true;

    // Every change of availability is told, the menus' and the sub-menus' as well as the items'.
    const auto apply = [](QAction* item, bool enabled) {
        if (item->isEnabled() == enabled) return;
        item->setEnabled(enabled);
        AnnounceAvailability(*item);
    };
    for (QMenu* m : {menus_.file, menus_.options, menus_.bank, menus_.help}) apply(m->menuAction(), now.menus);
    for (QAction* item : commands_) apply(item, item == menus_.autoSpin ? now.autoPlay : now.menus);
    // Sub-menus of Options and Bank read as unavailable too, so a screen reader does not offer them.
    for (QMenu* m : {menus_.options, menus_.bank})
        for (QAction* a : m->actions())
            if (a->menu()) apply(a, now.menus);
    // The buttons' pictures change on their own beat; a screen reader hears when they can be pressed.
    if (now.buttons != buttonsWere)
        for (PictureButton* b : buttons_)
            if (b) AnnounceAvailability(*b);
}

void MainWindow::EnableMenus(bool on) {
    // The rules switch the menus off for a spin and on after its settlement; the game's moment says the
    // same, and the gate follows the moment.
    UpdateMoment();
    if (on) readouts_->ShowReady(game_.State());
}

}  // namespace kazoomba::ui
