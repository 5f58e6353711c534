// The athletes' recorded fittings as the program shows them: the fitting of
// today built from the fit sheet's values, the disciplines by name, the fit
// coordinates and the frame of a fitting in words, and the changes from one
// fitting to another. Shared by the history window, the record dialog, the
// report and the command line, so that all four say the same.
#pragma once

#include "Archivio.h"
#include "CoordinateAssetto.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace registro {

// The discipline's name in the current language; the code itself for a code
// this version does not know (a fitting of a later version).
QString NomeDisciplina(const std::string& codice);

// A fitting of today for the athlete of row `riga`: the seven measures and the
// own set-up values as the row holds them, the ten results computed from its
// measures (as the fit sheet shows them), the card's bike. No frame, no notes.
archivio::Assetto AssettoDaRiga(std::int64_t atleta, const archivio::Riga& riga, const std::string& data);

// The ten results of the measures of a fitting, as the fit sheet shows them.
std::array<std::string, 10> RisultatiDi(const std::array<std::string, 7>& misure);

// The fit coordinates of a fitting's results, and of its own set-up values
// (with the fit's seat angle: the athlete's own bike is measured without one).
Modulo1::CoordinateAssetto CoordinateDellAssetto(const archivio::Assetto& a);
Modulo1::CoordinateAssetto CoordinateDelSet(const archivio::Assetto& a);

// The frame and cockpit of a fitting, when its stack, reach and head angle
// are given and make a frame (cap 10 and clamp 40 mm when left empty).
std::optional<Modulo1::Telaio> TelaioDi(const archivio::Assetto& a);

// A point as "x, y" to one decimal; "n.d." when absent.
QString TestoPunto(const std::optional<Modulo1::Punto>& p);
// The change from `da` to `a`, "+0.5, -1.2" (a blank coordinate unchanged);
// empty when both are unchanged; "n.d." when either is absent.
QString TestoSpostamento(const std::optional<Modulo1::Punto>& da, const std::optional<Modulo1::Punto>& a);

// The lines that tell a frame and its cockpit: the frame, where its cockpit
// puts the bars against the fit's handlebar (`manubrioCm`, the fit's, in
// centimetres), and the closest cockpit. Without a stem only the closest.
QStringList RigheTelaio(const Modulo1::Telaio& t, bool conAttacco, const std::optional<Modulo1::Punto>& manubrioCm);

// The differences of two fittings' values, one per changed value: its name,
// the value before and after, and the change of a number ("+0.5"); a range is
// compared by its midpoint. Measures, results, own set-up values, in order.
struct Cambiamento {
    QString voce, prima, dopo, differenza;
};
std::vector<Cambiamento> Cambiamenti(const archivio::Assetto& prima, const archivio::Assetto& dopo);

// The name of value `i` of the 22 compared (7 measures, 10 results, 5 own
// set-up values), as the fit sheet labels it.
QString NomeVoce(int i);
// Value `i` of a fitting, in the same order.
const std::string& Voce(const archivio::Assetto& a, int i);
inline constexpr int NumeroVoci = 22;
// The change of one value as shown: "+0.5", "-1.2", blank when unchanged or
// when either is no number.
QString DifferenzaVoce(const std::string& prima, const std::string& dopo);

}  // namespace registro
