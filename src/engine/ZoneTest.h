// Training zones from an athlete's own tests: Friel's seven heart-rate zones
// from the lactate-threshold heart rate, Coggan's seven power zones from the
// functional threshold power, the power per kilogram of body weight, and the
// texts that show them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Modulo1 {

// One zone in whole beats per minute or watts: from `inizio` to `fine`, both
// included; the last zone of a table has no end.
struct Zona {
    std::string nome;
    int inizio;
    std::optional<int> fine;
};

// Each zone starts at the first whole number at its published percentage of
// the threshold or above it; the top zone at the first whole number above
// its bound. A value between two published ranges (89.5 % between Friel's
// 81-89 % and 90-93 %) stays in the lower zone until it reaches the next
// zone's start. The first zone starts at 0, and a zone ends one below the
// next one's start. Empty when the threshold is not a finite positive number,
// and when it is so small that two zones would start at the same number (or
// so large that a start leaves the int range).

// "Z1" 0 %, "Z2" 81 %, "Z3" 90 %, "Z4" 94 %, "Z5a" 100 %, "Z5b" 103 %,
// "Z5c" above 106 % of the lactate-threshold heart rate.
std::vector<Zona> ZoneFriel(double lthr);

// "Z1" 0 %, "Z2" 56 %, "Z3" 76 %, "Z4" 91 %, "Z5" 106 %, "Z6" 121 %,
// "Z7" above 150 % of the functional threshold power.
std::vector<Zona> ZoneCoggan(double ftp);

// FTP over body weight, two decimals, exact halves to even (286 W on 80 kg:
// 3.58; 282 W: 3.52). Nothing when either is not a finite positive number or
// the quotient is no finite number.
std::optional<double> WattPerKg(double ftp, double pesoKg);

// Two decimals always, a full stop whatever the locale: "3.57", "4.00";
// "n.d." for no finite number.
std::string TestoWattPerKg(double wattPerKg);

// The zone's numbers, the same in every language: "140-189" for a bounded
// zone, "378+" for the last.
std::string TestoZona(const Zona& zona);

}  // namespace Modulo1
