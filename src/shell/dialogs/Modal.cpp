// Opening modal windows, and the queue of message boxes.
#include "dialogs/Modal.h"

#include <QApplication>
#include <QPointer>
#include <deque>
#include <utility>

namespace kazoomba::ui {

namespace {
std::function<void(QDialog&)>& Watch() {
    static std::function<void(QDialog&)> watch;
    return watch;
}

struct QueuedMessage {
    QMessageBox::Icon icon;
    QString title, text;
    QPointer<QWidget> parent;
    bool orphan;  // given without a parent: not lost when one goes
    std::function<void()> closed;
};
std::deque<QueuedMessage>& Messages() {
    static std::deque<QueuedMessage> queue;
    return queue;
}
bool& MessageShowing() {
    static bool showing = false;
    return showing;
}

void ShowNextMessage() {
    auto& queue = Messages();
    // A message whose window has gone goes with it.
    while (!queue.empty() && !queue.front().orphan && !queue.front().parent) queue.pop_front();
    if (queue.empty()) return;
    QueuedMessage m = std::move(queue.front());
    queue.pop_front();
    MessageShowing() = true;
    auto* box = new QMessageBox(m.icon, m.title, m.text, QMessageBox::Ok, m.parent.data());
    OpenModalWindow(box, [closed = std::move(m.closed)](QDialog&, int) {
        MessageShowing() = false;
        if (closed) closed();
        ShowNextMessage();
    });
}
}  // namespace

void SetModalWatch(std::function<void(QDialog&)> watch) { Watch() = std::move(watch); }

namespace {
void AnswerOnce(QDialog* window, std::function<void(QDialog&, int)> finished) {
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    // Once only, however the window is closed again while its answer is being read; a window taken
    // away with its parent answers nothing, as everything it would answer to goes with it.
    QObject::connect(window, &QDialog::finished, window, [window, finished = std::move(finished), done = false](int answer) mutable {
        if (std::exchange(done, true)) return;
        if (finished) finished(*window, answer);
        window->deleteLater();
    });
    if (Watch()) Watch()(*window);
}
}  // namespace

void OpenModalWindow(QDialog* window, std::function<void(QDialog&, int)> finished) {
    if (!window->parentWidget()) window->setWindowModality(Qt::ApplicationModal);
    AnswerOnce(window, std::move(finished));
    if (window->parentWidget()) window->open(); else window->show();
}

void OpenWindowWithoutKeyboard(QDialog* window, std::function<void(QDialog&, int)> finished) {
    window->setWindowModality(Qt::NonModal);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    AnswerOnce(window, std::move(finished));
    window->show();
}

int RunModalWindowBeforeStart(QDialog* window, const std::function<void(QDialog&)>& read) {
    QPointer<QDialog> guard(window);
    if (Watch()) Watch()(*window);
    const int answer = window->exec();
    if (!guard) return QDialog::Rejected;
    read(*guard);
    delete guard.data();
    return answer;
}

void ShowMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* parent,
                    std::function<void()> closed) {
    Messages().push_back({icon, title, text, parent, parent == nullptr, std::move(closed)});
    if (!MessageShowing()) ShowNextMessage();
}

}  // namespace kazoomba::ui
