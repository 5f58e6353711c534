// The application folder of a window benchmark: a temporary folder with the
// language files, Italian as the language, and an archive of athletes whose
// columns the benchmark fills. Removed when the program ends.
#pragma once

#include "Archivio.h"
#include "AtletaCorrente.h"
#include "modLanguageSupport.h"

#include "Globali.h"
#include "Risorse.h"

#include <QApplication>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

class CartellaBench {
public:
    using Campo = std::function<void(const char* colonna, std::string valore)>;

    CartellaBench(const std::string& nome, int atleti, const std::function<void(int, const Campo&)>& riempi) {
        namespace fs = std::filesystem;
        percorso = fs::temp_directory_path() / ("tovarin-bench-" + nome + "-" + std::to_string(::getpid()));
        fs::create_directories(percorso);
        for (const char* f : {"italian.lng", "english.lng"})
            fs::copy_file(fs::path(TOVARIN_ASSETS_DIR) / f, percorso / f, fs::copy_options::overwrite_existing);
        modLanguageSupport::CartellaApplicazione = percorso;
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = QString::fromStdString((percorso / "tvp.dmg").string());
        std::vector<archivio::Riga> righe(static_cast<std::size_t>(atleti));
        for (int i = 0; i < atleti; ++i) {
            archivio::Riga& r = righe[static_cast<std::size_t>(i)];
            riempi(i, [&r](const char* colonna, std::string valore) {
                r[*archivio::IndiceColonna(colonna)] = std::move(valore);
            });
        }
        archivio::Archivio a;
        if (!a.Apri(percorso / "tvp.dmg") || !a.AggiungiRighe(righe)) std::abort();
    }
    ~CartellaBench() {
        std::error_code ec;
        std::filesystem::remove_all(percorso, ec);
    }
    CartellaBench(const CartellaBench&) = delete;
    CartellaBench& operator=(const CartellaBench&) = delete;

    std::filesystem::path percorso;
};

// Opening a window on an athlete until it is shown, then closing it.
template <typename Finestra>
void ApriEChiudi(benchmark::State& state, const QString& atleta) {
    for (auto _ : state) {
        NomeAtletaCorrente = atleta;
        auto* finestra = new Finestra;
        finestra->show();
        QApplication::processEvents();
        finestra->close();
        delete finestra;
    }
}

// The main of a window benchmark: offscreen unless told otherwise.
inline int EseguiBenchmarkFinestre(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InizializzaRisorse();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
