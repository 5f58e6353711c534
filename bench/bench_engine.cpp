// Timings of the engine: one fit recomputation, the fit's coordinates, the
// closest of every cockpit, one heart-rate computation with every result, the
// zones and watts per kilogram of one test, one message look-up on the shipped
// language file.
#include "CoordinateAssetto.h"
#include "Modulo1.h"
#include "ZoneTest.h"
#include "modLanguageSupport.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

void BM_RicalcoloAssetto(benchmark::State& state) {
    const std::array<std::string, 7> testi{"85", "62", "55", "50", "60", "42", ""};
    for (auto _ : state) {
        bool predefinita = false;
        auto m =
            Modulo1::LeggiMisure(testi[0], testi[1], testi[2], testi[3], testi[4], testi[5], testi[6], predefinita);
        std::array<std::string, 10> risultati{
            Modulo1::CalcolaTP(m),    Modulo1::CalcolaTO(m),   Modulo1::CalcolaPE(m), Modulo1::CalcolaAlfa(m),
            Modulo1::CalcolaPiega(m), Modulo1::CalcolaPipa(m), Modulo1::CalcolaHS(m), Modulo1::CalcolaDSM(m),
            Modulo1::CalcolaSM(m),    Modulo1::CalcolaR(m)};
        benchmark::DoNotOptimize(risultati);
    }
}
BENCHMARK(BM_RicalcoloAssetto);

// The first athlete of the fit tests, as the sheet writes his results.
void BM_CalcolaCoordinate(benchmark::State& state) {
    for (auto _ : state) {
        auto c = Modulo1::CalcolaCoordinate(" 69", " 74.4", " 4 - 4.5", " 48 - 50.3", " 5.3 - 5.9");
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_CalcolaCoordinate);

// All 891 cockpits against that athlete's handlebar.
void BM_AttaccoPiuVicino(benchmark::State& state) {
    const Modulo1::Telaio telaio{.stack = 530, .reach = 380, .angoloSterzo = 72.5};
    Modulo1::Punto bersaglio{445.8, 608.6};
    for (auto _ : state) {
        benchmark::DoNotOptimize(bersaglio);
        auto scelto = Modulo1::AttaccoPiuVicino(telaio, bersaglio);
        benchmark::DoNotOptimize(scelto);
    }
}
BENCHMARK(BM_AttaccoPiuVicino);

void BM_ZoneCardiache(benchmark::State& state) {
    Modulo1::ValoriCondizione valori;
    valori.EtaAnni = 30;
    valori.PulsazioniRiposo = 60;
    const std::string sesso = "M", peso = "70";
    for (auto _ : state) {
        double fcMax = 0;
        Modulo1::CinqueTesti cooper, karvonen, kcalCooper, kcalKarvonen;
        Modulo1::CalcolaZoneCardiache(valori, fcMax, 60, cooper, karvonen, sesso, 30, peso, kcalCooper, kcalKarvonen);
        benchmark::DoNotOptimize(kcalKarvonen);
    }
}
BENCHMARK(BM_ZoneCardiache);

// One athlete's test: threshold heart rate 160, FTP 250 W, 70 kg.
void BM_ZoneDaUnTest(benchmark::State& state) {
    double lthr = 160, ftp = 250, peso = 70;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lthr);
        benchmark::DoNotOptimize(ftp);
        benchmark::DoNotOptimize(peso);
        auto friel = Modulo1::ZoneFriel(lthr);
        auto coggan = Modulo1::ZoneCoggan(ftp);
        auto wattPerKg = Modulo1::WattPerKg(ftp, peso);
        benchmark::DoNotOptimize(friel);
        benchmark::DoNotOptimize(coggan);
        benchmark::DoNotOptimize(wattPerKg);
    }
}
BENCHMARK(BM_ZoneDaUnTest);

void BM_TestoLingua(benchmark::State& state) {
    modLanguageSupport::CartellaApplicazione = TOVARIN_ASSETS_DIR;
    modLanguageSupport::LinguaCorrente = "italian";
    for (auto _ : state) {
        std::string testo = modLanguageSupport::TestoLingua("0027");
        benchmark::DoNotOptimize(testo);
    }
}
BENCHMARK(BM_TestoLingua);

}  // namespace

BENCHMARK_MAIN();
