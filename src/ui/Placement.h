// Placing the game's windows: every dialog opens centred on the screen of the window that opened it.
#pragma once

class QWidget;

namespace kazoomba::ui {

// Centres window on the screen of `over` (or the primary screen without one).
void CentreOnScreen(QWidget& window, const QWidget* over);

}  // namespace kazoomba::ui
