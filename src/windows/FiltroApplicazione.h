// What every window of the program gets without code of its own:
// - a link or picture that takes the Tab key (a QLabel or an ImmagineSvg whose
//   focus policy includes Qt::TabFocus) shows a focus frame while it has the
//   focus and is pressed with Space or Enter, as a click would press it;
// - a push or tool button with the focus is pressed with Enter as with Space,
//   in every window;
// - a combo box is named, for a screen reader, by what it is (its accessible
//   name or its label), not by the item it shows;
// - the right-click menu of a text box is drawn in the system's colours, not
//   in the colours the box's style sheet gives the box.
#pragma once

class QWidget;

// Installs it on the application; later calls do nothing.
void InstallaFiltroApplicazione();

// True for the controls that answer the keyboard as a click.
bool CollegamentoDaTastiera(const QWidget* controllo);
