// Plain number texts of the condition results: no leading blank, a "0" before
// a lone decimal point ("0.5", "-0.5"), no trailing zeros ("70", "67.4").
#pragma once

#include "Modulo1.h"

#include <string>

namespace Modulo1 {

inline std::string TestoPiano(double x) {
    std::string t = TestoNumero(x);
    if (!t.empty() && t.front() == ' ') t.erase(0, 1);
    std::size_t cifra = !t.empty() && t.front() == '-' ? 1 : 0;
    if (cifra < t.size() && t[cifra] == '.') t.insert(cifra, "0");
    return t;
}

}  // namespace Modulo1
