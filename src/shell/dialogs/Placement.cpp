// Placing the game's windows.
#include "dialogs/Placement.h"

#include <QColor>
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
