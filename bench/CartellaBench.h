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
#include <sqlite3.h>

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

    // `assetti`, `test`: recorded fittings and tests for every athlete, each
    // holding every value.
    CartellaBench(const std::string& nome, int atleti, const std::function<void(int, const Campo&)>& riempi,
                  int assetti = 0, int test = 0) {
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
        a.Chiudi();
        if (assetti > 0) AggiungiAssetti(atleti, assetti);
        if (test > 0) AggiungiTest(atleti, test);
    }
    ~CartellaBench() {
        std::error_code ec;
        std::filesystem::remove_all(percorso, ec);
    }
    CartellaBench(const CartellaBench&) = delete;
    CartellaBench& operator=(const CartellaBench&) = delete;

    std::filesystem::path percorso;

private:
    // `perAtleta` rows for every athlete in one transaction, `lega` binding
    // the statement's values after the athlete's row id (the first): one at
    // a time, they would wait for the disk a hundred thousand times.
    void Inserisci(const std::string& sql, int atleti, int perAtleta,
                   const std::function<void(sqlite3_stmt*, int i)>& lega) {
        sqlite3* db = nullptr;
        const std::string file = (percorso / "tvp.dmg").string();
        if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) std::abort();
        const std::string apri = archivio::SqlChiave() + archivio::SqlFormatoCifratura();
        if (sqlite3_exec(db, (apri + "BEGIN;").c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) std::abort();
        for (int atleta = 1; atleta <= atleti; ++atleta)
            for (int i = 0; i < perAtleta; ++i) {
                sqlite3_bind_int(st, 1, atleta);
                lega(st, i);
                if (sqlite3_step(st) != SQLITE_DONE) std::abort();
                sqlite3_reset(st);
            }
        sqlite3_finalize(st);
        if (sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
        sqlite3_close(db);
    }

    static void Lega(sqlite3_stmt* st, int posto, const std::string& testo) {
        sqlite3_bind_text(st, posto, testo.c_str(), -1, SQLITE_TRANSIENT);
    }

    void AggiungiAssetti(int atleti, int perAtleta) {
        std::string sql = "INSERT INTO atleta_assetti (atleta, versione, data, bici, disciplina";
        std::string valori = "?, 1, ?, 'Canyon Aeroad', 'strada'";
        const auto colonne = [&](const auto& nomi) {
            for (const auto& n : nomi) {
                sql += ", \"" + std::string(n) + "\"";
                valori += ", '42.5'";
            }
        };
        colonne(archivio::ColonneMisure);
        colonne(archivio::ColonneRisultati);
        colonne(archivio::ColonnePropri);
        colonne(archivio::ColonneTelaio);
        sql += ", note) VALUES (" + valori + ", 'Sella alzata di 5 mm.')";
        Inserisci(sql, atleti, perAtleta, [](sqlite3_stmt* st, int i) {
            Lega(st, 2, std::to_string(2000 + i % 27) + "-0" + std::to_string(1 + i % 9) + "-15");
        });
    }

    void AggiungiTest(int atleti, int perAtleta) {
        Inserisci(
            "INSERT INTO atleta_test (atleta, versione, data, fcmax, lthr, ftp, peso, note) "
            "VALUES (?, 1, ?, '188', '165', ?, '70', 'Test al rullo.')",
            atleti, perAtleta, [](sqlite3_stmt* st, int i) {
                Lega(
                    st, 2,
                    std::to_string(2000 + i / 12) + "-" + (i % 12 < 9 ? "0" : "") + std::to_string(1 + i % 12) + "-15");
                Lega(st, 3, std::to_string(220 + i % 60));
            });
    }
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
