// A page of text for a listener: rich text shown read-only, read by assistive technology as a document.
#pragma once

class QAccessibleInterface;
class QObject;
class QTextEdit;

namespace kazoomba::ui {

// This Qt offers a text browser to the desktop as a label, whose text a screen reader does not follow as
// the caret moves and whose changes it ignores. A view made readable is offered as a document instead,
// named by its accessible name, with its text, caret and selection; its caret moves by the keyboard
// (arrows, Home, End, Page Up and Down) as well as its links do by Tab.
void MakeReadable(QTextEdit& view);

// Tells assistive technology that a readable view shows a new page: the view is offered as a new document
// and takes the keyboard focus, so that a screen reader reads it as any control that gains the focus, its
// name first, then the line at the caret. (This Qt's reports of a changed name go unheard: the screen
// reader takes the new name for the old one.)
void PresentNewPage(QTextEdit& view);

// The interface for a view made readable; null for anything else.
QAccessibleInterface* ReadingPaneInterface(QObject* object);

}  // namespace kazoomba::ui
