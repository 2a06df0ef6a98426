// Placing the game's windows.
#include "dialogs/Placement.h"

#include <QColor>
#include <QEvent>
#include <QTimer>
#include <QGuiApplication>
#include <QLayout>
#include <QPalette>
#include <QScreen>
#include <QSize>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace kazoomba::ui {

namespace {
const QScreen* ScreenOf(const QWidget* over) {
    return over && over->screen() ? over->screen() : QGuiApplication::primaryScreen();
}
}  // namespace

QPoint FitFrameInAreas(const QRect& frame, int titleHeight, const QList<QRect>& areas) {
    if (areas.isEmpty()) return frame.topLeft();
    const QRect title(frame.topLeft(), QSize(frame.width(), std::max(1, titleHeight)));
    auto overlap = [](const QRect& a, const QRect& b) {
        const QRect i = a.intersected(b);
        return i.isEmpty() ? 0LL : qint64(i.width()) * i.height();
    };
    auto distance = [&](const QRect& a) {
        const int dx = std::max({a.left() - title.right(), title.left() - a.right(), 0});
        const int dy = std::max({a.top() - title.bottom(), title.top() - a.bottom(), 0});
        return qint64(dx) * dx + qint64(dy) * dy;
    };
    QRect best = areas.first();
    for (const QRect& a : areas) {
        const qint64 gain = overlap(title, a) - overlap(title, best);
        if (gain > 0 || (gain == 0 && overlap(title, best) == 0 && distance(a) < distance(best))) best = a;
    }
    const int x = std::max(best.left(), std::min(frame.left(), best.right() + 1 - frame.width()));
    const int y = std::max(best.top(), std::min(frame.top(), best.bottom() + 1 - frame.height()));
    return {x, y};
}

QList<QRect> AvailableAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    return areas;
}

QPoint FramePosition(const QWidget& window) {
    // The window's own frame strut can be stale; the platform window follows the window manager's word.
    if (const QWindow* handle = window.windowHandle(); handle && window.isVisible()) return handle->framePosition();
    return window.pos();
}

namespace {

// Watches a window it placed until the window manager has framed it, then puts the frame where it belongs.
// The frame comes some time after the window shows, and no event says so: it looks every few moments.
class FramePlacer : public QObject {
public:
    FramePlacer(QWidget& window, QPoint wanted) : QObject(&window), window_(window), wanted_(wanted) {
        timer_.setInterval(kLookMs);
        connect(&timer_, &QTimer::timeout, this, &FramePlacer::Look);
        window.installEventFilter(this);
        if (window.isVisible()) timer_.start();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) timer_.start();
        return false;
    }

private:
    static constexpr int kLookMs = 40, kLooks = 250;  // ten seconds for a busy window manager

    void Look() {
        QWindow* handle = window_.windowHandle();
        if (!handle || !window_.isVisible()) return;
        const QRect frame = handle->frameGeometry();
        const QRect client = handle->geometry();
        // A window that stays without a frame (none drawn, or no window manager) is placed as it stands.
        if (frame == client && ++looks_ < kLooks) return;
        timer_.stop();
        const int title = std::max(client.top() - frame.top(), 1);
        const QPoint fitted = FitFrameInAreas(QRect(wanted_, frame.size()), title, AvailableAreas());
        // The client is placed, by the frame's measure now known: window managers differ in how they read a
        // request for the frame's place, but all put the client where it is asked to be.
        if (frame.topLeft() != fitted) handle->setPosition(fitted + (client.topLeft() - frame.topLeft()));
        deleteLater();
    }

    QWidget& window_;
    QPoint wanted_;
    QTimer timer_;
    int looks_ = 0;
};

}  // namespace

void PlaceFrameAt(QWidget& window, QPoint framePosition) {
    // A window that sizes itself to its contents does so as it shows: settle its size now, or it would be
    // fitted with the size every widget has before that.
    if (QLayout* layout = window.layout()) layout->activate();
    // Before the window shows, its frame is unknown: fit what we know, the window itself.
    const QRect frame = window.frameGeometry();
    const int title = std::max(window.geometry().top() - frame.top(), 1);
    window.move(FitFrameInAreas(QRect(framePosition, frame.size()), title, AvailableAreas()));
    // Once the frame is known, the place asked for is fitted again with it, not the guess made without it.
    if (!window.isVisible() || frame == window.geometry()) new FramePlacer(window, framePosition);
}

// On the free area, clear of panels and docks; a window taller than that keeps its title bar on screen.
void CentreOnScreen(QWidget& window, const QWidget* over) {
    const QScreen* screen = ScreenOf(over);
    if (!screen) return;
    const QRect s = screen->availableGeometry();
    window.move(s.x() + std::max(0, (s.width() - window.width()) / 2),
                s.y() + std::max(0, (s.height() - window.height()) / 2));
}

void FitOnScreen(QWidget& window, const QSize& preferred, const QWidget* over) {
    const QScreen* screen = ScreenOf(over);
    QSize size = preferred;
    if (screen) size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    window.resize(size);
    CentreOnScreen(window, over);
}

void SetBackground(QWidget& window, const QColor& colour) {
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, colour);
    window.setPalette(pal);
    window.setAutoFillBackground(true);
}

void SetLightFace(QWidget& window, const QColor& colour) {
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::Button, colour);
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::ButtonText, Qt::black);
    window.setPalette(pal);
}

}  // namespace kazoomba::ui
