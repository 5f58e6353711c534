// Colours of controls whose look is given by their style sheet in the form:
// read or change one colour property ("color", "background-color") and keep
// the rest of the sheet.
#pragma once

#include <QColor>
#include <QString>

class QWidget;

void CambiaColore(QWidget* controllo, const QString& proprieta, const QColor& colore);
QColor ColoreDi(const QWidget* controllo, const QString& proprieta);

// "Segoe UI Symbol", the design font, is not on every system: it falls back
// to a sans font of similar width.
void ImpostaSostitutiCaratteri();

// The program's fonts: the stand-ins of the design font, and the design font
// (or its stand-in) for every text, the plain ones included.
void ImpostaCaratteri();

// The font the forms' style sheets name: the design font where it is
// installed, otherwise the first installed stand-in.
QString CarattereDisegno();

// Where the design font is missing, names its stand-in in the style sheets of
// a window just built, so that no time is lost looking for the missing font.
void AdattaCaratteri(QWidget* finestra);
