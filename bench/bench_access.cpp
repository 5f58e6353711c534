// Timings of the earlier program's archive: converting the generated Access
// 2000 file of 5,000 athletes (3 MB, with the password) into an archive of
// this program, reading it alone, and the peak memory of a program that
// converts it.
//
// The peak memory is measured in a fresh process (this program started again
// with --converti), so that nothing the benchmarks themselves hold counts.
#include "ArchivioAccess.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const fs::path Grande = fs::path(TOVARIN_FIXTURE_ACCESS) / "archivio-grande-pwd.dmg";

// A temporary folder of the run, removed at its end.
struct Cartella {
    fs::path percorso;
    Cartella() {
        std::string modello = (fs::temp_directory_path() / "tovarin-bench-access-XXXXXX").string();
        percorso = ::mkdtemp(modello.data());
    }
    ~Cartella() {
        std::error_code ec;
        fs::remove_all(percorso, ec);
    }
};

// The old file copied in as "tvp.dmg" and converted; false on any failure.
bool Converti(const fs::path& cartella) {
    const fs::path file = cartella / "tvp.dmg";
    std::error_code ec;
    for (const auto& voce : fs::directory_iterator(cartella, ec)) fs::remove(voce.path(), ec);
    fs::copy_file(Grande, file, ec);
    if (ec) return false;
    fs::path conservato;
    archivio::RiepilogoAccess fatto;
    return archivio::ConvertiAccess(file, "2026-12-10", conservato, fatto).ok() && fatto.lettura.ok() &&
           fatto.aggiunti == 5000;
}

void BM_ConvertiAccess5000(benchmark::State& stato) {
    Cartella cartella;
    for (auto _ : stato) {
        if (!Converti(cartella.percorso)) {
            stato.SkipWithError("conversion failed");
            return;
        }
    }
}
BENCHMARK(BM_ConvertiAccess5000)->Unit(benchmark::kMillisecond);

void BM_LeggiAccess5000(benchmark::State& stato) {
    for (auto _ : stato) {
        std::size_t n = 0;
        const auto esito = archivio::LeggiAccess(Grande, [&](archivio::Riga& r) {
            benchmark::DoNotOptimize(r);
            return ++n, true;
        });
        if (!esito || n != 5000) {
            stato.SkipWithError("read failed");
            return;
        }
    }
}
BENCHMARK(BM_LeggiAccess5000)->Unit(benchmark::kMillisecond);

// The high-water mark of a process that converts the file, in megabytes.
void BM_PiccoMemoriaConversione(benchmark::State& stato) {
    Cartella cartella;
    for (auto _ : stato) {
        std::string programma = fs::read_symlink("/proc/self/exe").string(), opzione = "--converti",
                    percorso = cartella.percorso.string();
        char* argomenti[] = {programma.data(), opzione.data(), percorso.data(), nullptr};
        pid_t figlio = 0;
        int esito = 0;
        if (posix_spawn(&figlio, programma.c_str(), nullptr, nullptr, argomenti, environ) != 0 ||
            ::waitpid(figlio, &esito, 0) != figlio || !WIFEXITED(esito) || WEXITSTATUS(esito) != 0) {
            stato.SkipWithError("conversion failed");
            return;
        }
    }
    rusage uso{};
    ::getrusage(RUSAGE_CHILDREN, &uso);
    stato.counters["picco_MB"] = static_cast<double>(uso.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PiccoMemoriaConversione)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--converti") return Converti(argv[2]) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
