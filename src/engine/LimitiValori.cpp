// The ranges of the values a coach and a fitter type, and how a value or a
// set of them is judged against them.
#include "LimitiValori.h"

#include <cmath>

namespace Modulo1 {

namespace {

// By Grandezza. The possible ranges hold every athlete and every bicycle
// there is, from a child on a small frame to a track sprinter and a
// downhill bike; the usual ones what a studio meets in a season.
constexpr std::array<Limiti, NumeroGrandezze> Tabella{{
    {{100, 230}, {140, 215}},  // FcMax
    {{80, 220}, {120, 200}},   // Lthr
    {{30, 650}, {80, 450}},    // Ftp
    {{25, 250}, {40, 130}},    // Peso
    {{0.1, 7.5}, {1, 6}},      // WattPerKg
    {{350, 800}, {450, 700}},  // Stack
    {{250, 600}, {340, 500}},  // Reach
    {{55, 80}, {60, 76}},      // AngoloSterzo
    {{0, 60}, {0, 40}},        // Cappellotto
    {{0, 100}, {0, 50}},       // Spessori
    {{20, 200}, {35, 150}},    // Attacco
    {{-45, 45}, {-25, 25}},    // AngoloAttacco
    {{20, 80}, {30, 50}},      // Morsetto
}};

bool Dentro(const Intervallo& i, double v) { return v >= i.minimo && v <= i.massimo; }

// The first refused of the values found, else the first unusual.
std::optional<ValoreFuori> Peggiore(std::optional<ValoreFuori> primo, const ValoreFuori& nuovo) {
    if (!primo || (nuovo.giudizio == Giudizio::Impossibile && primo->giudizio != Giudizio::Impossibile)) return nuovo;
    return primo;
}

}  // namespace

const Limiti& LimitiDi(Grandezza g) { return Tabella[static_cast<std::size_t>(g)]; }

Giudizio Giudica(Grandezza g, double valore) {
    const Limiti& l = LimitiDi(g);
    if (!std::isfinite(valore) || !Dentro(l.possibile, valore)) return Giudizio::Impossibile;
    return Dentro(l.usuale, valore) ? Giudizio::Valido : Giudizio::Insolito;
}

std::optional<ValoreFuori> GiudicaTest(std::optional<double> fcMax, std::optional<double> lthr,
                                       std::optional<double> ftp, std::optional<double> pesoKg) {
    std::optional<ValoreFuori> trovato;
    const std::array<std::pair<Grandezza, std::optional<double>>, 4> valori{
        {{Grandezza::FcMax, fcMax}, {Grandezza::Lthr, lthr}, {Grandezza::Ftp, ftp}, {Grandezza::Peso, pesoKg}}};
    for (const auto& [g, v] : valori)
        if (v)
            if (const Giudizio giudizio = Giudica(g, *v); giudizio != Giudizio::Valido)
                trovato = Peggiore(trovato, {g, *v, giudizio});
    if (fcMax && lthr && std::isfinite(*fcMax) && std::isfinite(*lthr)) {
        if (*lthr > *fcMax)
            trovato = Peggiore(trovato, {Grandezza::Lthr, *lthr, Giudizio::Impossibile, Grandezza::FcMax, *fcMax});
        else if (*lthr > *fcMax * 0.97)
            trovato = Peggiore(trovato, {Grandezza::Lthr, *lthr, Giudizio::Insolito, Grandezza::FcMax, *fcMax});
    }
    if (ftp && pesoKg && *pesoKg > 0) {
        const double w = *ftp / *pesoKg;
        if (const Giudizio giudizio = Giudica(Grandezza::WattPerKg, w); giudizio != Giudizio::Valido)
            trovato = Peggiore(trovato, {Grandezza::WattPerKg, w, giudizio});
    }
    return trovato;
}

std::optional<ValoreFuori> GiudicaTelaio(const std::array<std::optional<double>, 8>& valori) {
    std::optional<ValoreFuori> trovato;
    for (std::size_t i = 0; i < valori.size(); ++i) {
        if (!valori[i]) continue;
        const auto g = static_cast<Grandezza>(static_cast<int>(Grandezza::Stack) + static_cast<int>(i));
        if (const Giudizio giudizio = Giudica(g, *valori[i]); giudizio != Giudizio::Valido)
            trovato = Peggiore(trovato, {g, *valori[i], giudizio});
    }
    return trovato;
}

}  // namespace Modulo1
