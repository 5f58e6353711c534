// Going from one athlete window to the next on an archive of 10,000 athletes,
// as a coach does with the bar: the card, the fit sheet, the condition sheet
// and round again, each on the last athlete. The first window opens the
// archive (and derives its key) before the timing starts; each switch then
// closes the open window, writing nothing, opens the next one and shows it.
// Again with ten recorded fittings for every athlete, the fitting history
// in the round.
#include "AtletaCorrente.h"
#include "CartellaBench.h"
#include "frmAtleti.h"
#include "frmCondizione.h"
#include "frmScheda.h"
#include "frmStorico.h"
#include "mdi.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>

#include <array>
#include <functional>

namespace {

constexpr int NumeroAtleti = 10000;

QString NomeAtleta(int i) { return QStringLiteral("Atleta %1").arg(i, 5, 10, QLatin1Char('0')); }

void RiempiAtleta(int i, const CartellaBench::Campo& campo) {
    campo("nome", NomeAtleta(i).toStdString());
    campo("datanascita", "12/05/1988");
    campo("sesso", i % 2 ? "M" : "F");
    campo("TipoImpiego", "moderata");
    campo("pulsazioniriposo", "52");
    campo("cavallo", "86.5");
    campo("busto", "62");
    campo("coscia", "58.5");
    campo("gamba", "55");
    campo("braccio", "64");
    campo("spalle", "42");
    campo("altezza", "181");
    campo("peso", "71.5");
    campo("sella", "27.5");
    campo("note", "Tacchette riposizionate a marzo.");
}

void BM_CambioFinestraSu10000(benchmark::State& state) {
    static CartellaBench cartella("cambio", NumeroAtleti, RiempiAtleta);
    NomeAtletaCorrente = NomeAtleta(NumeroAtleti - 1);
    RigaAtletaCorrente.reset();
    mdi principale;
    principale.ImpostaFinestre([](QWidget* g) { return new frmAtleti(g); }, [](QWidget* g) { return new frmScheda(g); },
                               [](QWidget* g) { return new frmCondizione(g); }, nullptr);
    principale.show();
    QPushButton* pulsanti[] = {principale.findChild<QPushButton*>(QStringLiteral("cmdAtleta")),
                               principale.findChild<QPushButton*>(QStringLiteral("cmdAssetto")),
                               principale.findChild<QPushButton*>(QStringLiteral("cmdCondizione"))};
    pulsanti[0]->click();  // the first window: the archive and its key
    QApplication::processEvents();
    int prossimo = 1;
    for (auto _ : state) {
        pulsanti[prossimo]->click();
        QApplication::processEvents();
        prossimo = (prossimo + 1) % 3;
    }
    const QWidget* figlio = principale.FiglioAttivo();
    if (!figlio || figlio->findChild<QWidget*>(QStringLiteral("txtNome")) == nullptr) state.SkipWithError("no window");
    principale.ChiudiFinestre();
}
BENCHMARK(BM_CambioFinestraSu10000)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_CambioFinestraSu10000Con10Assetti(benchmark::State& state) {
    static CartellaBench cartella("cambio-assetti", NumeroAtleti, RiempiAtleta, 10);
    NomeAtletaCorrente = NomeAtleta(NumeroAtleti - 1);
    RigaAtletaCorrente.reset();
    mdi principale;
    principale.ImpostaFinestre([](QWidget* g) { return new frmAtleti(g); }, [](QWidget* g) { return new frmScheda(g); },
                               [](QWidget* g) { return new frmCondizione(g); }, nullptr);
    principale.ImpostaStorico([](QWidget* g) { return new frmStorico(g); });
    principale.show();
    const std::array<std::function<void()>, 4> giro{
        [&] { principale.findChild<QPushButton*>(QStringLiteral("cmdAtleta"))->click(); },
        [&] { principale.findChild<QPushButton*>(QStringLiteral("cmdAssetto"))->click(); },
        [&] { principale.ApriStorico(); },
        [&] { principale.findChild<QPushButton*>(QStringLiteral("cmdCondizione"))->click(); }};
    giro[0]();  // the first window: the archive and its key
    QApplication::processEvents();
    std::size_t prossimo = 1;
    for (auto _ : state) {
        giro[prossimo]();
        QApplication::processEvents();
        prossimo = (prossimo + 1) % giro.size();
    }
    principale.ChiudiFinestre();
}
BENCHMARK(BM_CambioFinestraSu10000Con10Assetti)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

int main(int argc, char** argv) { return EseguiBenchmarkFinestre(argc, argv); }
