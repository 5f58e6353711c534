// How the windows look beyond their forms: the states a control shows
// through its style sheet, and the program's fonts.
#pragma once

#include <QString>

class QWidget;

// A state is a dynamic property the control's style sheet selects on
// ([evidenziato="true"], [sopra="true"], [predefinita="true"],
// [buona="true"]); setting it works the control's style out again.
void ImpostaStato(QWidget* controllo, const char* stato, bool attivo);
bool StatoDi(const QWidget* controllo, const char* stato);

// "Segoe UI Symbol", the design font, is not on every system: it falls back
// to a sans font of similar width.
void ImpostaSostitutiCaratteri();

// The program's fonts: the stand-ins of the design font, and the design font
// (or its stand-in) for every text. The forms' style sheets give size and
// weight only, so every window takes this family.
void ImpostaCaratteri();

// The design font where it is installed, otherwise the first installed
// stand-in.
QString CarattereDisegno();

// For a window being built: the program's fonts are set (once).
void AdattaCaratteri(QWidget* finestra);
