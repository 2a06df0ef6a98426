// Running modal windows.
#include "dialogs/Modal.h"

#include <QPointer>

namespace kazoomba::ui {

namespace {
std::function<void(QDialog&)>& Watch() {
    static std::function<void(QDialog&)> watch;
    return watch;
}
}  // namespace

void SetModalWatch(std::function<void(QDialog&)> watch) { Watch() = std::move(watch); }

int RunModalWindow(QDialog* window, const std::function<void(QDialog&)>& read) {
    // Guarded: should the window's parent go while it is open, it takes the window with it.
    QPointer<QDialog> guard(window);
    if (Watch()) Watch()(*window);
    const int answer = window->exec();
    if (!guard) return QDialog::Rejected;
    read(*guard);
    delete guard.data();
    return answer;
}

void ShowMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* parent) {
    RunModal(new QMessageBox(icon, title, text, QMessageBox::Ok, parent));
}

}  // namespace kazoomba::ui
