// The athlete card on an archive of 1,000 athletes: opening it on the last
// athlete (load, translation, activity list, closing with nothing to write),
// and stepping to the next athlete after an edit (the write of the edited row
// and the showing of the next one, with the checks of its boxes). The archive
// alone is timed too, to tell its share of the opening.
#include "AtletaCorrente.h"
#include "CartellaBench.h"
#include "Controlli.h"
#include "Globali.h"
#include "LegameArchivio.h"
#include "frmAtleti.h"
#include "modLanguageSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int NumeroAtleti = 1000;

std::string NomeAtleta(int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Atleta %04d", i);
    return buf;
}

// An application folder with the language files and a full archive.
CartellaBench& Prova() {
    static CartellaBench c("atleti", NumeroAtleti, [](int i, const CartellaBench::Campo& campo) {
        campo("nome", NomeAtleta(i));
        campo("datanascita", "12/05/1988");
        campo("indirizzo", "Via Roma 12, Treviso");
        campo("Email", "atleta@example.org");
        campo("sesso", i % 2 ? "M" : "F");
        campo("TipoImpiego", i % 3 ? "moderata" : "light");
        campo("pulsazioniriposo", "52");
        campo("cavallo", "86.5");
        campo("busto", "62");
        campo("coscia", "58,5");
        campo("gamba", "55");
        campo("braccio", "64");
        campo("spalle", "42");
        campo("altezza", "181");
        campo("peso", std::to_string(60 + i % 30));
        campo("sella", "27.5");
        campo("MarcaSella", "Fizik Arione");
        campo("note", "Tacchette riposizionate a marzo.\nProva di sella nuova a giugno.");
    });
    return c;
}

void BM_ApriSchedaAtleti(benchmark::State& state) {
    Prova();
    ApriEChiudi<frmAtleti>(state, QString::fromStdString(NomeAtleta(NumeroAtleti - 1)));
}
BENCHMARK(BM_ApriSchedaAtleti)->Unit(benchmark::kMillisecond);

// The share of the archive in the opening: the file opened with its key and
// the names listed.
void BM_SoloArchivio(benchmark::State& state) {
    const fs::path file = Prova().percorso / "tvp.dmg";
    for (auto _ : state) {
        archivio::Archivio a;
        std::vector<std::int64_t> id;
        std::vector<std::string> nomi;
        if (!a.Apri(file) || !a.ElencaRighe(id, nomi)) state.SkipWithError("archive");
        benchmark::DoNotOptimize(nomi.data());
    }
}
BENCHMARK(BM_SoloArchivio)->Unit(benchmark::kMillisecond);

void BM_AtletaSuccessivoDopoUnaModifica(benchmark::State& state) {
    Prova();
    NomeAtletaCorrente.clear();
    RigaAtletaCorrente.reset();
    frmAtleti scheda;
    scheda.show();
    QApplication::processEvents();
    for (auto _ : state) {
        Controllo<QPlainTextEdit>(&scheda, "txtNote")->appendPlainText(QStringLiteral("x"));
        if (!scheda.Legame()->MuoviSuccessivo() || scheda.Legame()->RigaNuova()) scheda.Legame()->MuoviPrimo();
    }
    scheda.close();
}
BENCHMARK(BM_AtletaSuccessivoDopoUnaModifica)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return EseguiBenchmarkFinestre(argc, argv); }
