// The fit sheet: from six body measures and the saddle length to the frame,
// saddle and handlebar measures of a road bicycle.
#include "Modulo1.h"
#include "TestoPiano.h"

#include <cmath>

namespace Modulo1 {

namespace {

const std::string NonDisponibile = "n.d.";

// Rounded to one decimal, halves to even.
double Uno(double x) { return Arrotonda(x, 1); }

// A result that is no finite number (a measure of hundreds of digits) is
// not available, whole: never "inf" nor half a range.
std::string Valore(double x) { return std::isfinite(x) ? TestoNumero(x) : NonDisponibile; }

// "low -high": the low value always first, whatever the order of the two.
std::string Intervallo(double basso, double alto) {
    if (!std::isfinite(basso) || !std::isfinite(alto)) return NonDisponibile;
    std::string t;
    AccodaNumero(t, basso, true, false);
    t += " -";
    AccodaNumero(t, alto, true, false);
    return t;
}

}  // namespace

MisureAssetto LeggiMisure(std::string_view cavallo, std::string_view busto, std::string_view coscia,
                          std::string_view gamba, std::string_view braccio, std::string_view spalle,
                          std::string_view sella, bool& sellaPredefinita) {
    MisureAssetto m{ValoreTesto(cavallo), ValoreTesto(busto),  ValoreTesto(coscia), ValoreTesto(gamba),
                    ValoreTesto(braccio), ValoreTesto(spalle), ValoreTesto(sella)};
    sellaPredefinita = m.sella == 0.0;
    if (sellaPredefinita) m.sella = SellaRiferimento;
    return m;
}

std::string CalcolaTP(const MisureAssetto& m) {
    if (!(m.cavallo > 0)) return NonDisponibile;
    return Valore(Uno(m.cavallo * 0.65));
}

std::string CalcolaTO(const MisureAssetto& m) {
    if (!(m.busto > 0 && m.braccio > 0)) return NonDisponibile;
    return Intervallo(Uno((m.braccio + m.busto) / 2.3), Uno((m.braccio + m.busto) / 2.27));
}

std::string CalcolaPE(const MisureAssetto& m) {
    if (!(m.cavallo > 0)) return NonDisponibile;
    double x = Uno((m.cavallo - 55) / 1.9 + 160);
    if (!std::isfinite(x)) return NonDisponibile;
    if (x < 167.5) return "165";
    if (x < 170) return "167.5";
    if (x < 172.5) return "170";
    if (x < 175) return "172.5";
    if (x < 177.5) return "175";
    if (x < 180) return "177.5";
    return "180";
}

std::string CalcolaAlfa(const MisureAssetto& m) {
    if (m.coscia == 0 || m.gamba == 0) return NonDisponibile;
    return Valore(Uno((1.3 - m.coscia / m.gamba) * 15 + 70.5));
}

std::string CalcolaPiega(const MisureAssetto& m) {
    if (!(m.spalle > 0)) return NonDisponibile;
    return Valore(Arrotonda(m.spalle, 0));
}

std::string CalcolaPipa(const MisureAssetto& m) {
    if (!(m.busto > 0 && m.braccio > 0)) return NonDisponibile;
    double v = Uno((m.braccio + m.busto) / 10.65);
    return Intervallo(v - 1, v);
}

std::string CalcolaHS(const MisureAssetto& m) {
    if (!(m.cavallo > 0)) return NonDisponibile;
    double a = Uno(m.cavallo * 0.885);
    double pedivella = ValoreTesto(CalcolaPE(m));  // millimetres
    double b = Uno(m.cavallo * 1.09 - pedivella / 10);
    return Valore(b > a ? b : a);
}

std::string CalcolaDSM(const MisureAssetto& m) {
    if (!(m.busto > 0 && m.braccio > 0 && m.sella > 0)) return NonDisponibile;
    double somma = m.braccio + m.busto;
    return Intervallo(Uno(somma / 2.345 + 27.5 - m.sella), Uno(somma / 2.24 + 27.5 - m.sella));
}

std::string CalcolaSM(const MisureAssetto& m) {
    if (!(m.cavallo > 0)) return NonDisponibile;
    double alto = Uno((m.cavallo - 60) / 3.69 + 1);
    double basso = Uno(alto - alto * 0.1);
    return Intervallo(basso, alto);
}

std::string CalcolaR(const MisureAssetto& m) {
    if (!(m.cavallo > 0 && m.sella > 0)) return NonDisponibile;
    double basso = Uno((m.cavallo - 69) / 3 + 2 + 27.5 - m.sella);
    double alto = Uno(basso + 0.5);
    return Intervallo(basso, alto);
}

}  // namespace Modulo1
