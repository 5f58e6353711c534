// The texts of the athlete's condition (body build, work activity, class of
// the body-mass index), by name: each the number of its text in the
// [Strings] section of the language files.
#pragma once

#include "IdMessaggi.h"

#include <array>

namespace msg {

// ---- Body build, from inseam and torso ----
inline constexpr Id CostituzioneIgnota = "0001";  // "Inseam or torso not given"
inline constexpr Id GambeCorte = "0002";          // "Short legs for the torso"
inline constexpr Id GambeLunghe = "0003";         // "Long legs for the torso"
inline constexpr Id GambeInProporzione = "0004";  // "Legs in proportion to the torso"

// ---- Work activity ----
// Light, moderate, strong: in the order of the activity box's items.
inline constexpr std::array<Id, 3> Attivita{"0005", "0006", "0007"};

// ---- Class of the body-mass index ----
inline constexpr Id SottopesoGrave = "0011";   // "Severe underweight"
inline constexpr Id Sottopeso = "0012";        // "Underweight"
inline constexpr Id PesoNormale = "0013";      // "Normal"
inline constexpr Id PesoIdeale = "0014";       // "Ideal"
inline constexpr Id Sovrappeso = "0016";       // "Overweight"
inline constexpr Id ObesitaModerata = "0025";  // "Moderate obesity"
inline constexpr Id ObesitaGrave = "0026";     // "Severe obesity"

}  // namespace msg
