// Deriving the key of an archive from the coach's passphrase, as every unlock
// does once: slow enough that guessing passphrases by the million is out of
// reach, quick enough that typing one is not a wait (between 0.1 s and 1 s).
#include "ChiavePersonale.h"

#include <benchmark/benchmark.h>

namespace {

void DerivaChiave(benchmark::State& stato) {
    const sistema::Segreto frase("la sella è alta 74,5 cm");
    const archivio::Sale sale = archivio::NuovoSale();
    for (auto _ : stato) {
        const archivio::Chiave chiave = archivio::Chiave::Deriva(frase, sale);
        benchmark::DoNotOptimize(&chiave);
    }
    stato.counters["rounds"] = archivio::IterazioniChiave;
}
BENCHMARK(DerivaChiave)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
