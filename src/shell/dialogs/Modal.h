// Every modal window of the game opens here: made afresh for one showing, opened over the window that
// asked for it, and deleted once it has closed. Nothing waits for it: what follows runs from its
// `finished` callback. Tests watch the windows pass through.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <functional>

namespace kazoomba::ui {

// Called with each modal window as it opens; a test's watchdog closes one that nobody answers.
void SetModalWatch(std::function<void(QDialog&)> watch);

// Opens a window made with new for this one showing, modal over its parent (over the whole program
// when it has none), and returns at once. `finished` sees the closed window and its answer before it
// goes. A window taken away while open, with the window under it, answers nothing: what would have
// followed it goes with it.
void OpenModalWindow(QDialog* window, std::function<void(QDialog&, int)> finished);

template <class Window>
void OpenModal(Window* window, std::function<void(Window&, int)> finished = {}) {
    OpenModalWindow(window, [finished = std::move(finished)](QDialog& closed, int answer) {
        if (finished) finished(static_cast<Window&>(closed), answer);
    });
}

// A window that settles by itself and asks nothing of the player: shown over its parent without taking the
// keyboard or holding the other windows, so keys pressed meanwhile stay where the player put them. The
// machine's own moment keeps it from acting until the window has gone. `finished` as above.
void OpenWindowWithoutKeyboard(QDialog* window, std::function<void(QDialog&, int)> finished);

// Runs a window to its end before returning, for start-up only, before the machine is shown and the
// program's own event loop runs: this loop is then the only one. `read` sees the closed window before it goes.
int RunModalWindowBeforeStart(QDialog* window, const std::function<void(QDialog&)>& read);

template <class Window>
int RunModal(Window* window, const std::function<void(Window&)>& read = {}) {
    return RunModalWindowBeforeStart(window, [&read](QDialog& closed) {
        if (read) read(static_cast<Window&>(closed));
    });
}

// A message box with one OK button; `closed` runs once it has been answered. Messages to one window
// come one after another, in the order they were given, never on top of each other.
void ShowMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* parent,
                    std::function<void()> closed = {});

}  // namespace kazoomba::ui
