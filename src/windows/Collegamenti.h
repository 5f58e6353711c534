// Handing the user over to other programs: web and mail links, and the help
// viewer. Both go through replaceable handlers, so that tests can record
// what would be opened instead of opening it.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Opens a web address or a "mailto:" link with the desktop's programs. Only
// http, https and mailto targets are handed over; when no program of the
// desktop opens one (no web browser), the coach is told, with the address
// to copy.
void ApriDocumento(QWidget* finestra, const QString& destinazione);

// True for the targets handed to the desktop: web addresses (http, https)
// and mail links; never files, programs or other schemes.
bool DestinazioneApribile(const QString& destinazione);

// A new mail to IndirizzoPosta whose subject part S is followed by the version:
// "mailto:" + IndirizzoPosta + S + "1.0.5".
void ScriviAutore(QWidget* finestra, const QString& oggetto);

// The text ScriviAutore hands to ApriDocumento, for the given version.
QString TestoCollegamentoPosta(const QString& oggetto, int maggiore, int minore, int revisione);

// The help topic for a window's help context number, in the current
// language. The help file holds each topic in Italian ("Scheda_assetto.html")
// and in English ("Fit_sheet.html"), with an English table of contents.
QString ArgomentoGuida(int contestoGuida);

// True when the help is shown in English.
bool GuidaInInglese();

// The same page of the help file in the given language: an object path
// ("/Scheda_assetto.html") in English ("/Fit_sheet.html") or back in Italian,
// the table of contents too; any other path is returned as it is.
QString PaginaNellaLingua(const QString& percorsoOggetto, bool inglese);

// Shows a topic of a compiled help file, owned by the given window.
using GestoreGuidaFn = std::function<void(QWidget* proprietario, const QString& fileChm, const QString& argomento)>;
// Opens a link target.
using GestoreCollegamentiFn = std::function<bool(const QString& destinazione)>;  // false: not opened

// The handlers in force; tests install recording ones.
void ImpostaGestoreGuida(GestoreGuidaFn gestore);
void ImpostaGestoreCollegamenti(GestoreCollegamentiFn gestore);
void MostraArgomentoGuida(QWidget* proprietario, const QString& fileChm, const QString& argomento);
