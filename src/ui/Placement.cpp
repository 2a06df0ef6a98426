// Placing the game's windows.
#include "ui/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kazoomba::ui {

void CentreOnScreen(QWidget& window, const QWidget* over) {
    const QScreen* screen = over && over->screen() ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect s = screen->geometry();
    window.move(s.x() + (s.width() - window.width()) / 2, s.y() + (s.height() - window.height()) / 2);
}

}  // namespace kazoomba::ui
