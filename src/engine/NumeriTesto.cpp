// The number rules: which texts are numbers, how they are read, rounded and
// written. Everything here is independent of the process locale.
#include "Modulo1.h"
#include "TestoPiano.h"

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
    while (i < testo.size() && Cifra(testo[i])) {
        ++i;
        cifre = true;
    }
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
    if (numero.back() == '.') numero.remove_suffix(1);  // "72." reads as 72
    std::string conCifra;
    if (numero.front() == '.') {  // ".5" reads as 0.5
        conCifra = "0";
        conCifra += numero;
        numero = conCifra;
    }
    double valore = 0.0;
    auto [fine, errore] =
        std::from_chars(numero.data(), numero.data() + numero.size(), valore, std::chars_format::fixed);
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
    if (resto > 0.5 || (resto == 0.5 && intero != 2.0 * std::floor(intero / 2.0))) intero += 1.0;
    return intero / scala;
}

namespace {

// Appends the magnitude m > 0, finite, with at most 15 significant digits.
void AccodaModulo(std::string& out, double m, bool zeroIniziale) {
    // Most values have a few decimals: then m × 10^k is a whole number below
    // 10^15, which is exactly the 15-digit text.
    double scala = 1.0;
    for (int k = 0; k <= 4; ++k, scala *= 10.0) {
        double y = m * scala;
        if (y >= 1e15) break;
        if (y != std::floor(y)) continue;
        char cifre[24];
        auto [fine, errore] = std::to_chars(cifre, cifre + sizeof cifre, static_cast<long long>(y));
        (void)errore;
        auto n = static_cast<std::size_t>(fine - cifre);
        std::size_t decimali = static_cast<std::size_t>(k);
        while (decimali > 0 && cifre[n - 1] == '0') --n, --decimali;  // trailing zeros
        if (n > decimali) {
            out.append(cifre, n - decimali);
        } else if (zeroIniziale) {
            out += '0';
        }
        if (decimali > 0) {
            out += '.';
            if (decimali > n) out.append(decimali - n, '0');
            out.append(cifre + (n > decimali ? n - decimali : 0), n > decimali ? decimali : n);
        }
        return;
    }

    // Anything else: 15 significant digits d.dddddddddddddde±XX
    char buffer[64];
    auto [fine, errore] = std::to_chars(buffer, buffer + sizeof buffer, m, std::chars_format::scientific, 14);
    if (errore != std::errc()) {
        out += '0';
        return;
    }
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
        out += cifre[0];
        if (cifre.size() > 1) {
            out += '.';
            out += cifre.substr(1);
        }
        out += esponente < 0 ? "E-" : "E+";
        std::string esp = std::to_string(esponente < 0 ? -esponente : esponente);
        if (esp.size() < 2) esp.insert(0, "0");
        out += esp;
    } else if (esponente < 0) {
        if (zeroIniziale) out += '0';
        out += '.';
        out.append(static_cast<std::size_t>(-esponente - 1), '0');
        out += cifre;
    } else {
        auto interi = static_cast<std::size_t>(esponente) + 1;
        if (cifre.size() <= interi) {
            out += cifre;
            out.append(interi - cifre.size(), '0');
        } else {
            out += cifre.substr(0, interi);
            out += '.';
            out += cifre.substr(interi);
        }
    }
}

}  // namespace

void AccodaNumero(std::string& out, double x, bool spazioPerPositivi, bool zeroIniziale) {
    if (std::isnan(x)) {
        out += "n.d.";
        return;
    }
    bool negativo = x < 0;
    if (negativo)
        out += '-';
    else if (spazioPerPositivi)
        out += ' ';
    double m = std::fabs(x);
    if (m == 0.0)
        out += '0';
    else if (std::isinf(m))
        out += "inf";
    else
        AccodaModulo(out, m, zeroIniziale);
}

std::string TestoNumero(double x) {
    std::string testo;
    AccodaNumero(testo, x, true, false);
    return testo;
}

}  // namespace Modulo1
