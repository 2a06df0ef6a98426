// The voice of a window for a screen reader.
#include "access/Herald.h"

#include <QApplication>

namespace kazoomba::ui {

namespace {

class HeraldVoice : public QWidget {
public:
    HeraldVoice(int index, QWidget& parent) : QWidget(&parent) {
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
};

}  // namespace

Herald::Herald(const QString& greeting, QWidget& parent) {
    for (int i = 0; i < kVoices; ++i) voices_[i] = new HeraldVoice(i, parent);
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
    if (!live) {
        voices_[current_]->setAccessibleName(text);
        return;
    }
    current_ = (current_ + 1) % kVoices;
    voices_[current_]->setAccessibleName(text);
    voices_[current_]->setFocus(Qt::OtherFocusReason);
}

}  // namespace kazoomba::ui
