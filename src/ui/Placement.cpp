// Placing the game's windows.
#include "ui/Placement.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace kazoomba::ui {

void CentreOnScreen(QWidget& window, const QWidget* over) {
    const QScreen* screen = over && over->screen() ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect s = screen->geometry();
    window.move(s.x() + (s.width() - window.width()) / 2, s.y() + (s.height() - window.height()) / 2);
}

void SetBackground(QWidget& window, const QColor& colour) {
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, colour);
    window.setPalette(pal);
    window.setAutoFillBackground(true);
}

}  // namespace kazoomba::ui
