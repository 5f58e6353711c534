// Timings of the archive on generated archives: the search by name to the last
// of 100,000 athletes, opening an athlete window on the last of 10,000,
// exporting and importing 10,000 athletes as CSV, recording a fitting and
// reading an athlete's 200, reading an athlete's 100 tests, and the peak
// memory of a program with 100,000 athletes open.
//
// The archives are built once per run in a temporary folder. The memory is
// measured in a fresh process (this program started again with
// --picco-memoria), so that nothing the benchmarks themselves hold counts.
#include "Archivio.h"
#include "ArchivioCsv.h"
#include "AtletaCorrente.h"
#include "LegameArchivio.h"
#include "NavigatoreDati.h"

#include <benchmark/benchmark.h>

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string Numero(double x) {
    char buf[32];
    auto [fine, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 1);
    return std::string(buf, fine);
}

// A date of the athlete i, in a year from `da` on, as an Italian coach types it.
std::string Data(int i, int da) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", i % 28 + 1, i % 12 + 1, da + i % 50);
    return buf;
}

std::string NomeAtleta(int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Atleta %06d", i);
    return buf;
}

// An archive of n athletes with every column filled as a coach would.
fs::path ArchivioGenerato(int n) {
    static fs::path cartella = [] {
        fs::path p = fs::temp_directory_path() / ("tovarin-bench-" + std::to_string(::getpid()));
        fs::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("tovarin-bench-" + std::to_string(::getpid())), ec);
        });
        return p;
    }();
    const fs::path file = cartella / ("tvp-" + std::to_string(n) + ".dmg");
    if (fs::exists(file)) return file;
    archivio::Archivio a;
    if (auto e = a.Apri(file); !e) {
        std::fprintf(stderr, "cannot create %s: %s\n", file.c_str(), e.errore().dettaglio.c_str());
        std::exit(1);
    }
    std::vector<archivio::Riga> blocco;
    for (int i = 1; i <= n; ++i) {
        archivio::Riga r;
        r[0] = NomeAtleta(i);
        for (int c = 1; c < archivio::NumeroColonne; ++c) {
            const std::string_view col = archivio::Colonne[static_cast<std::size_t>(c)];
            if (archivio::ColonnaSiNo(c))
                r[c] = i % 2 ? "1" : "0";
            else if (col == "sesso")
                r[c] = i % 2 ? "M" : "F";
            else if (col == "TipoImpiego")
                r[c] = i % 2 ? "leggera" : "moderata";
            else if (col == "datanascita" || col == "Scadenza")
                r[c] = Data(i, col == "Scadenza" ? 2030 : 1950);
            else if (c >= 13 && c <= 27)
                r[c] = Numero(20.0 + (i * 7 + c * 13) % 700 / 10.0);
            else
                r[c] = std::string(col) + " " + std::to_string(i);
        }
        blocco.push_back(std::move(r));
        if (blocco.size() == 5000 || i == n) {
            if (auto e = a.AggiungiRighe(blocco); !e) {
                std::fprintf(stderr, "cannot fill %s: %s\n", file.c_str(), e.errore().dettaglio.c_str());
                std::exit(1);
            }
            blocco.clear();
        }
    }
    return file;
}

// An athlete window with every column bound, as the athlete card has them.
class Finestra : public QWidget {
public:
    Finestra() {
        Data1 = new NavigatoreDati(this);
        Data1->setGeometry(10, 10, 320, 24);
        txtNome = new QLineEdit(this);
        txtNome->setObjectName(QStringLiteral("txtNome"));
        QList<LegameColonna> legami;
        for (int c = 1; c < archivio::NumeroColonne; ++c) {
            const QString col = QString::fromLatin1(archivio::Colonne[static_cast<std::size_t>(c)]);
            QWidget* w;
            if (archivio::ColonnaSiNo(c)) {
                w = new QCheckBox(this);
            } else if (col == QLatin1String("sesso") || col == QLatin1String("TipoImpiego")) {
                auto* combo = new QComboBox(this);
                combo->setEditable(true);
                w = combo;
            } else if (col == QLatin1String("note")) {
                w = new QPlainTextEdit(this);
            } else {
                auto* box = new QLineEdit(this);
                // Measure boxes clean their text, as the windows' rule does.
                if (c >= 13 && c <= 27)
                    connect(box, &QLineEdit::textChanged, box,
                            [box] { box->setCursorPosition(static_cast<int>(box->text().size())); });
                w = box;
            }
            w->setGeometry(10 + (c % 3) * 200, 40 + (c / 3) * 28, 190, 24);
            legami.append({w, col});
        }
        legame = std::make_unique<LegameArchivio>(this, Data1, txtNome, legami);
    }
    NavigatoreDati* Data1;
    QLineEdit* txtNome;
    std::unique_ptr<LegameArchivio> legame;
};

void BM_TrovaAtletaUltimoDi100000(benchmark::State& state) {
    PercorsoArchivio = QString::fromStdString(ArchivioGenerato(100000).string());
    Finestra f;
    if (!f.legame->ApriArchivio()) state.SkipWithError("archive not opened");
    const QString ultimo = QString::fromStdString(NomeAtleta(100000));
    for (auto _ : state) {
        state.PauseTiming();
        f.legame->MuoviPrimo();
        state.ResumeTiming();
        if (!f.legame->TrovaAtleta(ultimo)) state.SkipWithError("not found");
    }
    f.legame->ChiudiArchivio();
}
BENCHMARK(BM_TrovaAtletaUltimoDi100000)->Unit(benchmark::kMillisecond);

// The load of an athlete window: the record set opened on the named athlete,
// the picker's list, the bound controls filled, the window shown.
void BM_ApriFinestraSullUltimoDi10000(benchmark::State& state) {
    PercorsoArchivio = QString::fromStdString(ArchivioGenerato(10000).string());
    const QString ultimo = QString::fromStdString(NomeAtleta(10000));
    for (auto _ : state) {
        auto f = std::make_unique<Finestra>();
        if (!f->legame->ApriArchivio(ultimo) || f->legame->Posizione() != 9999) state.SkipWithError("not opened");
        f->show();
        QApplication::processEvents();
        state.PauseTiming();
        f->legame->ChiudiArchivio();
        f.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ApriFinestraSullUltimoDi10000)->Unit(benchmark::kMillisecond);

// The user opens the picker's list of 100,000 names and closes it again.
void BM_ElencoSelettoreDi100000(benchmark::State& state) {
    PercorsoArchivio = QString::fromStdString(ArchivioGenerato(100000).string());
    Finestra f;
    if (!f.legame->ApriArchivio()) state.SkipWithError("archive not opened");
    f.show();
    QApplication::processEvents();
    QComboBox* picker = f.legame->DBCombo1();
    for (auto _ : state) {
        picker->showPopup();
        QApplication::processEvents();
        picker->hidePopup();
        QApplication::processEvents();
    }
    f.legame->ChiudiArchivio();
}
BENCHMARK(BM_ElencoSelettoreDi100000)->Unit(benchmark::kMillisecond);

// This program started again with the arguments: what it prints.
std::string Esegui(std::vector<std::string> argomenti) {
    const std::string programma = fs::read_symlink("/proc/self/exe").string();
    std::vector<char*> argv{const_cast<char*>(programma.c_str())};
    for (std::string& a : argomenti) argv.push_back(a.data());
    argv.push_back(nullptr);
    int tubo[2];
    if (::pipe(tubo) != 0) return {};
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_adddup2(&azioni, tubo[1], STDOUT_FILENO);
    pid_t figlio = 0;
    const int rc = posix_spawn(&figlio, programma.c_str(), &azioni, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&azioni);
    ::close(tubo[1]);
    if (rc != 0) {
        ::close(tubo[0]);
        return {};
    }
    std::string uscita;
    char buf[256];
    for (ssize_t n; (n = ::read(tubo[0], buf, sizeof buf)) > 0;) uscita.append(buf, static_cast<std::size_t>(n));
    ::close(tubo[0]);
    int stato = 0;
    ::waitpid(figlio, &stato, 0);
    return uscita;
}

// The same window without archive, then on the last of 100,000 with the
// picker's list open: peak resident memory of each process.
long PiccoMemoriaKb(const fs::path& file) {
    const std::string uscita = Esegui({"--picco-memoria", file.string()});
    long kb = -1;
    std::from_chars(uscita.data(), uscita.data() + uscita.size(), kb);
    return kb;
}

// The high-water mark of this process's own memory, in kilobytes (getrusage
// would also count the parent's, which this process was started from).
long PiccoDiQuestoProcesso() {
    std::FILE* stato = std::fopen("/proc/self/status", "r");
    if (!stato) return -1;
    char riga[256];
    long kb = -1;
    while (std::fgets(riga, sizeof riga, stato))
        if (std::sscanf(riga, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(stato);
    return kb;
}

void BM_PiccoMemoriaCon100000(benchmark::State& state) {
    const fs::path file = ArchivioGenerato(100000);
    long picco = 0, base = 0;
    for (auto _ : state) {
        base = PiccoMemoriaKb({});
        picco = PiccoMemoriaKb(file);
    }
    if (picco <= 0 || base <= 0) state.SkipWithError("measurement failed");
    state.counters["picco_MB"] = static_cast<double>(picco) / 1024.0;
    state.counters["senza_archivio_MB"] = static_cast<double>(base) / 1024.0;
}
BENCHMARK(BM_PiccoMemoriaCon100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The measured process: a window, with the archive when one is named, on its
// last athlete with the picker's list shown. Prints its peak in kilobytes.
int MisuraMemoria(int argc, char** argv) {
    QApplication app(argc, argv);
    Finestra f;
    f.show();
    if (argc > 2 && argv[2][0] != '\0') {
        PercorsoArchivio = QString::fromLocal8Bit(argv[2]);
        if (!f.legame->ApriArchivio()) return 1;
        if (!f.legame->TrovaAtleta(QString::fromStdString(NomeAtleta(100000)))) return 1;
        f.legame->DBCombo1()->showPopup();
    }
    QApplication::processEvents();
    f.legame->ChiudiArchivio();
    const long kb = PiccoDiQuestoProcesso();
    std::printf("%ld\n", kb);
    return kb > 0 ? 0 : 1;
}

// The measured import: the CSV file into a new archive, as `--import-csv`
// does. Prints its time in milliseconds and its peak memory in kilobytes.
int MisuraImportazione(const char* csv, const char* file) {
    archivio::Archivio a;
    if (!a.Apri(file)) return 1;
    const auto inizio = std::chrono::steady_clock::now();
    archivio::RiepilogoImportazione fatto;
    if (!archivio::ImportaCsv(a, csv, fatto) || !fatto.scritto) return 1;
    const std::chrono::duration<double, std::milli> durata = std::chrono::steady_clock::now() - inizio;
    a.Chiudi();
    std::printf("%.1f %ld\n", durata.count(), PiccoDiQuestoProcesso());
    return 0;
}

}  // namespace

// The whole archive of 10,000 athletes written to a CSV file (read, format,
// written whole).
void BM_EsportaCsv10000(benchmark::State& state) {
    archivio::Archivio a;
    if (!a.Apri(ArchivioGenerato(10000))) state.SkipWithError("archive");
    const fs::path csv = ArchivioGenerato(10000).parent_path() / "esportati.csv";
    for (auto _ : state) {
        std::size_t quanti = 0;
        if (!archivio::EsportaCsv(a, csv, archivio::FormatoCsv::PerDecimale(','), quanti) || quanti != 10000)
            state.SkipWithError("export");
    }
}
BENCHMARK(BM_EsportaCsv10000)->Unit(benchmark::kMillisecond);

// The CSV of the archive of n athletes, in the Italian form.
fs::path CsvGenerato(int n) {
    const fs::path csv = ArchivioGenerato(n).parent_path() / ("da-importare-" + std::to_string(n) + ".csv");
    if (fs::exists(csv)) return csv;
    archivio::Archivio a;
    std::size_t quanti = 0;
    if (!a.Apri(ArchivioGenerato(n)) || !archivio::EsportaCsv(a, csv, archivio::FormatoCsv::PerDecimale(','), quanti))
        std::exit(1);
    return csv;
}

// That file read, checked line by line and added to an empty archive in one
// transaction.
void BM_ImportaCsv10000(benchmark::State& state) {
    const fs::path csv = CsvGenerato(10000);
    int giro = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path vuoto = csv.parent_path() / ("importato-" + std::to_string(giro++) + ".dmg");
        archivio::Archivio a;
        if (!a.Apri(vuoto)) state.SkipWithError("archive");
        state.ResumeTiming();
        archivio::RiepilogoImportazione fatto;
        if (!archivio::ImportaCsv(a, csv, fatto) || !fatto.scritto || fatto.aggiunti != 10000) {
            state.SkipWithError("import");
            break;
        }
        state.PauseTiming();
        a.Chiudi();
        fs::remove(vuoto);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportaCsv10000)->Unit(benchmark::kMillisecond);

// Importing 200,000 athletes into an empty archive, in a fresh process that
// reports its own time and peak memory (a file of about 80 MB).
void BM_ImportaCsv200000(benchmark::State& state) {
    const fs::path csv = CsvGenerato(200000);
    long kb = 0;
    double ms = 0;
    for (auto _ : state) {
        const fs::path vuoto = csv.parent_path() / "importati-200000.dmg";
        fs::remove(vuoto);
        const std::string uscita = Esegui({"--importa", csv.string(), vuoto.string()});
        if (std::sscanf(uscita.c_str(), "%lf %ld", &ms, &kb) != 2) {
            state.SkipWithError("import failed");
            break;
        }
        state.SetIterationTime(ms / 1000.0);
        fs::remove(vuoto);
    }
    state.counters["picco_MB"] = static_cast<double>(kb) / 1024.0;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(csv)) / (1 << 20);
}
BENCHMARK(BM_ImportaCsv200000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// A copy of the archive of 2,000 athletes named `nome`, with the rows that
// `sql` inserts, in one transaction.
fs::path CopiaRiempita(const char* nome, const std::string& sql) {
    const fs::path f = ArchivioGenerato(2000).parent_path() / nome;
    fs::copy_file(ArchivioGenerato(2000), f, fs::copy_options::overwrite_existing);
    const std::string tutto = archivio::SqlChiave() + " BEGIN; " + sql + "; COMMIT;";
    sqlite3* db = nullptr;
    const bool fatto = sqlite3_open_v2(f.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                       sqlite3_exec(db, tutto.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!fatto) std::fprintf(stderr, "cannot fill %s: %s\n", f.c_str(), sqlite3_errmsg(db));
    sqlite3_close_v2(db);
    if (!fatto) std::exit(1);
    return f;
}

// 2,000 athletes with 10,000 fittings among the first 1,999 and 200 for the
// last, as an archive after years of a fitter's work; every column filled.
fs::path ArchivioConAssetti() {
    static const fs::path file = [] {
        std::string colonne = "atleta, versione, data, bici, disciplina",
                    valori =
                        "CASE WHEN x < 10000 THEN 1 + x % 1999 ELSE 2000 END, 1, "
                        "printf('%04d-%02d-%02d', 2000 + x % 26, 1 + x % 12, 1 + x % 28), 'bici ' || x % 3, "
                        "'strada'";
        auto aggiungi = [&](std::string_view c) {
            colonne += ", \"" + std::string(c) + "\"";
            valori += ", '" + std::string(c) + " ' || x";
        };
        for (auto c : archivio::ColonneMisure) aggiungi(c);
        for (auto c : archivio::ColonneRisultati) aggiungi(c);
        for (auto c : archivio::ColonnePropri) aggiungi(c);
        for (auto c : archivio::ColonneTelaio) aggiungi(c);
        aggiungi("note");
        return CopiaRiempita("tvp-assetti.dmg",
                             "INSERT INTO atleta_assetti (" + colonne +
                                 ") WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < 10199) "
                                 "SELECT " +
                                 valori + " FROM n");
    }();
    return file;
}

// One fitting recorded: a full transaction, synchronised to the disk.
void BM_RegistraAssetto(benchmark::State& state) {
    archivio::Archivio a;
    if (!a.Apri(ArchivioConAssetti())) state.SkipWithError("archive");
    archivio::Assetto x;
    x.atleta = 1000;
    x.data = "2026-03-14";
    x.bici = "Bici da crono";
    x.disciplina = "crono";
    for (std::size_t i = 0; i < x.misure.size(); ++i) x.misure.testi[i] = Numero(60.0 + static_cast<double>(i));
    for (std::size_t i = 0; i < x.risultati.size(); ++i) x.risultati.testi[i] = Numero(40.0 + static_cast<double>(i));
    for (std::size_t i = 0; i < x.propri.size(); ++i) x.propri.testi[i] = Numero(10.0 + static_cast<double>(i));
    for (std::size_t i = 0; i < x.telaio.size(); ++i) x.telaio.testi[i] = Numero(500.0 + static_cast<double>(i));
    x.note = "Sella alzata di 5 mm, attacco da 110.";
    for (auto _ : state) {
        std::int64_t id = 0;
        if (!a.RegistraAssetto(x, id)) state.SkipWithError("record");
    }
}
BENCHMARK(BM_RegistraAssetto)->Unit(benchmark::kMillisecond);

// The history of the athlete with 200 fittings, newest first.
void BM_LeggiAssettiDi200(benchmark::State& state) {
    archivio::Archivio a;
    if (!a.Apri(ArchivioConAssetti())) state.SkipWithError("archive");
    std::vector<archivio::Assetto> assetti;
    for (auto _ : state) {
        if (!a.LeggiAssetti(2000, assetti) || assetti.size() != 200) state.SkipWithError("read");
        benchmark::DoNotOptimize(assetti.data());
    }
}
BENCHMARK(BM_LeggiAssettiDi200)->Unit(benchmark::kMillisecond);

// 2,000 athletes with 6,000 tests among the first 1,999 (three a season) and
// 100 for the last, as years of a coach's work; every value filled.
fs::path ArchivioConTest() {
    static const fs::path file = CopiaRiempita(
        "tvp-test.dmg",
        "INSERT INTO atleta_test (atleta, versione, data, fcmax, lthr, ftp, peso, note) "
        "WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < 6099) "
        "SELECT CASE WHEN x < 6000 THEN 1 + x % 1999 ELSE 2000 END, 1, "
        "printf('%04d-%02d-%02d', 2000 + x % 26, 1 + x % 12, 1 + x % 28), 170 + x % 30, 150 + x % 25, "
        "200 + x % 200, printf('%.1f', 55 + x % 300 / 10.0), 'Test del ' || x || ': rampa da 25 W al minuto' FROM n");
    return file;
}

// The tests of the athlete with 100, newest first.
void BM_LeggiTestDi100(benchmark::State& state) {
    archivio::Archivio a;
    if (!a.Apri(ArchivioConTest())) state.SkipWithError("archive");
    std::vector<archivio::TestAtleta> test;
    for (auto _ : state) {
        if (!a.LeggiTest(2000, test) || test.size() != 100) state.SkipWithError("read");
        benchmark::DoNotOptimize(test.data());
    }
}
BENCHMARK(BM_LeggiTestDi100)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::string_view(argv[1]) == "--picco-memoria") return MisuraMemoria(argc, argv);
    if (argc > 3 && std::string_view(argv[1]) == "--importa") return MisuraImportazione(argv[2], argv[3]);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
