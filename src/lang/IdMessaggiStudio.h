// The messages of the studio's details (name, address, logo) and their
// window, by name: each the number of its text in the [Strings] section of
// the language files.
#pragma once

#include "IdMessaggi.h"

namespace msg {

// ---- The studio's logo ----
inline constexpr Id LogoRifiutato = "0573";      // "The file %1 cannot be the studio's logo: %2."
inline constexpr Id LogoInesistente = "0574";    // "it does not exist"
inline constexpr Id LogoNonFile = "0575";        // "it is not a file but a folder or a device"
inline constexpr Id LogoIlleggibile = "0576";    // "it cannot be read (no permission)"
inline constexpr Id LogoTroppoGrande = "0577";   // "it is larger than 20 MB"
inline constexpr Id LogoFormatoIgnoto = "0578";  // not a picture in a format the program reads
inline constexpr Id SceltaLogo = "0581";         // "Choose the studio's logo"
inline constexpr Id FiltroImmagini = "0582";     // "Pictures (*.png *.jpg ...);;All files (*)"

// ---- The studio window and the About box ----
inline constexpr Id StudioNonSalvato = "0579";  // "The studio's details were not saved; the earlier ones stay."
inline constexpr Id NessunoStudio = "0583";     // no studio given: its name, address and logo can head the report

}  // namespace msg
