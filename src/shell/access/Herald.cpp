// The voice of a window for a screen reader.
#include "access/Herald.h"

#include <QApplication>

namespace kazoomba::ui {

class HeraldVoice : public QWidget {
public:
    HeraldVoice(int index, Herald& herald, QWidget& parent) : QWidget(&parent), herald_(herald) {
        // A screen reader takes two controls of one name, role and place for one: each voice has a place
        // of its own, so "No win" after "No win" is news again.
        setGeometry(index, 0, 1, 1);
        // Focusable, so that assistive technology follows it, but only when handed the focus.
        setFocusPolicy(Qt::ClickFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        lower();
    }

protected:
    void paintEvent(QPaintEvent*) override {}
    // With the focus the screen reader reads the voice: what it held has been told.
    void focusInEvent(QFocusEvent*) override { herald_.Heard(); }

private:
    Herald& herald_;
};

Herald::Herald(const QString& greeting, QWidget& parent) {
    for (int i = 0; i < kVoices; ++i) voices_[i] = new HeraldVoice(i, *this, parent);
    voices_[0]->setAccessibleName(greeting);
}

bool Herald::HasFocus() const {
    for (QWidget* voice : voices_)
        if (voice->hasFocus()) return true;
    return false;
}

void Herald::Say(const QString& text) {
    QWidget* window = voices_[current_]->window();
    // With a menu open or a window over this one the focus stays put: the news waits in the voice that
    // will have the focus when the window comes back.
    const bool live = window->isActiveWindow() && !QApplication::activePopupWidget() &&
                      (!QApplication::activeModalWidget() || QApplication::activeModalWidget() == window) &&
                      QApplication::focusWidget() && QApplication::focusWidget()->window() == window;
    // A spin's outcome repeats its start's "Bonus Spin, ..." and completes it.
    if (!unheard_.isEmpty() && text.startsWith(unheard_.last())) unheard_.last() = text;
    else unheard_.append(text);
    while (unheard_.size() > kKeptNews) unheard_.removeFirst();
    const QString news = unheard_.join(u' ');
    if (!live) {
        voices_[current_]->setAccessibleName(news);
        return;
    }
    current_ = (current_ + 1) % kVoices;
    voices_[current_]->setAccessibleName(news);
    voices_[current_]->setFocus(Qt::OtherFocusReason);
    unheard_.clear();
}

}  // namespace kazoomba::ui
