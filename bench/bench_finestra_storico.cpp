// The fitting history of an athlete with 200 recorded fittings, opened after
// the first window has opened the archive: until it is shown with the list,
// the newest fitting beside today's and its frame.
#include "AtletaCorrente.h"
#include "CartellaBench.h"
#include "frmStorico.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

void BM_AprireStoricoCon200Assetti(benchmark::State& state) {
    static CartellaBench cartella(
        "storico", 5,
        [](int i, const CartellaBench::Campo& campo) {
            campo("nome", "Atleta " + std::to_string(i));
            campo("cavallo", "85");
            campo("busto", "62");
            campo("coscia", "55");
            campo("gamba", "50");
            campo("braccio", "60");
            campo("spalle", "42");
        },
        200);
    {
        NomeAtletaCorrente = QStringLiteral("Atleta 0");
        frmStorico primo;  // the archive and its key
        primo.show();
        QApplication::processEvents();
        if (primo.Assetti().size() != 200) state.SkipWithError("not 200 fittings");
    }
    ApriEChiudi<frmStorico>(state, QStringLiteral("Atleta 3"));
}
BENCHMARK(BM_AprireStoricoCon200Assetti)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char** argv) { return EseguiBenchmarkFinestre(argc, argv); }
