// The values an athlete, a test or a bicycle can have: for each value typed in
// the tests window, the record dialog or on the command line, the range it
// can be in at all (outside it the value is refused) and the narrower range
// a coach or a fitter meets (outside it the program asks before taking it).
// One table, so that every window and the command line judge alike.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace Modulo1 {

enum class Grandezza {
    FcMax,          // maximum heart rate measured, bpm
    Lthr,           // heart rate at the lactate threshold, bpm
    Ftp,            // functional threshold power, W
    Peso,           // body weight on the day of a test, kg
    WattPerKg,      // FTP over the weight
    Stack,          // frame stack, mm
    Reach,          // frame reach, mm
    AngoloSterzo,   // head angle, degrees
    Cappellotto,    // headset cap, mm
    Spessori,       // spacers under the stem, mm
    Attacco,        // stem length, mm
    AngoloAttacco,  // stem angle, degrees (negative: pointing down)
    Morsetto,       // stem clamp height, mm
};
inline constexpr int NumeroGrandezze = 13;

struct Intervallo {
    double minimo, massimo;  // both included
};

struct Limiti {
    Intervallo possibile;  // outside: refused
    Intervallo usuale;     // outside, but possible: asked
};

const Limiti& LimitiDi(Grandezza g);

enum class Giudizio { Valido, Insolito, Impossibile };

// A value against its ranges; a value that is no finite number is impossible.
Giudizio Giudica(Grandezza g, double valore);

// One value found wrong: which, its value, what was wrong with it.
struct ValoreFuori {
    Grandezza grandezza;
    double valore;
    Giudizio giudizio;
    // The value it was compared with when it is wrong only beside another
    // (an LTHR above the HR max): that value's kind and value.
    std::optional<Grandezza> rispetto = std::nullopt;
    double altro = 0;
};

// The values of a test, each optional (nothing: not given). The first value
// refused, in the order HR max, LTHR, FTP, weight, LTHR against the HR max,
// W/kg; or, when none is refused, the first unusual one; nothing when all are
// usual. An LTHR above the HR max is refused, one above 97 % of it unusual;
// the W/kg is judged when both the FTP and the weight are given.
std::optional<ValoreFuori> GiudicaTest(std::optional<double> fcMax, std::optional<double> lthr,
                                       std::optional<double> ftp, std::optional<double> pesoKg);

// The values of a frame and cockpit, by Grandezza from Stack to Morsetto;
// nothing for a value not given. The first refused, else the first unusual.
std::optional<ValoreFuori> GiudicaTelaio(const std::array<std::optional<double>, 8>& valori);

}  // namespace Modulo1
