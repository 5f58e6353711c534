// The messages of the athlete's report and of printing a window, by name:
// each the number of its text in the [Strings] section of the language
// files.
#pragma once

#include "IdMessaggi.h"

namespace msg {

// ---- The report's page ----
inline constexpr Id TitoloReport = "0200";       // "Athlete report"
inline constexpr Id TitoloMisure = "0206";       // "Body measurements (cm)"
inline constexpr Id TitoloBikeFit = "0201";      // "Bike fit"
inline constexpr Id TitoloCondizione = "0204";   // "Condition"
inline constexpr Id ColonnaCalcolato = "0202";   // "Computed"
inline constexpr Id ColonnaProprio = "0321";     // "Own": the athlete's own set-up
inline constexpr Id ColonnaDifferenza = "0203";  // "Difference"
inline constexpr Id Predefinita = "0205";        // "(default)": the saddle height not computed
inline constexpr Id TagliaTelaio = "0218";       // "Frame size (TP)"
inline constexpr Id TuboOrizzontale = "0219";    // "Top tube length (TO)"
inline constexpr Id AngoloSella = "0220";        // "Seat tube angle (alpha, deg)"
inline constexpr Id LarghezzaManubrio = "0221";  // "Bar width"
inline constexpr Id LunghezzaAttacco = "0222";   // "Stem length"
inline constexpr Id ValoriIndicativi = "0043";   // the values are a guide, no substitute for a doctor or fitter

// ---- Printing and the PDF ----
inline constexpr Id NessunaStampante = "0060";  // "No printer is available. Save the page as a PDF file?"
inline constexpr Id StampaFallita = "0061";     // "Printing failed: check the printer and try again."
inline constexpr Id SalvaPdf = "0062";          // "Save the page as PDF"
inline constexpr Id FiltroPdf = "0063";         // "PDF documents (*.pdf)"
inline constexpr Id FileNonScritto = "0101";    // "The file %1 cannot be written: check that its folder ..."

}  // namespace msg
