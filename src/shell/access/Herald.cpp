// The voice of a window for a screen reader.
#include "access/Herald.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <utility>

#include "access/Accessible.h"

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
    void focusInEvent(QFocusEvent*) override {
        herald_.Heard();
        told_ = true;
    }
    // News is said once: a voice whose news has been told, left for a menu or another window, is only the
    // window's name when the focus comes back to it, unless new news has come meanwhile.
    void focusOutEvent(QFocusEvent*) override {
        if (told_) setAccessibleName(herald_.restName_);
        told_ = false;
    }

public:
    void SetNews(const QString& news) {
        setAccessibleName(news);
        told_ = false;
    }

private:
    Herald& herald_;
    bool told_ = false;
};

Herald::Herald(const QString& greeting, QWidget& parent) : window_(parent), restName_(greeting) {
    lastSaid_ = greeting;
    if (!kAnnounces) {
        for (int i = 0; i < kVoices; ++i) voices_[i] = new HeraldVoice(i, *this, parent);
        voices_[0]->setAccessibleName(greeting);
        parent.installEventFilter(this);
        return;
    }
    // The greeting is the news the window has when it first comes to the front.
    unheard_ << greeting;
    greetingUnheard_ = true;
    gap_.setSingleShot(true);
    connect(&gap_, &QTimer::timeout, this, [this] {
        if (!unheard_.isEmpty() && Live()) Announce();
    });
    parent.installEventFilter(this);
}

bool Herald::HasFocus() const {
    for (QWidget* voice : voices_)
        if (voice && voice->hasFocus()) return true;
    return false;
}

QWidget* Herald::PlayersControl() const {
    // A control the player moved to with Tab keeps the keyboard: the voices never take it from there.
    QWidget* focus = window_.window()->focusWidget();
    if (!leaveControls_ || !focus || !focus->isVisible() || !(focus->focusPolicy() & Qt::TabFocus)) return nullptr;
    for (QWidget* voice : voices_)
        if (focus == voice) return nullptr;
    return focus;
}

void Herald::TakeFocus() {
    if (kAnnounces) return;
    if (QWidget* control = PlayersControl()) control->setFocus(Qt::OtherFocusReason);
    else voices_[current_]->setFocus(Qt::OtherFocusReason);
}

void Herald::SetGreeting(const QString& text) {
    lastSaid_ = text;
    if (!kAnnounces) {
        static_cast<HeraldVoice*>(voices_[current_])->SetNews(text);
    } else if (greetingUnheard_) {
        unheard_.first() = text;  // the window has not been in front yet
    }
}

bool Herald::Live() const {
    QWidget* window = window_.window();
    // With a menu open or a window over this one the news waits until the window comes back.
    return window->isActiveWindow() && !QApplication::activePopupWidget() &&
           (!QApplication::activeModalWidget() || QApplication::activeModalWidget() == window);
}

void Herald::Say(const QString& text, Urgency urgency) {
    // News before the window was first in front takes the greeting's place, as it does a voice's name.
    if (std::exchange(greetingUnheard_, false)) unheard_.clear();
    // A spin's outcome repeats its start's "Bonus Spin, ..." and completes it.
    if (!unheard_.isEmpty() && text.startsWith(unheard_.last())) unheard_.last() = text;
    else unheard_.append(text);
    while (unheard_.size() > kKeptNews) unheard_.removeFirst();
    if (urgency == Urgency::Assertive) urgency_ = urgency;
    const QString news = unheard_.join(u' ');
    lastSaid_ = news;
    if (kAnnounces) {
        if (Live() && !gap_.isActive()) Announce();
        return;
    }
    if (!Live() || !QApplication::focusWidget() || QApplication::focusWidget()->window() != window_.window() ||
        PlayersControl()) {
        static_cast<HeraldVoice*>(voices_[current_])->SetNews(news);
        return;
    }
    current_ = (current_ + 1) % kVoices;
    static_cast<HeraldVoice*>(voices_[current_])->SetNews(news);
    voices_[current_]->setFocus(Qt::OtherFocusReason);
    unheard_.clear();
}

void Herald::Announce() {
#if KAZOOMBA_ANNOUNCES
    QAccessibleAnnouncementEvent event(window_.window(), unheard_.join(u' '));
    event.setPoliteness(urgency_ == Urgency::Assertive ? QAccessible::AnnouncementPoliteness::Assertive
                                                       : QAccessible::AnnouncementPoliteness::Polite);
    ui::Announce(event);  // through the one door every event for assistive technology takes
#endif
    unheard_.clear();
    greetingUnheard_ = false;
    urgency_ = Urgency::Polite;
    if (const int gap = AnnouncementGap(); gap > 0) gap_.start(gap);
}

bool Herald::eventFilter(QObject*, QEvent* event) {
    // The window is back in front with news that came while it was behind: the voice that holds it takes
    // the keyboard, unless the player has put it on a control, so that the news is heard after the window's
    // name and not lost behind the control the keyboard had before.
    if (!kAnnounces) {
        if (event->type() == QEvent::WindowActivate && !unheard_.isEmpty() && !PlayersControl())
            voices_[current_]->setFocus(Qt::OtherFocusReason);
        return false;
    }
    // The window is back in front: what it was told meanwhile is said now, after the screen reader has
    // named the window.
    if (event->type() == QEvent::WindowActivate && !unheard_.isEmpty() && !gap_.isActive()) {
        const auto tell = [this] {
            if (!unheard_.isEmpty() && Live() && !gap_.isActive()) Announce();
        };
        if (AnnouncementGap() > 0) QTimer::singleShot(AnnouncementGap(), this, tell);
        else tell();
    }
    return false;
}

}  // namespace kazoomba::ui
