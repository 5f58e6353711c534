// Training zones from an athlete's tests: Friel's heart-rate zones, Coggan's
// power zones, watts per kilogram and their display texts.
#include "ZoneTest.h"
#include "Modulo1.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <span>

namespace Modulo1 {

namespace {

struct Soglia {
    const char* nome;
    int percento;  // of the threshold, where the zone starts
};

constexpr std::array<Soglia, 7> SoglieFriel{
    {{"Z1", 0}, {"Z2", 81}, {"Z3", 90}, {"Z4", 94}, {"Z5a", 100}, {"Z5b", 103}, {"Z5c", 107}}};
constexpr std::array<Soglia, 7> SoglieCoggan{
    {{"Z1", 0}, {"Z2", 56}, {"Z3", 76}, {"Z4", 91}, {"Z5", 106}, {"Z6", 121}, {"Z7", 151}}};

bool Positivo(double x) { return std::isfinite(x) && x > 0; }

// x rounded to a whole number, exact halves to the even neighbour. Below a
// billion, a value within a millionth of a millionth of a half (relative) is
// that half: 70.4 kg has no exact binary value, yet 308 W over it is exactly
// 437.5 hundredths. Beyond, that margin would swallow whole units.
double Intero(double x) {
    double meta = std::floor(x) + 0.5;
    if (std::fabs(x) < 1e9 && std::fabs(x - meta) <= std::fabs(x) * 1e-12) x = meta;
    return Arrotonda(x, 0);
}

std::vector<Zona> Tabella(double soglia, std::span<const Soglia> soglie) {
    std::vector<Zona> zone;
    if (!Positivo(soglia)) return zone;
    zone.reserve(soglie.size());
    for (const Soglia& s : soglie) {
        // The product first: a whole threshold times a whole percentage is
        // exact, so a start of exactly x.5 stays a half.
        double inizio = Intero(soglia * s.percento / 100);
        if (!(inizio <= std::numeric_limits<int>::max())) return {};
        int i = static_cast<int>(inizio);
        if (!zone.empty()) {
            if (i <= zone.back().inizio) return {};  // the zone before would hold no whole value
            zone.back().fine = i - 1;
        }
        zone.push_back({s.nome, i, std::nullopt});
    }
    return zone;
}

void AccodaIntero(std::string& out, int n) {
    char buffer[16];
    auto [fine, errore] = std::to_chars(buffer, buffer + sizeof buffer, n);
    (void)errore;
    out.append(buffer, fine);
}

}  // namespace

std::vector<Zona> ZoneFriel(double lthr) { return Tabella(lthr, SoglieFriel); }

std::vector<Zona> ZoneCoggan(double ftp) { return Tabella(ftp, SoglieCoggan); }

std::optional<double> WattPerKg(double ftp, double pesoKg) {
    if (!Positivo(ftp) || !Positivo(pesoKg)) return std::nullopt;
    double centesimi = ftp * 100 / pesoKg;  // one division: an exact half stays a half
    if (!std::isfinite(centesimi)) return std::nullopt;
    return Intero(centesimi) / 100;
}

std::string TestoWattPerKg(double wattPerKg) {
    if (!std::isfinite(wattPerKg)) return "n.d.";
    double centesimi = wattPerKg * 100;
    double r = std::isfinite(centesimi) ? Intero(centesimi) / 100 : wattPerKg;
    if (r == 0) r = 0;  // no "-0.00"
    char buffer[400];
    auto [fine, errore] = std::to_chars(buffer, buffer + sizeof buffer, r, std::chars_format::fixed, 2);
    if (errore != std::errc()) return "n.d.";
    return std::string(buffer, fine);
}

std::string TestoZona(const Zona& zona) {
    std::string testo;
    AccodaIntero(testo, zona.inizio);
    if (zona.fine) {
        testo += '-';
        AccodaIntero(testo, *zona.fine);
    } else {
        testo += '+';
    }
    return testo;
}

}  // namespace Modulo1
