// The number rules: which texts are numbers, how they are read, rounded and
// written. Everything here is independent of the process locale.
#include "Modulo1.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace Modulo1 {

namespace {

bool Spazio(char c) { return c == ' ' || c == '\t'; }
bool Cifra(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool TestoNumerico(std::string_view testo) {
    std::size_t i = 0, fine = testo.size();
    while (i < fine && Spazio(testo[i])) ++i;
    while (fine > i && Spazio(testo[fine - 1])) --fine;
    if (i < fine && (testo[i] == '+' || testo[i] == '-')) ++i;
    bool cifre = false, separatore = false;
    for (; i < fine; ++i) {
        char c = testo[i];
        if (Cifra(c)) {
            cifre = true;
        } else if ((c == ',' || c == '.') && !separatore) {
            separatore = true;
        } else {
            return false;
        }
    }
    return cifre;
}

std::string NormalizzaDecimali(std::string_view testo) {
    std::string risultato(testo);
    for (char& c : risultato)
        if (c == ',') c = '.';
    return risultato;
}

double ValoreTesto(std::string_view testo) {
    std::size_t i = 0;
    while (i < testo.size() && Spazio(testo[i])) ++i;
    bool negativo = false;
    if (i < testo.size() && (testo[i] == '+' || testo[i] == '-')) {
        negativo = testo[i] == '-';
        ++i;
    }
    // The digits that continue the number: digits, at most one ".", digits.
    std::size_t inizio = i;
    bool cifre = false;
    while (i < testo.size() && Cifra(testo[i])) { ++i; cifre = true; }
    if (i < testo.size() && testo[i] == '.') {
        std::size_t dopoPunto = i + 1;
        std::size_t j = dopoPunto;
        while (j < testo.size() && Cifra(testo[j])) ++j;
        if (j > dopoPunto || cifre) {
            cifre = cifre || j > dopoPunto;
            i = j;
        }
    }
    if (!cifre) return 0.0;

    std::string_view numero = testo.substr(inizio, i - inizio);
    if (numero.back() == '.') numero.remove_suffix(1);           // "72." reads as 72
    std::string conCifra;
    if (numero.front() == '.') {                                   // ".5" reads as 0.5
        conCifra = "0";
        conCifra += numero;
        numero = conCifra;
    }
    double valore = 0.0;
    auto [fine, errore] = std::from_chars(numero.data(), numero.data() + numero.size(), valore,
                                          std::chars_format::fixed);
    (void)fine;
    if (errore == std::errc::result_out_of_range) {
        // Too many digits for a double: a long run of digits before the point
        // is huge; otherwise the value is too small to matter.
        std::size_t punto = numero.find('.');
        std::string_view intera = numero.substr(0, punto);
        bool grande = intera.find_first_not_of('0') != std::string_view::npos;
        valore = grande ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (errore != std::errc()) {
        return 0.0;
    }
    return negativo ? -valore : valore;
}

double Arrotonda(double x, int n) {
    if (n < 0) n = 0;
    double scala = 1.0;
    for (int k = 0; k < n; ++k) scala *= 10.0;
    double y = x * scala;
    if (!std::isfinite(y)) return std::isfinite(x) ? x : y;
    double intero = std::floor(y);
    double resto = y - intero;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(intero, 2.0) != 0.0)) intero += 1.0;
    return intero / scala;
}

std::string TestoNumero(double x) {
    if (std::isnan(x)) return " n.d.";
    std::string testo(1, std::signbit(x) && x != 0.0 ? '-' : ' ');
    double m = std::fabs(x);
    if (m == 0.0) return " 0";
    if (std::isinf(m)) return testo + "inf";

    // 15 significant digits: d.dddddddddddddde±XX
    char buffer[64];
    auto [fine, errore] = std::to_chars(buffer, buffer + sizeof buffer, m, std::chars_format::scientific, 14);
    if (errore != std::errc()) return testo + "0";
    std::string_view s(buffer, static_cast<std::size_t>(fine - buffer));
    std::size_t e = s.find('e');
    std::string cifre;
    cifre += s[0];
    cifre += s.substr(2, e - 2);
    int esponente = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), esponente);
    while (cifre.size() > 1 && cifre.back() == '0') cifre.pop_back();

    if (esponente >= 15 || esponente < -15) {
        // Out of the plain range: mantissa and exponent, "1.5E+15".
        testo += cifre[0];
        if (cifre.size() > 1) {
            testo += '.';
            testo += cifre.substr(1);
        }
        testo += esponente < 0 ? "E-" : "E+";
        std::string esp = std::to_string(esponente < 0 ? -esponente : esponente);
        if (esp.size() < 2) esp.insert(0, "0");
        return testo + esp;
    }
    if (esponente < 0) {
        testo += '.';
        testo.append(static_cast<std::size_t>(-esponente - 1), '0');
        testo += cifre;
        return testo;
    }
    auto interi = static_cast<std::size_t>(esponente) + 1;
    if (cifre.size() <= interi) {
        testo += cifre;
        testo.append(interi - cifre.size(), '0');
    } else {
        testo += cifre.substr(0, interi);
        testo += '.';
        testo += cifre.substr(interi);
    }
    return testo;
}

}  // namespace Modulo1
