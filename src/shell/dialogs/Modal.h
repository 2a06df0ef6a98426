// Every modal window of the game runs here: made afresh for one showing, run over the window that
// opened it, and deleted when it closes. Tests watch the windows pass through.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <functional>

namespace kazoomba::ui {

// Called with each modal window as it starts; a test's watchdog closes one that nobody answers.
void SetModalWatch(std::function<void(QDialog&)> watch);

// Runs a window made with new for this one showing, then deletes it. `read` sees the closed window
// before it goes. A window taken away while open, with the window under it, answers Rejected unread.
int RunModalWindow(QDialog* window, const std::function<void(QDialog&)>& read);

template <class Window>
int RunModal(Window* window, const std::function<void(Window&)>& read = {}) {
    return RunModalWindow(window, [&read](QDialog& closed) {
        if (read) read(static_cast<Window&>(closed));
    });
}

// A message box with one OK button.
void ShowMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* parent);

}  // namespace kazoomba::ui
