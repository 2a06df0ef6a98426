// The two-tone focus ring.
#include "access/FocusRing.h"

#include <QApplication>
#include <QPainter>
#include <QEvent>
#include <QWidget>

namespace kazoomba::ui {

namespace {

constexpr int kGap = 1;    // between the control and the ring
constexpr int kLine = 2;   // each of the two lines

class FocusRingOverlay : public QWidget {
public:
    explicit FocusRingOverlay(QWidget& window) : QWidget(&window) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { Follow(now); });
        // A dialog gives its first control the focus before it is shown: the ring comes with the window.
        window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
            Follow(parentWidget()->focusWidget());
        return false;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        // Only the ring is painted: the control shows through the middle untouched.
        QPainter p(this);
        p.setBrush(Qt::NoBrush);
        const QRect outer = rect();
        for (int i = 0; i < 2 * kLine; ++i) {
            p.setPen(i < kLine ? Qt::black : Qt::white);
            p.drawRect(outer.adjusted(i, i, -i - 1, -i - 1));
        }
    }

private:
    void Follow(QWidget* now) {
        QWidget* window = parentWidget();
        const bool ringed = now && now != this && now->window() == window && now->isVisible() &&
                            (now->focusPolicy() & Qt::TabFocus) && !now->property("ownFocusRing").toBool();
        if (!ringed) {
            hide();
            return;
        }
        const int margin = kGap + 2 * kLine;
        const QRect area(now->mapTo(window, QPoint(0, 0)), now->size());
        setGeometry(area.adjusted(-margin, -margin, margin, margin));
        // Clipped to the window's own face, in front of everything on it.
        raise();
        show();
        update();
    }
};

}  // namespace

void ShowFocusRings(QWidget& window) { new FocusRingOverlay(window); }

}  // namespace kazoomba::ui
