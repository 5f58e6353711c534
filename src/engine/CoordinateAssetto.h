// Fit coordinates: where the saddle and the handlebar of a fit sit, in
// centimetres from the bottom-bracket axis (x forward, y up), read from the
// fit sheet's result texts or from the athlete's own set-up; the frame and
// cockpit that put the bars there, in millimetres and degrees; and the texts
// that show the coordinates and their changes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Modulo1 {

// The value of a result text: a single number (" 69"), the midpoint of a
// range (" 4 - 4.5", "-1 --.5"), or a measure as a coach types it ("69,5",
// blanks around). Nothing for "n.d.", an empty or unreadable text, or a value
// that is no finite number.
std::optional<double> CentroRisultato(std::string_view testo);

struct Punto {
    double x, y;
};

struct CoordinateAssetto {
    std::optional<Punto> sella;     // saddle top, on the seat-tube line
    std::optional<Punto> punta;     // saddle nose
    std::optional<Punto> manubrio;  // centre of the bar at the stem
};

// The three points from the HS, alfa (degrees), R, DSM and SM texts, each read
// by CentroRisultato; kept unrounded. A point is absent when a value it needs
// is absent or not finite, when HS or DSM is not positive, or, for the bar,
// when DSM is shorter than the height difference SM. R and SM may be zero or
// negative (nose ahead of the axis, bar above the saddle).
CoordinateAssetto CalcolaCoordinate(std::string_view hs, std::string_view alfa, std::string_view r,
                                    std::string_view dsm, std::string_view sm);

// A frame and its cockpit, millimetres and degrees.
struct Telaio {
    double stack = 0, reach = 0, angoloSterzo = 0, cappellotto = 10, spessori = 0, attacco = 0, angoloAttacco = 0,
           morsetto = 40;
};

// Stack and reach positive, head angle strictly between 0 and 180, cap,
// spacers, stem and clamp not negative, every field finite.
bool TelaioValido(const Telaio& t);

// The bar's centre at the stem, millimetres from the bottom-bracket axis.
Punto PosizioneManubrio(const Telaio& t);

struct AttaccoScelto {
    double spessori, attacco, angoloAttacco;
    Punto manubrio;
    double distanza;  // from the target, millimetres
};

// Distances closer than this are the same distance.
inline constexpr double TolleranzaDistanzaMm = 1e-9;

// True when a is to be chosen over b: the shorter distance; at the same
// distance fewer spacers, then the shorter stem, then the smaller angle
// (-17 before -12). A distance that is not a number is never chosen.
bool AttaccoPreferito(const AttaccoScelto& a, const AttaccoScelto& b);

// Of the stems 60 to 140 mm by 10, the angles -17, -12, -10, -8, -6, 0, 6, 8,
// 10, 12, 17 degrees and the spacers 0 to 40 mm by 5 on the frame t (its
// stack, reach, head angle, cap and clamp), the cockpit whose bar comes
// closest to the target (millimetres). With a target that is no finite point
// every distance is not a number and the first cockpit (no spacer, 60 mm,
// -17 degrees) is returned.
AttaccoScelto AttaccoPiuVicino(const Telaio& t, Punto bersaglioMm);

// One decimal, halves to even: "-18.6", "66.5", "60.0", never "-0.0";
// "n.d." for no finite number. The half is judged on the decimal value, the
// first 15 significant digits: a bar at 43.65 computed as 43.650000000000006
// is "43.6", as 43.75 is "43.8".
std::string TestoUnDecimale(double x);

// A change to one decimal with its sign, "+0.5", "-1.2", rounded as
// TestoUnDecimale; the empty text when it rounds to zero; "n.d." for no
// finite number.
std::string TestoDifferenza(double d);

}  // namespace Modulo1
