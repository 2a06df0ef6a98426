// The voice of a window that a screen reader cannot otherwise follow: news spoken by handing the keyboard
// focus between two silent controls named with it.
#pragma once

#include <QString>
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

    // Speaks now when the window is in front with nothing over it; otherwise it is what the screen reader
    // reads when the window comes back.
    void Say(const QString& text);
    QString LastSaid() const { return voices_[current_]->accessibleName(); }
    // The voice that holds, or will hold, the focus.
    QWidget& Voice() const { return *voices_[current_]; }
    bool HasFocus() const;
    void TakeFocus() { voices_[current_]->setFocus(Qt::OtherFocusReason); }

private:
    static constexpr int kVoices = 7;
    std::array<QWidget*, kVoices> voices_{};
    int current_ = 0;
};

}  // namespace kazoomba::ui
