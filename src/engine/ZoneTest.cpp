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
    bool sopra;    // the zone starts above it, not at it
};

// The published ranges; a value between two of them stays in the lower zone
// until it reaches the next one's start.
constexpr std::array<Soglia, 7> SoglieFriel{{{"Z1", 0, false},
                                             {"Z2", 81, false},
                                             {"Z3", 90, false},
                                             {"Z4", 94, false},
                                             {"Z5a", 100, false},
                                             {"Z5b", 103, false},
                                             {"Z5c", 106, true}}};
constexpr std::array<Soglia, 7> SoglieCoggan{{{"Z1", 0, false},
                                              {"Z2", 56, false},
                                              {"Z3", 76, false},
                                              {"Z4", 91, false},
                                              {"Z5", 106, false},
                                              {"Z6", 121, false},
                                              {"Z7", 150, true}}};

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

// The first whole number at (or, `sopra`, above) x. A start that is a whole
// number in decimals but lands a hair off it in binary is that whole number.
double PrimoIntero(double x, bool sopra) {
    const double vicino = std::round(x);
    if (std::fabs(x - vicino) <= std::fabs(x) * 1e-12) x = vicino;
    return sopra ? std::floor(x) + 1 : std::ceil(x);
}

std::vector<Zona> Tabella(double soglia, std::span<const Soglia> soglie) {
    std::vector<Zona> zone;
    if (!Positivo(soglia)) return zone;
    zone.reserve(soglie.size());
    for (const Soglia& s : soglie) {
        const double inizio = s.percento == 0 ? 0 : PrimoIntero(soglia * s.percento / 100, s.sopra);
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
