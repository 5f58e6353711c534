// Fit coordinates: the saddle and handlebar points of a fit from its result
// texts, the cockpit of a frame that comes closest to the fit's handlebar,
// and the one-decimal texts that show them.
#include "CoordinateAssetto.h"
#include "Modulo1.h"

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace Modulo1 {

namespace {

constexpr double Radianti = std::numbers::pi / 180.0;

bool Spazio(char c) { return c == ' ' || c == '\t'; }

// Blanks at the end need no trimming: a number's reading skips them.
std::string_view SenzaSpaziIniziali(std::string_view t) {
    while (!t.empty() && Spazio(t.front())) t.remove_prefix(1);
    return t;
}

// One number text, comma or full stop as separator.
std::optional<double> Numero(std::string_view t) {
    if (!TestoNumerico(t)) return std::nullopt;
    double v = ValoreTesto(NormalizzaDecimali(t));
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

bool Finito(Punto p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The bar of frame t with the given spacers and stem; the head angle's and the
// stem's cosine and sine come from the caller, so that the search reuses them.
Punto Posizione(const Telaio& t, double cosSterzo, double sinSterzo, double spessori, double attacco, double cosAttacco,
                double sinAttacco) {
    double h = t.cappellotto + spessori + t.morsetto / 2;  // along the head tube, to the stem's axis
    return {t.reach - h * cosSterzo + attacco * cosAttacco, t.stack + h * sinSterzo + attacco * sinAttacco};
}

// The stem's direction from the horizontal: square to the head tube, tilted by
// the stem angle.
double AngoloStelo(double angoloSterzo, double angoloAttacco) { return 90.0 - angoloSterzo + angoloAttacco; }

constexpr std::array AngoliAttacco{-17.0, -12.0, -10.0, -8.0, -6.0, 0.0, 6.0, 8.0, 10.0, 12.0, 17.0};
constexpr int NumeroSpessori = 9;  // 0 to 40 mm by 5
constexpr int NumeroAttacchi = 9;  // 60 to 140 mm by 10

// x to one decimal as a whole number of tenths, halves to even, judged on
// the decimal value of x: its first 15 significant digits, as every text of
// the program writes it. 43.65 computed as 43.650000000000006 is the decimal
// 43.65, a half, and goes to 43.6; the binary nearest 43.65 does the same.
// Nothing beyond a hundred million millions of tenths.
std::optional<long long> Decimi(double x) {
    if (!std::isfinite(x) || std::fabs(x) >= 1e14) return std::nullopt;
    if (x == 0) return 0;
    char buffer[40];
    auto [fine, errore] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    if (errore != std::errc()) return std::nullopt;
    // "-d.dddddddddddddde±xx": 15 digits and the power of ten of the first.
    const std::string_view testo(buffer, static_cast<std::size_t>(fine - buffer));
    const bool negativo = testo.front() == '-';
    const std::size_t e = testo.find('e');
    long long cifre = 0;
    for (char c : testo.substr(0, e))
        if (c >= '0' && c <= '9') cifre = cifre * 10 + (c - '0');
    int esponente = 0;
    const std::string_view potenza = testo.substr(e + 1);
    std::from_chars(potenza.data() + (potenza.front() == '+' ? 1 : 0), potenza.data() + potenza.size(), esponente);
    // x in tenths is cifre × 10^(esponente - 13); |x| < 1e14 keeps that power
    // at most 0.
    const int scarto = 13 - esponente;
    long long decimi = 0;
    if (scarto <= 0) {
        decimi = cifre;
    } else if (scarto <= 15) {
        long long divisore = 1;
        for (int k = 0; k < scarto; ++k) divisore *= 10;
        decimi = cifre / divisore;
        const long long resto = cifre % divisore;
        if (2 * resto > divisore || (2 * resto == divisore && decimi % 2 != 0)) ++decimi;
    }  // further down: 15 digits under a twentieth, zero tenths
    return negativo ? -decimi : decimi;
}

// A number of tenths written with one decimal, never "-0.0".
std::string TestoDecimi(long long decimi) {
    std::string testo = decimi < 0 ? "-" : "";
    const unsigned long long modulo =
        decimi < 0 ? 0ULL - static_cast<unsigned long long>(decimi) : static_cast<unsigned long long>(decimi);
    testo += std::to_string(modulo / 10);
    testo += '.';
    testo += static_cast<char>('0' + modulo % 10);
    return testo;
}

// Beyond the reach of Decimi (never zero, so never "-0.0"): the binary value,
// rounded as it is.
std::string UnDecimale(double r) {
    char buffer[400];
    auto [fine, errore] = std::to_chars(buffer, buffer + sizeof buffer, r, std::chars_format::fixed, 1);
    if (errore != std::errc()) return "n.d.";
    return std::string(buffer, fine);
}

}  // namespace

std::optional<double> CentroRisultato(std::string_view testo) {
    if (auto v = Numero(testo)) return v;
    // A range "low -high": the first "-" past the low bound's own sign
    // separates the bounds; the high bound may carry its own "-".
    std::string_view t = SenzaSpaziIniziali(testo);
    std::size_t meno = t.find('-', 1);
    if (meno == std::string_view::npos) return std::nullopt;
    auto basso = Numero(t.substr(0, meno)), alto = Numero(t.substr(meno + 1));
    if (!basso || !alto) return std::nullopt;
    return *basso / 2 + *alto / 2;  // halves first: no overflow
}

CoordinateAssetto CalcolaCoordinate(std::string_view hs, std::string_view alfa, std::string_view r,
                                    std::string_view dsm, std::string_view sm) {
    CoordinateAssetto c;
    auto altezza = CentroRisultato(hs), angolo = CentroRisultato(alfa);
    if (!altezza || !(*altezza > 0) || !angolo) return c;
    Punto sella{-*altezza * std::cos(*angolo * Radianti), *altezza * std::sin(*angolo * Radianti)};
    if (!Finito(sella)) return c;
    c.sella = sella;

    auto arretramento = CentroRisultato(r);
    if (!arretramento) return c;
    c.punta = Punto{-*arretramento, sella.y};

    // DSM is the hypotenuse from the nose to the bar, SM its vertical leg.
    auto distanza = CentroRisultato(dsm), dislivello = CentroRisultato(sm);
    if (!distanza || !dislivello || !(*distanza > 0)) return c;
    double verticale = std::fabs(*dislivello);
    if (*distanza < verticale) return c;
    Punto manubrio{-*arretramento + std::sqrt((*distanza - verticale) * (*distanza + verticale)),
                   sella.y - *dislivello};
    if (Finito(manubrio)) c.manubrio = manubrio;
    return c;
}

bool TelaioValido(const Telaio& t) {
    for (double v :
         {t.stack, t.reach, t.angoloSterzo, t.cappellotto, t.spessori, t.attacco, t.angoloAttacco, t.morsetto})
        if (!std::isfinite(v)) return false;
    return t.stack > 0 && t.reach > 0 && t.angoloSterzo > 0 && t.angoloSterzo < 180 && t.cappellotto >= 0 &&
           t.spessori >= 0 && t.attacco >= 0 && t.morsetto >= 0;
}

Punto PosizioneManubrio(const Telaio& t) {
    double sterzo = t.angoloSterzo * Radianti, stelo = AngoloStelo(t.angoloSterzo, t.angoloAttacco) * Radianti;
    return Posizione(t, std::cos(sterzo), std::sin(sterzo), t.spessori, t.attacco, std::cos(stelo), std::sin(stelo));
}

bool AttaccoPreferito(const AttaccoScelto& a, const AttaccoScelto& b) {
    if (std::isnan(a.distanza)) return false;
    if (std::isnan(b.distanza)) return true;
    if (std::fabs(a.distanza - b.distanza) > TolleranzaDistanzaMm) return a.distanza < b.distanza;
    if (a.spessori != b.spessori) return a.spessori < b.spessori;
    if (a.attacco != b.attacco) return a.attacco < b.attacco;
    return a.angoloAttacco < b.angoloAttacco;
}

AttaccoScelto AttaccoPiuVicino(const Telaio& t, Punto bersaglioMm) {
    double sterzo = t.angoloSterzo * Radianti;
    double cosSterzo = std::cos(sterzo), sinSterzo = std::sin(sterzo);
    struct Stelo {
        double angolo, coseno, seno;
    };
    std::array<Stelo, AngoliAttacco.size()> steli{};
    for (std::size_t i = 0; i < AngoliAttacco.size(); ++i) {
        double stelo = AngoloStelo(t.angoloSterzo, AngoliAttacco[i]) * Radianti;
        steli[i] = {AngoliAttacco[i], std::cos(stelo), std::sin(stelo)};
    }

    AttaccoScelto migliore{};
    bool primo = true;
    for (int s = 0; s < NumeroSpessori; ++s) {
        double spessori = 5.0 * s;
        for (int a = 0; a < NumeroAttacchi; ++a) {
            double attacco = 60.0 + 10.0 * a;
            for (const Stelo& stelo : steli) {
                Punto p = Posizione(t, cosSterzo, sinSterzo, spessori, attacco, stelo.coseno, stelo.seno);
                double dx = p.x - bersaglioMm.x, dy = p.y - bersaglioMm.y;
                AttaccoScelto candidato{spessori, attacco, stelo.angolo, p, std::sqrt(dx * dx + dy * dy)};
                if (primo || AttaccoPreferito(candidato, migliore)) migliore = candidato;
                primo = false;
            }
        }
    }
    return migliore;
}

std::string TestoUnDecimale(double x) {
    if (!std::isfinite(x)) return "n.d.";
    if (const auto d = Decimi(x)) return TestoDecimi(*d);
    return UnDecimale(Arrotonda(x, 1));
}

std::string TestoDifferenza(double d) {
    if (!std::isfinite(d)) return "n.d.";
    if (const auto decimi = Decimi(d)) {
        if (*decimi == 0) return {};
        return *decimi > 0 ? "+" + TestoDecimi(*decimi) : TestoDecimi(*decimi);
    }
    const double r = Arrotonda(d, 1);
    return r > 0 ? "+" + UnDecimale(r) : UnDecimale(r);
}

}  // namespace Modulo1
