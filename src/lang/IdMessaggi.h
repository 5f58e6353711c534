// The messages of the recorded fittings, the tests and their zones, the
// ranges of the values typed and the command line's --fit and --zones, by
// name: each the number of its text in the [Strings] section of the language
// files. The other areas' messages are named in the sibling headers
// IdMessaggi*.h.
#pragma once

#include <array>
#include <string_view>

namespace msg {

using Id = std::string_view;

// ---- Fittings ----
inline constexpr Id AssettoSenzaAtleta = "0340";  // no athlete to record a fitting for
inline constexpr Id AssettoRegistrato = "0341";   // "Fitting of %1 recorded for %2."
inline constexpr Id EliminaAssetto = "0342";      // "Delete the fitting of %1 (%2)?"
// The disciplines, in the order of archivio::Discipline.
inline constexpr std::array<Id, 5> Discipline{"0344", "0345", "0346", "0347", "0348"};
inline constexpr Id TelaioDato = "0349";        // "Frame: stack %1 mm, reach %2 mm, ..."
inline constexpr Id AttaccoDato = "0350";       // where the given cockpit puts the bars
inline constexpr Id DavantiA = "0351";          // "%1 mm ahead of"
inline constexpr Id DietroA = "0352";           // "%1 mm behind"
inline constexpr Id SopraA = "0353";            // "%1 mm above"
inline constexpr Id SottoA = "0354";            // "%1 mm below"
inline constexpr Id AttaccoPiuVicino = "0355";  // the closest cockpit
inline constexpr Id NessunTelaio = "0356";      // no frame recorded with the fitting
inline constexpr Id NessunManubrio = "0357";    // the fit's handlebar cannot be computed
// The points of the fit coordinates: saddle, saddle nose, handlebar.
inline constexpr std::array<Id, 3> PuntiCoordinate{"0358", "0359", "0360"};
inline constexpr Id Assetto = "0361";               // "Fit"
inline constexpr Id Proprio = "0362";               // "Set-up": the athlete's own
inline constexpr Id Cambiamento = "0363";           // "Change"
inline constexpr Id Oggi = "0364";                  // "Today"
inline constexpr Id Data = "0365";                  // "Date"
inline constexpr Id Bici = "0366";                  // "Bike"
inline constexpr Id Disciplina = "0367";            // "Discipline"
inline constexpr Id NessunAssetto = "0368";         // "No fitting recorded"
inline constexpr Id TitoloCoordinate = "0369";      // "Fit coordinates (cm from the bottom bracket: ...)"
inline constexpr Id UltimoAssetto = "0370";         // "Latest recorded fitting: %1"
inline constexpr Id CambiatoDa = "0371";            // "Changed since the fitting of %1"
inline constexpr Id NienteCambiato = "0372";        // "Nothing changed since the fitting of %1."
inline constexpr Id PuntoConNome = "0373";          // "%1 (%2): %3 cm"
inline constexpr Id TelaioImpossibile = "0378";     // the frame given is no frame
inline constexpr Id AssettoConBici = "0509";        // "%1 (%2)": a fitting's date and bike
inline constexpr Id DataAssettoNonValida = "0507";  // the fitting's date is no date

// ---- Tests and their zones ----
inline constexpr Id FcMaxMisurata = "0379";     // "HR max: %1 bpm, measured on %2"
inline constexpr Id FcMaxStimata = "0380";      // "HR max: %1 bpm, estimated from the age"
inline constexpr Id FcMaxData = "0505";         // "HR max: %1 bpm, as given"
inline constexpr Id TitoloZoneFriel = "0381";   // "Heart-rate zones from the threshold (LTHR %1 bpm)"
inline constexpr Id TitoloZoneCoggan = "0382";  // "Power zones from the threshold (FTP %1 W)"
inline constexpr Id ZonaFriel = "0383";         // "%1 %2: %3 bpm"
inline constexpr Id ZonaCoggan = "0384";        // "%1 %2: %3 W"
// The names of Coggan's zones, active recovery to neuromuscular.
inline constexpr std::array<Id, 7> NomiZoneCoggan{"0385", "0386", "0387", "0388", "0389", "0390", "0391"};
// The names of Friel's zones, recovery to anaerobic capacity.
inline constexpr std::array<Id, 7> NomiZoneFriel{"0392", "0393", "0394", "0395", "0396", "0397", "0398"};
inline constexpr Id WattPerKg = "0399";          // "W/kg: %1 (at %2 kg)"
inline constexpr Id NessunTest = "0400";         // no test recorded for the athlete
inline constexpr Id TestSenzaSoglia = "0402";    // the test has no threshold
inline constexpr Id DataTestNonValida = "0403";  // the test's date is no date
inline constexpr Id EliminaTest = "0404";        // "Delete the test of %1?"
inline constexpr Id Zona = "0405";               // "Zone"
inline constexpr Id ColonnaFc = "0406";          // "HR (bpm)"
inline constexpr Id ColonnaPotenza = "0407";     // "Power (W)"
inline constexpr Id NessunTestConFtp = "0408";   // the season's chart without a point
inline constexpr Id UltimoTest = "0412";         // "Latest test: %1"
inline constexpr Id RegistrareTest = "0413";     // record the test being typed?

// ---- Values out of their range ----
inline constexpr Id ValoreImpossibile = "0500";      // refused, with its range
inline constexpr Id ValoreInsolitoDomanda = "0501";  // unusual: take it all the same?
inline constexpr Id SogliaImpossibile = "0502";      // LTHR not below the maximum
inline constexpr Id SogliaInsolitaDomanda = "0503";  // LTHR above 97 % of the maximum: take it?
inline constexpr Id DataFutura = "0504";             // a date after today
inline constexpr Id ValoreInsolito = "0523";         // unusual, said without asking
inline constexpr Id SogliaInsolita = "0524";         // LTHR above 97 % of the maximum, said
// The names of the values judged, in the order of Modulo1::Grandezza.
inline constexpr std::array<Id, 13> NomiGrandezze{"0510", "0511", "0512", "0513", "0514", "0515", "0516",
                                                  "0517", "0518", "0519", "0520", "0521", "0522"};

// ---- The command line ----
inline constexpr Id NumeroNonValido = "0374";  // "%1 needs a number, not %2"
inline constexpr Id SoloConAttacco = "0506";   // "%1 needs --stem"

}  // namespace msg
