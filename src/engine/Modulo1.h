// Modulo1: the calculations of the fit sheet and the condition sheet.
//
// Measures arrive as the texts of the boxes; results leave as the texts the
// sheets show. Nothing here reads the clock, the locale or a window: today's
// date and the regional date test reach CalcolaEta through Calendario.h.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace Modulo1 {

// ---- Number rules ---------------------------------------------------------

// True when the text spells a number: blanks at either end, an optional sign,
// digits with at most one separator ("," or ".") and at least one digit.
bool TestoNumerico(std::string_view testo);

// The text with every "," replaced by ".".
std::string NormalizzaDecimali(std::string_view testo);

// The number at the start of the text, full stop as separator; 0 when none.
double ValoreTesto(std::string_view testo);

// x rounded to n decimals, exact halves to the even neighbour.
double Arrotonda(double x, int n);

// " 53", " 55.2", " .9", "-1.7", "-.5", " 0": a sign character, then the
// magnitude with at most 15 significant digits and no trailing zeros.
std::string TestoNumero(double x);

// ---- Fit sheet ------------------------------------------------------------

// The reference saddle length, used when none is given.
inline constexpr double SellaRiferimento = 27.5;

struct MisureAssetto {
    double cavallo, busto, coscia, gamba, braccio, spalle, sella;
};

// Reads the seven box texts. A saddle length reading exactly 0 becomes 27.5
// and sets sellaPredefinita; any other value clears it.
MisureAssetto LeggiMisure(std::string_view cavallo, std::string_view busto, std::string_view coscia,
                          std::string_view gamba, std::string_view braccio, std::string_view spalle,
                          std::string_view sella, bool& sellaPredefinita);

std::string CalcolaTP(const MisureAssetto& m);
std::string CalcolaTO(const MisureAssetto& m);
std::string CalcolaPE(const MisureAssetto& m);
std::string CalcolaAlfa(const MisureAssetto& m);
std::string CalcolaPiega(const MisureAssetto& m);
std::string CalcolaPipa(const MisureAssetto& m);
std::string CalcolaHS(const MisureAssetto& m);
std::string CalcolaDSM(const MisureAssetto& m);
std::string CalcolaSM(const MisureAssetto& m);
std::string CalcolaR(const MisureAssetto& m);

// ---- Condition sheet ------------------------------------------------------

// The condition values of one athlete, filled by whoever computes (the
// condition sheet from its boxes, the report from a stored row) and passed
// to each calculation that needs them.
struct ValoriCondizione {
    double EtaAnni = 0, PesoKg = 0, AltezzaCm = 0, PulsazioniRiposo = 0;
    std::string AttivitaLavorativa;
    bool AttivitaFisica = false;
    // The maximum heart rate of the athlete's latest test; 0 when none was
    // measured, and the estimate from the age holds.
    double FcMaxMisurata = 0;
};

using CinqueTesti = std::array<std::string, 5>;  // one text per zone, zone 1 first

// Maximum heart rate (valori.FcMaxMisurata when measured, else from
// valori.EtaAnni), Cooper and Karvonen zones (from
// valori.PulsazioniRiposo) and the energy of a training of `minuti` minutes at
// each bound. Absent results leave their texts untouched.
void CalcolaZoneCardiache(const ValoriCondizione& valori, double& fcMax, double minuti, CinqueTesti& cooper,
                          CinqueTesti& karvonen, const std::string& sesso, double eta, const std::string& peso,
                          CinqueTesti& kcalCooper, CinqueTesti& kcalKarvonen);

// Age in completed years from the birth date as the archive stores it (read
// by Calendario::LeggiDataArchiviata, the same under every regional setting)
// and today's date of Calendario.h; sets valori.EtaAnni. Empty text, and
// EtaAnni untouched, when the text is not a date.
std::string CalcolaEta(std::string_view dataNascita, ValoriCondizione& valori);

// Body build from inseam and torso: the catalogue text of "0001" to "0004".
std::string Costituzione(double cavallo, double busto);

// Basal metabolism and daily energy need from the condition values.
void CalcolaMetabolismo(const ValoriCondizione& valori, std::string& metabolismo, std::string& fabbisogno,
                        const std::string& sesso);

bool DatiIMCValidi(const std::string& sesso, const std::string& peso, double altezza);

// Body mass index text ("22.86"), or "" when the inputs are not valid; then the
// three results are left untouched.
std::string CalcolaIMC(const std::string& sesso, double altezza, const std::string& peso, std::string& pesoIdeale,
                       std::string& classe, std::string& range);

}  // namespace Modulo1
