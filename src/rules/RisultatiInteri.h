// A result is shown whole or not at all: a text too long for its box would
// be cut on the screen and on paper, and a cut number reads as another
// number. Such a result shows "n.d." instead, as a result that cannot be
// computed does.
#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// True when the whole text fits the room a label or a text box has for it.
bool TestoEntra(QWidget* controllo, const QString& testo);

// Shows the text, or "n.d." when it does not fit; the label is set only when
// what it shows changes.
void MostraIntero(QLabel* etichetta, const QString& testo);

// From now on every read-only text box of the window (the result boxes)
// shows "n.d." in place of a text that does not fit it.
void ProteggiRisultati(QWidget* finestra);
