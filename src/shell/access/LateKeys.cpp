// Key presses that a screen reader held back until after a menu opened.
#include "access/LateKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <cstdint>
#include <unordered_map>

namespace kazoomba::ui {

namespace {

class LateKeyFilter : public QObject {
public:
    explicit LateKeyFilter(QObject* parent) : QObject(parent) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
                // Every key press the window system delivers is first offered to its window as a
                // shortcut, at once, even when the press itself is held back: that is when it was pressed.
                if (event->spontaneous() && watched->isWindowType())
                    inHand_ = pressedAt_[static_cast<QKeyEvent*>(event)->key()] = ++presses_;
                return false;
            case QEvent::MouseButtonPress:
                // A click comes after every key pressed so far.
                if (event->spontaneous() && watched->isWindowType()) inHand_ = presses_ + 1;
                return false;
            case QEvent::Show: {
                auto* widget = qobject_cast<QWidget*>(watched);
                if (widget && widget->windowType() == Qt::Popup) menuOpenedBy_ = inHand_;
                return false;
            }
            case QEvent::KeyPress: return HeldBackFromBefore(watched, static_cast<QKeyEvent*>(event));
            default: return false;
        }
    }

private:
    // Whether a press posted again by the accessibility bridge was pressed before the one that opened the
    // menu open now; a press that passes is the one in hand while it is delivered.
    bool HeldBackFromBefore(QObject* watched, QKeyEvent* key) {
        if (key->spontaneous() || !watched->isWindowType()) return false;
        const auto pressed = pressedAt_.find(key->key());
        if (pressed == pressedAt_.end()) return false;
        const QWidget* menu = QApplication::activePopupWidget();
        if (menu && watched != menu->windowHandle() && pressed->second < menuOpenedBy_) return true;
        inHand_ = pressed->second;
        return false;
    }

    std::unordered_map<int, std::uint64_t> pressedAt_;  // each key's latest press, in order of pressing
    std::uint64_t presses_ = 0;
    std::uint64_t inHand_ = 0;        // the press, or the click, being delivered
    std::uint64_t menuOpenedBy_ = 0;  // the press that was in hand when the open menu opened
};

}  // namespace

void KeepLateKeysFromMenus(QApplication& app) { app.installEventFilter(new LateKeyFilter(&app)); }

}  // namespace kazoomba::ui
