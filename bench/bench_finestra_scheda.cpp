// The fit sheet: one keystroke in the inseam box until all ten results show
// the texts of the new inseam. The keystroke goes through the application as
// a typed key does; the measure rule, the recomputation and the nested runs
// it starts are all inside the time. Alternate keystrokes add and remove a
// digit (one run each), or add a comma and remove the full stop it becomes
// (the comma's cleaning is a nested run). One variant also lets the sheet
// repaint before the keystroke counts as done. Also timed: opening the sheet
// on an athlete.
#include "Archivio.h"
#include "AtletaCorrente.h"
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
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// An application folder with the language files and an archive of a few
// athletes with every measure but the saddle length.
struct Cartella {
    fs::path percorso = fs::temp_directory_path() / ("tovarin-bench-scheda-" + std::to_string(::getpid()));
    Cartella() {
        fs::create_directories(percorso);
        for (const char* f : {"italian.lng", "english.lng"})
            fs::copy_file(fs::path(TOVARIN_ASSETS_DIR) / f, percorso / f, fs::copy_options::overwrite_existing);
        modLanguageSupport::CartellaApplicazione = percorso;
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = QString::fromStdString((percorso / "tvp.dmg").string());
        archivio::Archivio a;
        if (!a.Apri(percorso / "tvp.dmg")) std::abort();
        for (int i = 0; i < 20; ++i) {
            archivio::Riga r;
            auto campo = [&r](const char* colonna, std::string valore) {
                r[*archivio::IndiceColonna(colonna)] = std::move(valore);
            };
            campo("nome", "Atleta " + std::to_string(i));
            campo("cavallo", "85");
            campo("busto", "62");
            campo("coscia", "55");
            campo("gamba", "50");
            campo("braccio", "60");
            campo("spalle", "42");
            std::int64_t id = 0;
            if (!a.AggiungiRiga(r, id)) std::abort();
        }
    }
    ~Cartella() {
        std::error_code ec;
        fs::remove_all(percorso, ec);
    }
};

Cartella& Prova() {
    static Cartella c;
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
    QLineEdit* cavallo = scheda.ui.txtCavallo;
    cavallo->setFocus();
    cavallo->end(false);
    std::size_t i = 0;
    for (auto _ : state) {
        QTest::keyClick(cavallo, tasti[i % 2]);
        if (disegna) QApplication::processEvents();
        const Attesi& a = attesi[i % 2];
        if (scheda.ui.txtTP->text() != a.tp || scheda.ui.txtR->text() != a.r) {
            state.SkipWithError(qPrintable(QStringLiteral("inseam %1: TP %2, R %3")
                                               .arg(cavallo->text(), scheda.ui.txtTP->text(), scheda.ui.txtR->text())));
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
    for (auto _ : state) {
        NomeAtletaCorrente = QStringLiteral("Atleta 19");
        auto* scheda = new frmScheda;
        scheda->show();
        QApplication::processEvents();
        scheda->close();
        delete scheda;
    }
}
BENCHMARK(BM_ApriSchedaAssetto)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InizializzaRisorse();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
