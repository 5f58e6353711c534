// The condition sheet: one keystroke in the weight box until every label
// shows its new text. The keystroke goes through the application as a typed
// key does; the measure rule, the recomputation and any nested run it starts
// are all inside the time. Alternate keystrokes add and remove a digit (one
// run), and add a comma and remove the full stop it becomes (a nested run).
// Also timed: opening the sheet on an athlete.
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaBench.h"
#include "Controlli.h"
#include "Globali.h"
#include "RegoleCampi.h"
#include "frmCondizione.h"
#include "modLanguageSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// An application folder with an archive of a few athletes, today fixed and
// Italian dates.
CartellaBench& Prova() {
    static CartellaBench c = [] {
        Calendario::ImpostaServizi({[] {
                                        return Calendario::Data{2024, 6, 1};
                                    },
                                    [](std::string_view t) {
                                        return LeggiDataRegionale(
                                            QLocale(QLocale::Italian, QLocale::Italy),
                                            QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
                                    }});
        return CartellaBench("condizione", 20, [](int i, const CartellaBench::Campo& campo) {
            campo("nome", "Atleta " + std::to_string(i));
            campo("datanascita", "15/03/1994");
            campo("sesso", "M");
            campo("TipoImpiego", "leggera");
            campo("pulsazioniriposo", "60");
            campo("cavallo", "85");
            campo("busto", "62");
            campo("altezza", "175");
            campo("peso", "70");
        });
    }();
    return c;
}

// keys[i % 2] is typed at the end of the weight box; after each keystroke
// the index label must show the text of that weight.
void Battute(benchmark::State& state, const std::array<Qt::Key, 2>& tasti, const std::array<QString, 2>& indici) {
    Prova();
    NomeAtletaCorrente = QStringLiteral("Atleta 7");
    frmCondizione scheda;
    scheda.resize(950, 520);
    scheda.show();
    QApplication::processEvents();
    QLineEdit* peso = Controllo<QLineEdit>(&scheda, "txtPeso");
    peso->setFocus();
    peso->end(false);
    std::size_t i = 0;
    for (auto _ : state) {
        QTest::keyClick(peso, tasti[i % 2]);
        if (Controllo<QLabel>(&scheda, "lblIMC")->text() != indici[i % 2]) {
            state.SkipWithError(qPrintable(
                QStringLiteral("weight %1, index %2").arg(peso->text(), Controllo<QLabel>(&scheda, "lblIMC")->text())));
            break;
        }
        ++i;
    }
    // The athlete's weight as it was, for the next repetition.
    peso->setText(QStringLiteral("70"));
    scheda.close();
}

// "70" -> "705" -> "70": one run of the recomputation per keystroke.
void BM_BattutaPeso(benchmark::State& state) {
    Battute(state, {Qt::Key_5, Qt::Key_Backspace}, {QStringLiteral("230.20"), QStringLiteral("22.86")});
}
BENCHMARK(BM_BattutaPeso)->Unit(benchmark::kMicrosecond);

// "70" -> "70," which the rule turns into "70." (a nested run) -> "70".
void BM_BattutaPesoVirgola(benchmark::State& state) {
    Battute(state, {Qt::Key_Comma, Qt::Key_Backspace}, {QStringLiteral("22.86"), QStringLiteral("22.86")});
}
BENCHMARK(BM_BattutaPesoVirgola)->Unit(benchmark::kMicrosecond);

void BM_ApriSchedaCondizione(benchmark::State& state) {
    Prova();
    ApriEChiudi<frmCondizione>(state, QStringLiteral("Atleta 19"));
}
BENCHMARK(BM_ApriSchedaCondizione)->Unit(benchmark::kMillisecond);

// The same sheet for athletes with 100 tests each: the latest test's measured
// maximum read as the athlete is shown. Last: its archive becomes the
// program's for the rest of the run.
void BM_ApriSchedaCondizioneCon100Test(benchmark::State& state) {
    static CartellaBench c(
        "condizione-test", 20,
        [](int i, const CartellaBench::Campo& campo) {
            campo("nome", "Atleta " + std::to_string(i));
            campo("datanascita", "15/03/1994");
            campo("sesso", "M");
            campo("pulsazioniriposo", "60");
            campo("peso", "70");
        },
        0, 100);
    {
        NomeAtletaCorrente = QStringLiteral("Atleta 0");
        frmCondizione primo;  // the archive and its key
        primo.show();
        QApplication::processEvents();
        if (primo.FcMaxMisurata() != 188) state.SkipWithError("no measured maximum");
    }
    ApriEChiudi<frmCondizione>(state, QStringLiteral("Atleta 19"));
}
BENCHMARK(BM_ApriSchedaCondizioneCon100Test)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return EseguiBenchmarkFinestre(argc, argv); }
