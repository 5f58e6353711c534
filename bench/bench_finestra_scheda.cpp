// The fit sheet: one keystroke in the inseam box until all ten results show
// the texts of the new inseam. The keystroke goes through the application as
// a typed key does; the measure rule, the recomputation and the nested runs
// it starts are all inside the time. Alternate keystrokes add and remove a
// digit (one run each), or add a comma and remove the full stop it becomes
// (the comma's cleaning is a nested run). One variant also lets the sheet
// repaint before the keystroke counts as done. Also timed: opening the sheet
// on an athlete.
#include "AtletaCorrente.h"
#include "CartellaBench.h"
#include "Controlli.h"
#include "Globali.h"
#include "frmScheda.h"
#include "modLanguageSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// An application folder with the language files and an archive of a few
// athletes with every measure but the saddle length.
CartellaBench& Prova() {
    static CartellaBench c("scheda", 20, [](int i, const CartellaBench::Campo& campo) {
        campo("nome", "Atleta " + std::to_string(i));
        campo("cavallo", "85");
        campo("busto", "62");
        campo("coscia", "55");
        campo("gamba", "50");
        campo("braccio", "60");
        campo("spalle", "42");
    });
    return c;
}

// The texts of TP and R, the first and the last result written.
struct Attesi {
    QString tp, r;
};

// tasti[i % 2] is typed at the end of the inseam box; after each keystroke
// TP and R must show the texts of that inseam.
void Battute(benchmark::State& state, const std::array<Qt::Key, 2>& tasti, const std::array<Attesi, 2>& attesi,
             bool disegna) {
    Prova();
    NomeAtletaCorrente = QStringLiteral("Atleta 7");
    frmScheda scheda;
    scheda.resize(950, 520);
    scheda.show();
    QApplication::processEvents();
    QLineEdit* cavallo = Controllo<QLineEdit>(&scheda, "txtCavallo");
    cavallo->setFocus();
    cavallo->end(false);
    std::size_t i = 0;
    for (auto _ : state) {
        QTest::keyClick(cavallo, tasti[i % 2]);
        if (disegna) QApplication::processEvents();
        const Attesi& a = attesi[i % 2];
        if (Controllo<QLineEdit>(&scheda, "txtTP")->text() != a.tp ||
            Controllo<QLineEdit>(&scheda, "txtR")->text() != a.r) {
            state.SkipWithError(qPrintable(QStringLiteral("inseam %1: TP %2, R %3")
                                               .arg(cavallo->text(), Controllo<QLineEdit>(&scheda, "txtTP")->text(),
                                                    Controllo<QLineEdit>(&scheda, "txtR")->text())));
            break;
        }
        ++i;
    }
    // The athlete's inseam as it was, for the next repetition.
    cavallo->setText(QStringLiteral("85"));
    scheda.close();
}

const Attesi Ottantacinque{QStringLiteral(" 55.2"), QStringLiteral(" 7.3 - 7.8")};

// "85" -> "8" -> "85": one run of the recomputation per keystroke.
void BM_BattutaCavallo(benchmark::State& state) {
    Battute(state, {Qt::Key_Backspace, Qt::Key_5},
            {Attesi{QStringLiteral(" 5.2"), QStringLiteral("-18.3 --17.8")}, Ottantacinque}, false);
}
BENCHMARK(BM_BattutaCavallo)->Unit(benchmark::kMicrosecond);

// "85" -> "85," which the rule turns into "85." (a nested run) -> "85".
void BM_BattutaCavalloVirgola(benchmark::State& state) {
    Battute(state, {Qt::Key_Comma, Qt::Key_Backspace}, {Ottantacinque, Ottantacinque}, false);
}
BENCHMARK(BM_BattutaCavalloVirgola)->Unit(benchmark::kMicrosecond);

// As BM_BattutaCavalloVirgola, and the sheet repainted.
void BM_BattutaCavalloVirgolaEDisegno(benchmark::State& state) {
    Battute(state, {Qt::Key_Comma, Qt::Key_Backspace}, {Ottantacinque, Ottantacinque}, true);
}
BENCHMARK(BM_BattutaCavalloVirgolaEDisegno)->Unit(benchmark::kMicrosecond);

void BM_ApriSchedaAssetto(benchmark::State& state) {
    Prova();
    ApriEChiudi<frmScheda>(state, QStringLiteral("Atleta 19"));
}
BENCHMARK(BM_ApriSchedaAssetto)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return EseguiBenchmarkFinestre(argc, argv); }
