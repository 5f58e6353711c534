// Opening the help: one viewer for the program, on a topic of the help file.
#pragma once

#include <QString>

class QWidget;
class frmGuida;

// The topic shown when the file names no default topic of its own.
inline const QString ArgomentoDiRiserva = QStringLiteral("/Descrizione.html");

// Opens the help viewer on a topic of a help file, as "Descrizione.html" or
// "Scheda_assetto.html#risultati"; an empty topic is the file's default one.
// There is one viewer: a later call shows its topic in the same window and
// brings it to the front. A missing or unreadable file or a missing topic is
// reported (MostraMessaggio) and leaves an open viewer as it was.
void MostraGuidaChm(QWidget* proprietario, const QString& fileChm, const QString& argomento);

// The viewer now open, or nullptr.
frmGuida* FinestraGuida();
