// Placing the game's windows.
#include "dialogs/Placement.h"

#include <QColor>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QSize>
#include <QWidget>
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

namespace {

// Watches a window it placed until the window manager has framed it, then puts the frame where it belongs.
class FramePlacer : public QObject {
public:
    FramePlacer(QWidget& window, QPoint wanted) : QObject(&window), window_(window), wanted_(wanted) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Show:
            case QEvent::WindowActivate:
            case QEvent::UpdateRequest:
            case QEvent::Paint:
                Check();
                break;
            default:
                break;
        }
        return false;
    }

private:
    void Check() {
        if (!window_.isVisible() || done_) return;
        const QRect frame = window_.frameGeometry();
        // Until the window manager has put its frame round the window, nothing is known yet; a window
        // without a frame (none drawn, or no window manager) is placed as it stands.
        if (frame == window_.geometry() && ++unframedLooks_ < 50) return;
        done_ = true;
        const int title = std::max(window_.geometry().top() - frame.top(), 1);
        const QPoint fitted = FitFrameInAreas(QRect(wanted_, frame.size()), title, AvailableAreas());
        if (frame.topLeft() != fitted) window_.move(fitted);
        deleteLater();
    }

    QWidget& window_;
    QPoint wanted_;
    int unframedLooks_ = 0;
    bool done_ = false;
};

}  // namespace

void PlaceFrameAt(QWidget& window, QPoint framePosition) {
    // Before the window shows, its frame is unknown: fit what we know, the window itself.
    const QRect frame = window.frameGeometry();
    const int title = std::max(window.geometry().top() - frame.top(), 1);
    const QPoint fitted = FitFrameInAreas(QRect(framePosition, frame.size()), title, AvailableAreas());
    window.move(fitted);
    if (!window.isVisible() || frame == window.geometry()) new FramePlacer(window, fitted);
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
