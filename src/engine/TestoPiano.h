// How the engine writes numbers: TestoNumero's sign blank is optional, and so
// is the "0" before a lone decimal point. The condition results are written
// plain: no blank, a "0" before the point ("0.5"), no trailing zeros ("70").
#pragma once

#include <string>

namespace Modulo1 {

void AccodaNumero(std::string& out, double x, bool spazioPerPositivi, bool zeroIniziale);

inline std::string TestoPiano(double x) {
    std::string t;
    AccodaNumero(t, x, false, true);
    return t;
}

}  // namespace Modulo1
