// A focus indicator that shows on any background: a two-tone ring around the control with the keyboard.
#pragma once

class QWidget;

namespace kazoomba::ui {

// Draws a ring around whichever control of `window` has the keyboard focus: a dark line outside a light
// one, so that one of them stands out at least 3:1 against the game's grey, blue or black faces alike.
// Controls that draw their own (property "ownFocusRing") and controls that never take Tab are left alone.
void ShowFocusRings(QWidget& window);

}  // namespace kazoomba::ui
