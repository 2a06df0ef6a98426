// Key presses that a screen reader held back until after a menu opened.
#pragma once

class QApplication;

namespace kazoomba::ui {

// With a screen reader listening, Qt's accessibility bridge holds each key press until the reader has
// seen it, then posts it again to the window it was pressed in. A menu that opened in between, by a
// shortcut such as Alt+O whose O went through at once, then gets the held-back Alt; and an Alt closes an
// open menu, so the menu shut by itself a few milliseconds after opening. Installed on the application,
// this drops a key press that reaches an open menu's owner although it was pressed before the key (or the
// click) that opened the menu.
// Keys pressed after that one, and every key without a screen reader, go through untouched.
void KeepLateKeysFromMenus(QApplication& app);

}  // namespace kazoomba::ui
