// Placing and dressing the game's windows: every dialog opens centred on the screen of the window that
// opened it, and most stand on one solid colour.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

class QColor;
class QSize;
class QWidget;

namespace kazoomba::ui {

// Centres window on the screen of `over` (or the primary screen without one).
void CentreOnScreen(QWidget& window, const QWidget* over);

// Gives a resizable window its preferred client size, cut down to nine tenths of the screen's free area
// (a large scale shrinks the screen in window units), and centres it there.
void FitOnScreen(QWidget& window, const QSize& preferred, const QWidget* over);

// Where a window whose outer frame would be `frame` goes so that a player can reach it: inside the free
// area (the screen less its panels) that holds most of its title bar, the top `titleHeight` pixels of the
// frame, or the nearest free area when none holds any of it. A window larger than the area keeps its
// top left corner in it.
QPoint FitFrameInAreas(const QRect& frame, int titleHeight, const QList<QRect>& areas);

// The free areas of every screen.
QList<QRect> AvailableAreas();

// Where a top-level window's outer frame stands, as its window manager last told it.
QPoint FramePosition(const QWidget& window);

// Puts a top-level window's outer frame at `framePosition`, fitted into the free areas, under any window
// manager: placed before it shows, and moved once more as soon as its frame is known if the window
// manager put it elsewhere.
void PlaceFrameAt(QWidget& window, QPoint framePosition);

// Fills the window's background with one colour.
void SetBackground(QWidget& window, const QColor& colour);

// Gives a window and its push buttons one fixed light colour, and fixes their text black on it: left
// to the desktop, a dark scheme's white text would vanish on the light face.
void SetLightFace(QWidget& window, const QColor& colour);

}  // namespace kazoomba::ui
