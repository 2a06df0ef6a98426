// The machine's view and picture buttons.
#include "machine/MachineWidgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "access/Accessible.h"
#include "art/Graphics.h"
#include "machine/MainLayout.h"

namespace kazoomba::ui {

using namespace layout;

MachineView::MachineView(const QImage& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Kazoomba machine"));
}

void MachineView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    const qreal ratio = surface_.devicePixelRatio();
    p.drawImage(r, surface_, QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
}

PictureButton::PictureButton(const QString& name, PictureButtonActions actions, QWidget* parent)
    : QWidget(parent), actions_(std::move(actions)) {
    setFixedSize(kButtonW, kButtonH);
    setAccessibleName(name);
    setToolTip(name);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A screen reader presses it as a click does; greyed, it reads as unavailable.
    MakePressable(
        *this,
        [this] {
            actions_.press();
            actions_.release();
            actions_.command();
        },
        [this] { return state_ != Greyed && actions_.available(); });
}

void PictureButton::SetPicture(const QImage& image, int state) {
    const bool greyedBefore = state_ == Greyed;
    image_ = image;
    state_ = state;
    if ((state == Greyed) != greyedBefore) AnnounceAvailability(*this);
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(rect(), image_);
}

void PictureButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) actions_.press();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const bool inside = rect().contains(e->position().toPoint());
    actions_.release();
    if (inside) actions_.command();
}

}  // namespace kazoomba::ui

namespace kazoomba::ui {

void PictureButton::keyPressEvent(QKeyEvent* e) {
    if (e->key() != Qt::Key_Space || (e->modifiers() & ~Qt::KeypadModifier)) {
        QWidget::keyPressEvent(e);
        return;
    }
    // A held Space presses once: its repeats do nothing.
    if (!e->isAutoRepeat() && !spaceDown_) {
        spaceDown_ = true;
        actions_.press();
    }
}

void PictureButton::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    // A release without its press here (Space pressed in another window) does nothing.
    if (e->isAutoRepeat() || !spaceDown_) return;
    spaceDown_ = false;
    actions_.release();
    actions_.command();
}

void PictureButton::focusOutEvent(QFocusEvent* e) {
    // The keyboard went elsewhere with Space still down: the press is let go without acting.
    if (spaceDown_) {
        spaceDown_ = false;
        actions_.release();
    }
    QWidget::focusOutEvent(e);
}

}  // namespace kazoomba::ui
