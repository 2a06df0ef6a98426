// The game's menus as assistive technology reads them, with the state of every item that carries a mark.
#pragma once

class QAccessibleInterface;
class QObject;

namespace kazoomba::ui {

// This Qt offers a checkable menu item to the desktop as a plain menu item: a screen reader says "checked"
// for the marked item of a group and nothing for the others, so the player cannot tell "not checked" from
// a plain command. Here a menu is offered as Qt offers it (a popup menu of items with their names, places,
// focus, availability, Press and Show Menu), except that a checkable item is a check box, "checked" or
// "not checked". Qt's own menu would not count such an item among its children, so the menu is made here
// too. Returns the interface for a menu or for an action shown in one; null for anything else.
QAccessibleInterface* MenuInterface(QObject* object);

}  // namespace kazoomba::ui
