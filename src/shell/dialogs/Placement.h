// Placing and dressing the game's windows: every dialog opens centred on the screen of the window that
// opened it, and most stand on one solid colour.
#pragma once

class QColor;
class QSize;
class QWidget;

namespace kazoomba::ui {

// Centres window on the screen of `over` (or the primary screen without one).
void CentreOnScreen(QWidget& window, const QWidget* over);

// Gives a resizable window its preferred client size, cut down to nine tenths of the screen's free area
// (a large scale shrinks the screen in window units), and centres it there.
void FitOnScreen(QWidget& window, const QSize& preferred, const QWidget* over);

// Fills the window's background with one colour.
void SetBackground(QWidget& window, const QColor& colour);

// Gives a window and its push buttons one fixed light colour, and fixes their text black on it: left
// to the desktop, a dark scheme's white text would vanish on the light face.
void SetLightFace(QWidget& window, const QColor& colour);

}  // namespace kazoomba::ui
