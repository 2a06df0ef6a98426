// The voice of a window that a screen reader cannot otherwise follow: news spoken by handing the keyboard
// focus between two silent controls named with it.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

namespace kazoomba::ui {

// A screen reader speaks the control that gains the focus, and reads it again when its window comes back
// to the front; a change of name alone it does not hear from this Qt. So each piece of news names the next
// of a ring of voices and hands the focus to it. A screen reader that falls behind drops all but the last
// focus change of a burst; the ring is long enough that the last one never lands on the voice it spoke
// before. The voices are invisible, take no mouse, and are left out of the Tab chain.
class Herald {
public:
    // The voices lie over `parent`, below its other children; the first holds the greeting.
    Herald(const QString& greeting, QWidget& parent);

    // Speaks now when the window is in front with nothing over it; otherwise it joins the news the screen
    // reader reads when the window comes back (the latest few pieces, a piece that a later one repeats
    // and completes only once). News told while the window was away is spoken with the next.
    void Say(const QString& text);
    QString LastSaid() const { return voices_[current_]->accessibleName(); }
    // The voice that holds, or will hold, the focus.
    QWidget& Voice() const { return *voices_[current_]; }
    bool HasFocus() const;
    void TakeFocus() { voices_[current_]->setFocus(Qt::OtherFocusReason); }

private:
    friend class HeraldVoice;
    void Heard() { unheard_.clear(); }

    static constexpr int kVoices = 7;
    static constexpr int kKeptNews = 4;
    std::array<QWidget*, kVoices> voices_{};
    int current_ = 0;
    QStringList unheard_;  // news since the window was last in front, not yet spoken
};

}  // namespace kazoomba::ui
