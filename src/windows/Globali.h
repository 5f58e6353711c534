// Program-wide values of the windows: the identity texts set by the main
// window at start, the help file, the version and the application title.
#pragma once

#include "Messaggio.h"

#include <QString>

class QWidget;

extern QString TestoCredito;
extern QString NomeAutore;
extern QString IndirizzoSito;
extern QString IndirizzoDonazione;
extern QString IndirizzoPosta;

// Sets the five identity texts above: fixed texts of the program.
void ImpostaTestiIdentita();

// Full path of the help file "Guida.chm", set by the home window.
extern QString PercorsoGuida;

inline constexpr int VersioneMaggiore = TOVARIN_VERSIONE_MAGGIORE;
inline constexpr int VersioneMinore = TOVARIN_VERSIONE_MINORE;
inline constexpr int VersioneRevisione = TOVARIN_VERSIONE_REVISIONE;

// The application folder as a QString (modLanguageSupport::CartellaApplicazione).
QString CartellaApplicazioneQt();

// The year part of the credit line: "2015" until 2015, then "2015-" and the
// year of today's date ("2015-2024").
QString ParteAnniCredito();
