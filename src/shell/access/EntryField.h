// A one-line entry field for assistive technology: read as a labelled edit field with its whole text.
#pragma once

class QAccessibleInterface;
class QLineEdit;
class QObject;

namespace kazoomba::ui {

// This Qt offers a line edit's text as one run of attributes per character, each of no length; a screen
// reader that joins the runs to read the line at the caret then drops the last character ("Orca tes" for
// "Orca test", nothing for "0"). A field made readable is offered with its text as one run, and otherwise
// as this Qt offers any line edit: an editable text named by its accessible name, with its caret and
// selection.
void MakeFieldReadable(QLineEdit& field);

// The interface for a field made readable; null for anything else.
QAccessibleInterface* EntryFieldInterface(QObject* object);

}  // namespace kazoomba::ui
