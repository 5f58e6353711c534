// Maximum heart rate, the five training zones by Cooper and by Karvonen, and
// the energy of a training at the bounds of each zone.
#include "Modulo1.h"
#include "TestoPiano.h"

#include <array>
#include <cmath>

namespace Modulo1 {

namespace {

constexpr std::array<double, 5> Quote{0.5, 0.6, 0.7, 0.8, 0.9};
using SeiLimiti = std::array<double, 6>;

// "low-high" for each zone; "n.d." for a zone whose bounds are no finite
// numbers (a weight or a resting rate of hundreds of digits).
void ScriviZone(const SeiLimiti& limiti, CinqueTesti& testi) {
    for (std::size_t i = 0; i < testi.size(); ++i) {
        std::string& t = testi[i];
        t.clear();
        if (!std::isfinite(limiti[i]) || !std::isfinite(limiti[i + 1])) {
            t = "n.d.";
            continue;
        }
        AccodaNumero(t, limiti[i], false, true);
        t += '-';
        AccodaNumero(t, limiti[i + 1], false, true);
    }
}

// Kilocalories of `minuti` minutes at heart rate fc (Keytel's equation, kJ/min).
double Energia(double fc, bool donna, double peso, double eta, double minuti) {
    double kj = donna ? -20.4022 + 0.4472 * fc - 0.1263 * peso + 0.074 * eta
                      : -55.0969 + 0.6309 * fc + 0.1988 * peso + 0.2017 * eta;
    return Arrotonda(kj * minuti / 4.184, 0);
}

SeiLimiti EnergieAiLimiti(const SeiLimiti& limiti, bool donna, double peso, double eta, double minuti) {
    SeiLimiti energie{};
    for (std::size_t k = 0; k < limiti.size(); ++k) energie[k] = Energia(limiti[k], donna, peso, eta, minuti);
    return energie;
}

}  // namespace

void CalcolaZoneCardiache(const ValoriCondizione& valori, double& fcMax, double minuti, CinqueTesti& cooper,
                          CinqueTesti& karvonen, const std::string& sesso, double eta, const std::string& peso,
                          CinqueTesti& kcalCooper, CinqueTesti& kcalKarvonen) {
    const bool donna = sesso == "F";
    const double pesoKg = ValoreTesto(peso.empty() ? std::string_view("0") : std::string_view(peso));

    // A measured maximum replaces the estimate, in both methods and their energies.
    const bool misurata = std::isfinite(valori.FcMaxMisurata) && valori.FcMaxMisurata > 0;
    fcMax = misurata ? valori.FcMaxMisurata : (donna ? 226 : 220) - valori.EtaAnni;

    SeiLimiti limitiCooper{};
    for (std::size_t k = 0; k < Quote.size(); ++k) limitiCooper[k] = Arrotonda(Quote[k] * fcMax, 0);
    limitiCooper[5] = fcMax;
    ScriviZone(limitiCooper, cooper);

    const bool conKarvonen = valori.PulsazioniRiposo > 0;
    SeiLimiti limitiKarvonen{};
    if (conKarvonen) {
        const double riserva = fcMax - valori.PulsazioniRiposo;
        for (std::size_t k = 0; k < Quote.size(); ++k)
            limitiKarvonen[k] = valori.PulsazioniRiposo + Arrotonda(Quote[k] * riserva, 0);
        limitiKarvonen[5] = valori.PulsazioniRiposo + Arrotonda(1.0 * riserva, 0);
        ScriviZone(limitiKarvonen, karvonen);
    }

    if (pesoKg > 0 && eta > 0 && minuti > 0) {
        ScriviZone(EnergieAiLimiti(limitiCooper, donna, pesoKg, eta, minuti), kcalCooper);
        if (conKarvonen) ScriviZone(EnergieAiLimiti(limitiKarvonen, donna, pesoKg, eta, minuti), kcalKarvonen);
    }
}

}  // namespace Modulo1
