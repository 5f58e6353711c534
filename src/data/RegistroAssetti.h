// The athletes' recorded fittings as the program shows them: the fitting of
// today built from the fit sheet's values, the disciplines by name, the fit
// coordinates and the frame of a fitting in words, and the changes from one
// fitting to another. Shared by the history window, the record dialog, the
// report and the command line, so that all four say the same.
#pragma once

#include "Archivio.h"
#include "CoordinateAssetto.h"
#include "LimitiValori.h"
#include "ZoneTest.h"

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

// The ten results of the measures of a fitting, as the fit sheet shows them;
// `sellaPredefinita`, when given, tells whether the saddle length defaulted.
archivio::TestiAssetto<archivio::CampoRisultato> RisultatiDi(
    const archivio::TestiAssetto<archivio::CampoMisura>& misure, bool* sellaPredefinita = nullptr);

// The athlete's own set-up value beside a result of the same name (PE, HS,
// DSM, SM, R); nothing for the others.
std::optional<archivio::CampoProprio> ProprioDi(archivio::CampoRisultato r);

// The fit coordinates of a fitting's results, and of its own set-up values
// (with the fit's seat angle: the athlete's own bike is measured without one).
Modulo1::CoordinateAssetto CoordinateDellAssetto(const archivio::Assetto& a);
Modulo1::CoordinateAssetto CoordinateDelSet(const archivio::Assetto& a);

// One point of the fit coordinates (saddle, saddle nose, handlebar): its
// name, the fit's and the own set-up's point and their texts ("x, y"; "n.d."
// for a fit's point not computed, empty for an own point not given), and the
// change from the fit's to the own ("+0.5, -1.2"; empty when either is absent
// or nothing changed).
struct RigaCoordinate {
    QString punto;
    std::optional<Modulo1::Punto> assetto, proprio;
    QString testoAssetto, testoProprio, spostamento;
};
// The three points of a fitting, as the history window, the report and the
// command line show them.
std::array<RigaCoordinate, 3> RigheCoordinate(const archivio::Assetto& a);

// The frame and cockpit of a fitting, when its stack, reach and head angle
// are given and make a frame (cap 10 and clamp 40 mm when left empty).
std::optional<Modulo1::Telaio> TelaioDi(const archivio::Assetto& a);
// Whether a fitting's stem was given: its spacers and angle go with it.
bool ConAttacco(const archivio::Assetto& a);
// The lines that tell a fitting's frame (RigheTelaio, with its stem when
// given, against its fit's handlebar), or the one line that says it has none.
QStringList RigheTelaioDi(const archivio::Assetto& a);

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

// The difference between the athlete's own value and a computed text: to the
// value, or to the nearer end of a range (0 inside it); nothing when either
// is not a number.
std::optional<double> DifferenzaDalSet(const QString& calcolato, const QString& set);
// That difference as the report shows it beside a result: "+2", "-0.5", "0"
// inside the range; empty when there is none.
QString TestoDifferenzaDalSet(const QString& calcolato, const QString& set);

// Of an athlete's fittings (newest first): the latest, the one before it, and
// the latest on the bike `bici`; nothing when there is none.
const archivio::Assetto* UltimoAssetto(const std::vector<archivio::Assetto>& assetti);
const archivio::Assetto* AssettoPrecedente(const std::vector<archivio::Assetto>& assetti);
const archivio::Assetto* UltimoSullaBici(const std::vector<archivio::Assetto>& assetti, const std::string& bici);

// A fitting as a coach tells it from another: its date and, when it has one,
// its bike, "2026-03-01 (Cervélo R5)".
QString NomeAssetto(const archivio::Assetto& a);

// The latest test: the newest of `test` (newest first) that is not dated
// after today, and the maximum heart rate it measured when it is a possible
// one (0 otherwise: the age's estimate is in use). The condition sheet, the
// report and the command line all take the maximum from here.
struct TestInUso {
    const archivio::TestAtleta* test = nullptr;
    double fcMaxMisurata = 0;
};
TestInUso UltimoTest(const std::vector<archivio::TestAtleta>& test);

// The zones of a test: Friel's from its LTHR, Coggan's from its FTP, and its
// watts per kilogram at its weight (`pesoRiserva`, the card's, when the test
// has none; `peso`, the text used). A value no athlete has (recorded before
// it was checked) counts as not given.
struct ZoneDelTest {
    std::vector<Modulo1::Zona> friel, coggan;
    std::optional<double> wattPerKg;
    std::string peso;
};
ZoneDelTest ZoneDi(const archivio::TestAtleta& t, const std::string& pesoRiserva = {});

// A value of a test or a frame as typed: nothing when the text is empty, not
// a number when it is no number.
std::optional<double> ValoreScritto(const std::string& testo);

// A value as typed when it is given and possible for its kind; nothing
// otherwise (a test recorded before the ranges were checked keeps its text).
std::optional<double> ValoreAmmesso(Modulo1::Grandezza g, const std::string& testo);

// A date of a test or a fitting as typed (yyyy-mm-dd): empty when it is a
// date not after today, else the message that says why it is not.
QString TestoDataNonValida(const std::string& data, bool assetto);

// The name of a value as a coach reads it ("HR max") and the value with its
// unit ("170 bpm").
QString NomeGrandezza(Modulo1::Grandezza g);
QString ValoreConUnita(Modulo1::Grandezza g, double valore);
// Why a value is refused, with its range; or, for an unusual one, the
// question whether it is right (`domanda`) or the note that it is unusual.
QString TestoValoreFuori(const Modulo1::ValoreFuori& f, bool domanda = true);

// The frame values of a fitting as given (nothing for an empty one), in the
// order of the frame's columns.
std::array<std::optional<double>, 8> ValoriTelaio(const archivio::Assetto& a);

}  // namespace registro
