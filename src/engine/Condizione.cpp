// The condition sheet's body values: age, body build, basal metabolism with
// the daily energy need, and the body mass index with its class.
#include "Calendario.h"
#include "Modulo1.h"
#include "TestoPiano.h"
#include "modLanguageSupport.h"

#include <charconv>
#include <cmath>
#include <string>

namespace Modulo1 {

using modLanguageSupport::TestoLingua;

std::string CalcolaEta(std::string_view dataNascita, ValoriCondizione& valori) {
    const auto& servizi = Calendario::Servizi();
    // The date as stored: the same day, and so the same age, under every
    // regional setting.
    std::optional<Calendario::Data> nascita = Calendario::LeggiDataArchiviata(dataNascita);
    if (!nascita) return {};
    int eta = Calendario::EtaCompiuta(*nascita, servizi.oggi());
    valori.EtaAnni = eta;
    return std::to_string(eta);
}

std::string Costituzione(double cavallo, double busto) {
    if (!(cavallo > 0) || !(busto > 0)) return TestoLingua("0001");
    double r = Arrotonda(cavallo / busto, 3);
    if (r < 1.31) return TestoLingua("0002");
    if (r > 1.33) return TestoLingua("0003");
    return TestoLingua("0004");
}

namespace {

// The activity factor of the daily need; 0 when there is none.
double FattoreAttivita(bool uomo, double eta, const std::string& attivita, bool fisica) {
    if (eta >= 18 && eta <= 59) {
        static const char* const Classi[] = {"0005", "0006", "0007"};
        static const double Uomo[3][2] = {{1.41, 1.55}, {1.70, 1.78}, {2.01, 2.10}};
        static const double Donna[3][2] = {{1.42, 1.56}, {1.56, 1.64}, {1.73, 1.82}};
        for (int k = 0; k < 3; ++k)
            if (attivita == TestoLingua(Classi[k])) return (uomo ? Uomo : Donna)[k][fisica ? 1 : 0];
        return 0;
    }
    if (eta >= 60 && eta <= 74) return uomo ? (fisica ? 1.51 : 1.40) : (fisica ? 1.56 : 1.44);
    if (eta >= 75) return uomo ? (fisica ? 1.51 : 1.33) : (fisica ? 1.56 : 1.37);
    return 0;
}

// The index with exactly two decimals, halves away from zero, taken from the
// shortest decimal text of the double: 22.857142... gives "22.86".
std::string DueDecimali(double x) {
    if (!std::isfinite(x)) return TestoPiano(x);
    char buffer[400];
    auto [fine, errore] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::fixed);
    if (errore != std::errc()) return TestoPiano(x);
    std::string s(buffer, fine);
    std::size_t punto = s.find('.');
    if (punto == std::string::npos) {
        punto = s.size();
        s += '.';
    }
    s.append(3, '0');
    bool suPerArrotondare = s[punto + 3] >= '5';
    s.resize(punto + 3);
    if (suPerArrotondare) {
        std::size_t i = s.size();
        while (i-- > 0) {
            if (s[i] == '.') continue;
            if (s[i] != '9') {
                ++s[i];
                break;
            }
            s[i] = '0';
            if (i == 0) s.insert(0, "1");
        }
    }
    return (x < 0 && s.find_first_not_of("0.") != std::string::npos ? "-" : "") + s;
}

}  // namespace

void CalcolaMetabolismo(const ValoriCondizione& valori, std::string& metabolismo, std::string& fabbisogno,
                        const std::string& sesso) {
    if (!(valori.PesoKg > 0) || !(valori.AltezzaCm > 0) || !(valori.EtaAnni > 0)) return;
    double b;
    if (sesso == "M") {
        b = valori.PesoKg * 13.7516 + 66.473 + valori.AltezzaCm * 5.0033 - valori.EtaAnni * 6.775;
    } else if (sesso == "F") {
        b = valori.PesoKg * 9.5634 + 665.095 + valori.AltezzaCm * 1.8496 - valori.EtaAnni * 4.6756;
    } else {
        metabolismo = "n.d.";
        return;
    }
    double basale = Arrotonda(b, 0);
    if (!std::isfinite(basale)) {  // a weight or a height of hundreds of digits
        metabolismo = "n.d.";
        return;
    }
    metabolismo = TestoPiano(basale);
    double fattore = FattoreAttivita(sesso == "M", valori.EtaAnni, valori.AttivitaLavorativa, valori.AttivitaFisica);
    if (fattore > 0) fabbisogno = TestoPiano(Arrotonda(fattore * basale, 0));
}

bool DatiIMCValidi(const std::string& sesso, const std::string& peso, double altezza) {
    return altezza > 0 && !peso.empty() && TestoNumerico(peso) && ValoreTesto(peso) > 0 &&
           (sesso == "M" || sesso == "F");
}

std::string CalcolaIMC(const std::string& sesso, double altezza, const std::string& peso, std::string& pesoIdeale,
                       std::string& classe, std::string& range) {
    if (!DatiIMCValidi(sesso, peso, altezza)) return {};
    const double h = altezza / 100;
    const double w = ValoreTesto(NormalizzaDecimali(peso));
    const double indice = w / (h * h);
    const bool uomo = sesso == "M";

    const double ideale = (h * h) * (uomo ? 22 : 20);
    const double basso = (h * h) * (uomo ? 20 : 18.5);
    const double alto = (h * h) * (uomo ? 24.99 : 23.79);

    const char* id;
    if (indice < 16)
        id = "0011";
    else if (indice < (uomo ? 20 : 18.5))
        id = "0012";
    else if (indice < (uomo ? 21.9 : 19.9))
        id = "0013";
    else if (indice < (uomo ? 22.11 : 20.11))
        id = "0014";
    else if (indice < (uomo ? 25 : 23.8))
        id = "0013";
    else if (indice < (uomo ? 30 : 27.5))
        id = "0016";
    else if (indice < 40)
        id = "0025";
    else
        id = "0026";

    // A weight or a height of hundreds of digits gives no finite number:
    // that result is not available, and no class is drawn from it.
    const auto testo = [](double x) { return std::isfinite(x) ? TestoPiano(Arrotonda(x, 1)) : std::string("n.d."); };
    pesoIdeale = testo(ideale);
    range = std::isfinite(basso) && std::isfinite(alto) ? testo(basso) + " - " + testo(alto) : std::string("n.d.");
    if (!std::isfinite(indice)) return "n.d.";
    classe = TestoLingua(id);
    return DueDecimali(indice);
}

}  // namespace Modulo1
