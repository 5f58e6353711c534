#include "Archivio.h"

#include "Calendario.h"
#include "ChiavePersonale.h"
#include "FileSistema.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <type_traits>
#include <utility>

namespace fs = std::filesystem;

namespace archivio {

namespace {

std::string Virgolette(std::string_view nome) {
    std::string s;
    s.reserve(nome.size() + 2);
    s += '"';
    s += nome;
    s += '"';
    return s;
}

std::string ElencoColonne() {
    std::string s;
    for (std::size_t i = 0; i < Colonne.size(); ++i) {
        if (i) s += ", ";
        s += Virgolette(Colonne[i]);
    }
    return s;
}

std::string SqlCreaTabella() {
    std::string s = "CREATE TABLE atleta (";
    for (std::size_t i = 0; i < Colonne.size(); ++i) {
        if (i) s += ", ";
        s += Virgolette(Colonne[i]);
        s += ColonnaSiNo(static_cast<int>(i)) ? " INTEGER NOT NULL DEFAULT 0" : " TEXT";
    }
    s += ")";
    return s;
}

std::string SqlInserisci() {
    std::string s = "INSERT INTO atleta (" + ElencoColonne() + ") VALUES (";
    for (std::size_t i = 0; i < Colonne.size(); ++i) s += i ? ", ?" : "?";
    s += ")";
    return s;
}

std::string SqlLeggi() { return "SELECT " + ElencoColonne() + " FROM atleta WHERE rowid = ?"; }

// The fields of a fitting from `data` on, in the order of its table's texts.
template <typename A>
requires std::is_same_v<std::remove_const_t<A>, Assetto>
auto Campi(A& a) {
    constexpr std::size_t numero =
        3 + ColonneMisure.size() + ColonneRisultati.size() + ColonnePropri.size() + ColonneTelaio.size() + 1;
    std::array<decltype(&a.note), numero> p{};
    std::size_t k = 0;
    for (auto* campo : {&a.data, &a.bici, &a.disciplina}) p[k++] = campo;
    for (auto& v : a.misure) p[k++] = &v;
    for (auto& v : a.risultati) p[k++] = &v;
    for (auto& v : a.propri) p[k++] = &v;
    for (auto& v : a.telaio) p[k++] = &v;
    p[k++] = &a.note;
    return p;
}

// The fields of a test from `data` on, in the order of its table's texts.
template <typename T>
requires std::is_same_v<std::remove_const_t<T>, TestAtleta>
auto Campi(T& t) { return std::array{&t.data, &t.fcmax, &t.lthr, &t.ftp, &t.peso, &t.note}; }
constexpr std::array<std::string_view, 6> TestiTest{"data", "fcmax", "lthr", "ftp", "peso", "note"};
static_assert(std::tuple_size_v<decltype(Campi(std::declval<TestAtleta&>()))> == TestiTest.size());

// The columns every table of the athletes' records begins with.
constexpr std::array<std::string_view, 3> ColonneNumeri{"id", "atleta", "versione"};

}  // namespace

// One table of the athletes' records: `id` (the row id), `atleta` (the
// athlete's row id), `versione` (the format of the row), then its texts, the
// first of them the date its rows are ordered by; and the statements that
// work on it, made once.
struct DescrizioneTabella {
    std::string_view nome;
    std::vector<std::string_view> testi;
    std::int64_t versione = 1;  // the format this version writes
    Motivo piuRecente{};        // why a row of a later format is not changed

    std::string crea;        // the table and its index, each made only when missing
    std::string registra;    // a row, inserted only when its athlete is in `atleta`
    std::string leggi;       // an athlete's rows, newest first
    std::string conta;       // how many rows an athlete has
    std::string modifica;    // the texts of the row `id`
    std::string formato;     // the format and the athlete of the row `id`
    std::string elimina;     // the row `id`
    std::string dellAtleta;  // every row of an athlete
    std::string orfani;      // the rows that name no athlete a new row could not take
    std::string colonne;     // PRAGMA table_info
    std::string indici;      // PRAGMA index_list

    DescrizioneTabella(std::string_view n, std::vector<std::string_view> t, std::int64_t v, Motivo recente)
        : nome(n), testi(std::move(t)), versione(v), piuRecente(recente) {
        const std::string tabella(nome);
        std::string elenco, segnaposti, assegna;
        for (std::size_t i = 0; i < testi.size(); ++i) {
            const std::string c = Virgolette(testi[i]), posto = "?" + std::to_string(i + 3);
            crea += ", " + c + " TEXT";
            elenco += ", " + c;
            segnaposti += ", " + posto;
            assegna += (i ? ", " : "") + c + " = ?" + std::to_string(i + 1);
        }
        crea = "CREATE TABLE IF NOT EXISTS " + tabella +
               " (id INTEGER PRIMARY KEY, atleta INTEGER NOT NULL, versione INTEGER NOT NULL" + crea +
               "); CREATE INDEX IF NOT EXISTS " + tabella + "_atleta ON " + tabella + " (atleta);";
        registra = "INSERT INTO " + tabella + " (atleta, versione" + elenco + ") SELECT ?1, ?2" + segnaposti +
                   " WHERE EXISTS (SELECT 1 FROM atleta WHERE rowid = ?1)";
        // Named columns, never "*": a table of a later version may hold more,
        // in another order.
        leggi = "SELECT id, atleta, versione" + elenco + " FROM " + tabella + " WHERE atleta = ? ORDER BY " +
                Virgolette(testi.front()) + " DESC, id DESC";
        conta = "SELECT count(*) FROM " + tabella + " WHERE atleta = ?";
        modifica = "UPDATE " + tabella + " SET " + assegna + " WHERE id = ?" + std::to_string(testi.size() + 1);
        formato = "SELECT versione, atleta FROM " + tabella + " WHERE id = ?";
        elimina = "DELETE FROM " + tabella + " WHERE id = ?";
        dellAtleta = "DELETE FROM " + tabella + " WHERE atleta = ?";
        // SQLite gives a new row the largest row id plus one, 1 in an empty
        // table.
        orfani = "DELETE FROM " + tabella + " WHERE atleta > coalesce((SELECT max(rowid) FROM atleta), 0)";
        colonne = "PRAGMA table_info(" + Virgolette(nome) + ")";
        indici = "PRAGMA index_list(" + Virgolette(nome) + ")";
    }
};

namespace {

const DescrizioneTabella& TabellaDegliAssetti() {
    static const DescrizioneTabella t = [] {
        std::vector<std::string_view> testi{"data", "bici", "disciplina"};
        testi.insert(testi.end(), ColonneMisure.begin(), ColonneMisure.end());
        testi.insert(testi.end(), ColonneRisultati.begin(), ColonneRisultati.end());
        testi.insert(testi.end(), ColonnePropri.begin(), ColonnePropri.end());
        testi.insert(testi.end(), ColonneTelaio.begin(), ColonneTelaio.end());
        testi.push_back("note");
        return DescrizioneTabella(TabellaAssetti, std::move(testi), VersioneAssetti, Motivo::AssettoPiuRecente);
    }();
    return t;
}

const DescrizioneTabella& TabellaDeiTest() {
    static const DescrizioneTabella t(TabellaTest, {TestiTest.begin(), TestiTest.end()}, VersioneTest,
                                      Motivo::TestPiuRecente);
    return t;
}

// Every table of TabelleDegliAtleti, in that order.
const std::array<const DescrizioneTabella*, TabelleDegliAtleti.size()>& TabelleProprie() {
    static const std::array<const DescrizioneTabella*, TabelleDegliAtleti.size()> tabelle{&TabellaDegliAssetti(),
                                                                                          &TabellaDeiTest()};
    return tabelle;
}

// A date as yyyy-mm-dd, or none.
Esito ControllaData(const std::string& data) {
    if (data.empty()) return {};
    const auto giorno = Calendario::LeggiDataIso(data);
    if (!giorno || Calendario::TestoIso(*giorno) != data)
        return Errore{.motivo = Motivo::Altro, .dettaglio = "not a date as yyyy-mm-dd: " + data};
    return {};
}

// The motive behind a system error number.
Motivo MotivoDiErrno(int numero, Motivo altrimenti) {
    switch (numero) {
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Motivo::DiscoPieno;
    case EROFS: return Motivo::SolaLettura;
    case EACCES:
    case EPERM: return Motivo::AccessoNegato;
    case ENOENT:
    case ENOTDIR: return Motivo::Inesistente;
    case EISDIR: return Motivo::NonUnFile;
    default: return altrimenti;
    }
}

// A text, the empty one as no value.
void LegaTesto(sqlite3_stmt* st, int posizione, const std::string& valore) {
    if (valore.empty())
        sqlite3_bind_null(st, posizione);
    else
        sqlite3_bind_text(st, posizione, valore.data(), static_cast<int>(valore.size()), SQLITE_TRANSIENT);
}

void Lega(sqlite3_stmt* st, int posizione, int colonna, const std::string& valore) {
    if (ColonnaSiNo(colonna))
        sqlite3_bind_int(st, posizione, valore == "1" ? 1 : 0);
    else
        LegaTesto(st, posizione, valore);
}

std::string TestoColonna(sqlite3_stmt* st, int i) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    if (!p) return {};
    return std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(st, i)));
}

// Runs statements that return no rows.
int Esegui(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

// Prepares the one statement in `sql`, read to its end.
int PreparaIstruzione(sqlite3* db, const char* sql, sqlite3_stmt** st) {
    return sqlite3_prepare_v2(db, sql, -1, st, nullptr);
}

// Builds a new, empty archive under a temporary name next to `file` and moves
// it into place. An existing file of that name is never replaced.
Esito CreaArchivio(const fs::path& file) {
    sistema::ErroreFile errore;
    const auto creato = sistema::CreaFileAccanto(file, errore);  // owner-only
    if (!creato) return ErroreDiSistema(errore.numero, "cannot create a file beside " + errore.dettaglio);
    const fs::path provvisorio = *creato;
    auto scarta = [&provvisorio] {
        std::error_code ec;
        fs::remove(provvisorio, ec);
        fs::remove(provvisorio.string() + "-journal", ec);
    };

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(sistema::NomeStretto(provvisorio).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) rc = Chiave().Applica(db);
    if (rc == SQLITE_OK) {
        std::string sql = "BEGIN; " + SqlCreaTabella() + ";";
        for (const DescrizioneTabella* t : TabelleProprie()) sql += " " + t->crea;
        rc = Esegui(db, (sql + " COMMIT;").c_str());
    }
    if (rc != SQLITE_OK) {
        Errore err;
        err.codiceSqlite = db ? sqlite3_extended_errcode(db) : rc;
        err.errnoSistema = db ? sqlite3_system_errno(db) : 0;
        err.motivo = MotivoDiErrno(err.errnoSistema, Motivo::ErroreDisco);
        if ((err.codiceSqlite & 0xff) == SQLITE_FULL) err.motivo = Motivo::DiscoPieno;
        err.dettaglio = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        scarta();
        return err;
    }
    sqlite3_close_v2(db);

    if (auto e = sistema::SpostaSenzaSostituire(provvisorio, file)) {
        scarta();
        // Another program created it meanwhile: theirs is kept.
        if (e->numero == EEXIST) return {};
        return ErroreDiSistema(e->numero, "cannot create " + e->dettaglio);
    }
    return {};
}

// True when the file looks like an encrypted database: a whole number of
// pages of the archive's size, and not a file whose first bytes name its
// format (a plain SQLite file, the earlier program's Access file).
bool SembraCifrato(const fs::path& file) {
    std::error_code ec;
    const auto lunghezza = fs::file_size(file, ec);
    if (ec || lunghezza < 1024 || lunghezza % 1024 != 0) return false;
    Errore errore;
    const auto sale = SaleDelFile(file, errore);
    if (!sale) return false;
    static constexpr std::string_view Intestazioni[] = {
        {"SQLite format 3\0", 16}, {"\0\1\0\0Standard Jet", 16}, {"\0\1\0\0Standard ACE", 16}};
    for (std::string_view intestazione : Intestazioni)
        if (std::memcmp(sale->data(), intestazione.data(), intestazione.size()) == 0) return false;
    return true;
}

}  // namespace

std::string SqlChiave(std::string_view chiave) {
    return "PRAGMA key = '" + std::string(chiave) + "'; " + SqlFormatoCifratura("main");
}

std::string SqlFormatoCifratura(std::string_view schema) {
    const std::string s = "PRAGMA " + std::string(schema) + ".";
    // SQLCipher 4 first: its compatibility setting 3 sets every value below,
    // which are then given one by one for SQLCipher 3.
    return s + "cipher_compatibility = 3; " + s + "cipher_page_size = 1024; " + s + "kdf_iter = 64000; " + s +
           "cipher_use_hmac = ON; " + s + "cipher_hmac_algorithm = HMAC_SHA1; " + s +
           "cipher_kdf_algorithm = PBKDF2_HMAC_SHA1;";
}

std::optional<int> IndiceColonna(std::string_view nome) {
    for (std::size_t i = 0; i < Colonne.size(); ++i)
        if (Colonne[i] == nome) return static_cast<int>(i);
    return std::nullopt;
}

Errore ConCartella(Errore errore, const fs::path& file) {
    std::error_code ec;
    const fs::path cartella = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    if (errore.motivo == Motivo::Inesistente && fs::is_directory(cartella, ec)) errore.motivo = Motivo::FileMancante;
    return errore;
}

Errore ErroreDiSistema(int numeroErrore, std::string dettaglio) {
    Errore e;
    e.motivo = MotivoDiErrno(numeroErrore, Motivo::ErroreDisco);
    e.errnoSistema = numeroErrore;
    e.dettaglio = std::move(dettaglio);
    return e;
}

Archivio::Archivio() = default;
Archivio::~Archivio() { Chiudi(); }

Archivio::Archivio(Archivio&& altro) noexcept { *this = std::move(altro); }

Archivio& Archivio::operator=(Archivio&& altro) noexcept {
    if (this != &altro) {
        Chiudi();
        db_ = std::exchange(altro.db_, nullptr);
        file_ = std::move(altro.file_);
        creato_ = altro.creato_;
        soloLettura_ = altro.soloLettura_;
        scritture_ = altro.scritture_;
        apertura_ = altro.apertura_;
        stmtLeggi_ = std::exchange(altro.stmtLeggi_, nullptr);
        stmtElenca_ = std::exchange(altro.stmtElenca_, nullptr);
        stmtInserisci_ = std::exchange(altro.stmtInserisci_, nullptr);
        chiave_ = std::move(altro.chiave_);
    }
    return *this;
}

void Archivio::Chiudi() {
    for (sqlite3_stmt** st : {&stmtLeggi_, &stmtElenca_, &stmtInserisci_}) {
        sqlite3_finalize(*st);
        *st = nullptr;
    }
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

const Chiave& Archivio::chiave() const {
    static const Chiave fissa;
    return chiave_ ? *chiave_ : fissa;
}

bool Archivio::protetto() const { return db_ && chiave().personale(); }

void Archivio::ScegliChiave(const fs::path& file, const Chiave* chiave) {
    if (chiave) {
        chiave_ = std::make_unique<Chiave>(*chiave);
    } else if (auto ricordata = ChiaveRicordata(file)) {
        chiave_ = std::make_unique<Chiave>(std::move(*ricordata));
    } else {
        chiave_.reset();
    }
}

bool Archivio::solaLettura() const { return db_ && sqlite3_db_readonly(db_, "main") == 1; }

Errore Archivio::ErroreDa(int codice) const {
    Errore e;
    e.codiceSqlite = db_ ? sqlite3_extended_errcode(db_) : codice;
    if (e.codiceSqlite == 0) e.codiceSqlite = codice;
    e.errnoSistema = db_ ? sqlite3_system_errno(db_) : 0;
    e.dettaglio = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(codice);
    switch (e.codiceSqlite & 0xff) {
    case SQLITE_NOTADB: e.motivo = Motivo::NonArchivio; break;
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA: e.motivo = Motivo::Danneggiato; break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: e.motivo = Motivo::InUso; break;
    case SQLITE_READONLY: e.motivo = Motivo::SolaLettura; break;
    case SQLITE_FULL: e.motivo = Motivo::DiscoPieno; break;
    case SQLITE_PERM:
    case SQLITE_AUTH: e.motivo = Motivo::AccessoNegato; break;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR: e.motivo = MotivoDiErrno(e.errnoSistema, Motivo::ErroreDisco); break;
    default: e.motivo = Motivo::Altro; break;
    }
    return e;
}

Esito Archivio::Apri(const fs::path& file) {
    Chiudi();
    creato_ = false;
    soloLettura_ = false;
    file_ = file;
    std::error_code ec;
    const auto stato = fs::status(file, ec);
    if (!fs::exists(stato)) {
        if (ec && ec.value() != ENOENT) return ErroreDiSistema(ec.value(), file.string() + ": " + ec.message());
        if (Esito esito = CreaArchivio(file); !esito) return esito;
        creato_ = true;
        chiave_.reset();
        return ApriEsistente(file);
    }
    ScegliChiave(file, nullptr);
    Esito esito = ApriEsistente(file);
    // A key remembered for a file that no longer has a passphrase (removed
    // by another run of the program): the fixed key opens it.
    if (!esito && chiave_ && esito.errore().motivo == Motivo::PassphraseErrata) {
        chiave_.reset();
        if (Esito fissa = ApriEsistente(file); fissa) {
            DimenticaChiave(file);
            return fissa;
        }
    }
    return esito;
}

Esito Archivio::Apri(const fs::path& file, const Chiave& chiave) {
    Chiudi();
    creato_ = false;
    soloLettura_ = false;
    file_ = file;
    ScegliChiave(file, &chiave);
    return ApriEsistente(file);
}

Esito Archivio::ApriInLettura(const fs::path& file) {
    Chiudi();
    creato_ = false;
    soloLettura_ = true;
    file_ = file;
    ScegliChiave(file, nullptr);
    return ApriEsistente(file, true);
}

Esito Archivio::ApriInLettura(const fs::path& file, const Chiave& chiave) {
    Chiudi();
    creato_ = false;
    soloLettura_ = true;
    file_ = file;
    ScegliChiave(file, &chiave);
    return ApriEsistente(file, true);
}

Esito Archivio::Verifica() const {
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, "PRAGMA quick_check", &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    Esito esito;
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        const std::string risposta = TestoColonna(st, 0);
        if (risposta != "ok") esito = Errore{.motivo = Motivo::Danneggiato, .dettaglio = risposta};
    } else {
        esito = ErroreDa(rc);
    }
    sqlite3_finalize(st);
    return esito;
}

Esito Archivio::RecuperaGiornale() {
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    // The first read of the file rolls back a journal that holds a write cut
    // short, and removes it.
    if (int rc = Esegui(db_, "SELECT count(*) FROM main.atleta;"); rc != SQLITE_OK) return ErroreDa(rc);
    const fs::path giornale = file_.string() + "-journal";
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(giornale, ec))) return {};
    // One SQLite left in place has nothing to undo (empty, or its header
    // cleared), or is another program's write under way, which holds the
    // file: taken whole here, the file is no one else's, and the journal can
    // go. SQLite opens no journal of its own until a page is written.
    if (Esito e = Transazione("BEGIN EXCLUSIVE;"); !e) return e;
    fs::remove(giornale, ec);
    Esegui(db_, "ROLLBACK;");
    if (ec) return ErroreDiSistema(ec.value(), giornale.string() + ": " + ec.message());
    return {};
}

Esito Archivio::ApriEsistente(const fs::path& file, bool soloLettura) {
    static std::uint64_t aperture = 0;
    apertura_ = ++aperture;
    // A folder, a device or a pipe is no archive; a pipe would be waited on
    // for a writer for ever.
    std::error_code ec;
    if (const auto stato = fs::status(file, ec); fs::exists(stato) && !fs::is_regular_file(stato))
        return Errore{.motivo = Motivo::NonUnFile, .dettaglio = file.string()};
    // Read-write when allowed, else read-only; never created here.
    int rc = sqlite3_open_v2(sistema::NomeStretto(file).c_str(), &db_,
                             soloLettura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        Errore e = ErroreDa(rc);
        Chiudi();
        return ConCartella(std::move(e), file);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, AttesaBloccoMs);
    rc = chiave().Applica(db_);
    // The first read proves the key: it decrypts the first page.
    if (rc == SQLITE_OK) rc = Esegui(db_, "SELECT count(*) FROM sqlite_master;");
    if ((rc & 0xff) == SQLITE_NOTADB) {
        // A key from a passphrase that does not open the file: the wrong
        // passphrase, or a file that is not an archive. The fixed key that
        // does not open a file that looks encrypted: one with a passphrase.
        Errore e = ErroreDa(rc);
        Chiudi();
        if (chiave().personale())
            e.motivo = Motivo::PassphraseErrata;
        else if (SembraCifrato(file))
            e.motivo = Motivo::PassphraseRichiesta;
        return e;
    }
    // Pages stay decrypted in memory while the program runs (16 MB, the
    // archive of several thousand athletes): the windows read the names of
    // every athlete each time they open.
    if (rc == SQLITE_OK) rc = Esegui(db_, "PRAGMA cache_size = -16000;");
    if (rc != SQLITE_OK) {
        Errore e = ErroreDa(rc);
        Chiudi();
        return e;
    }
    if (Esito esito = ControllaTabella(); !esito) {
        Chiudi();
        return esito;
    }
    AggiungiTabelleMancanti();
    return {};
}

void Archivio::RiapriSeSolaLettura() {
    if (!db_ || soloLettura_ || !solaLettura()) return;
    Archivio nuovo;
    nuovo.file_ = file_;
    nuovo.ScegliChiave(file_, &chiave());
    if (nuovo.ApriEsistente(file_) && !nuovo.solaLettura()) {
        const bool creato = creato_;
        const std::uint64_t scritture = scritture_;
        *this = std::move(nuovo);
        creato_ = creato;
        scritture_ = scritture + 1;
    }
}

Esito Archivio::PrimaDiScrivere() {
    RiapriSeSolaLettura();
    const auto rifiuto = sistema::ProvaScrittura(file_);
    if (!rifiuto) return {};
    const int e = rifiuto->numero;
    Errore err = ErroreDiSistema(e, rifiuto->dettaglio);
    if (e == EACCES || e == EPERM || e == EROFS || e == ETXTBSY) err.motivo = Motivo::SolaLettura;
    return err;
}

Esito Archivio::ControllaTabella() const {
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, "PRAGMA table_info(\"atleta\")", &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    std::array<bool, NumeroColonne> trovata{};
    bool tabella = false;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        tabella = true;
        std::string nome = TestoColonna(st, 1);
        for (std::size_t i = 0; i < Colonne.size(); ++i)
            if (sqlite3_stricmp(nome.c_str(), std::string(Colonne[i]).c_str()) == 0) trovata[i] = true;
    }
    if (rc != SQLITE_DONE) {
        Errore e = ErroreDa(rc);
        sqlite3_finalize(st);
        return e;
    }
    sqlite3_finalize(st);
    if (!tabella) return Errore{.motivo = Motivo::SenzaTabella, .dettaglio = "atleta"};
    for (std::size_t i = 0; i < Colonne.size(); ++i)
        if (!trovata[i]) return Errore{.motivo = Motivo::ColonnaMancante, .dettaglio = std::string(Colonne[i])};
    return ControllaSchema();
}

namespace {

bool Uguali(std::string_view a, std::string_view b) {
    return a.size() == b.size() && sqlite3_strnicmp(a.data(), b.data(), static_cast<int>(a.size())) == 0;
}

bool IniziaCon(std::string_view testo, std::string_view inizio) {
    return testo.size() >= inizio.size() && Uguali(testo.substr(0, inizio.size()), inizio);
}

std::string Maiuscolo(std::string testo) {
    for (char& c : testo)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return testo;
}

// A word of an SQL statement, as SQLite's reader splits it: a keyword or a
// name (`citata` when written between quotes, and then never a keyword), a
// number, a text literal, or a sign.
struct Parola {
    enum class Tipo { Nome, Testo, Segno } tipo;
    std::string testo;
    bool citata = false;
};

bool Lettera(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

std::vector<Parola> Parole(std::string_view sql) {
    std::vector<Parola> parole;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
        } else if (sql.substr(i, 2) == "--") {
            i = std::min(sql.find('\n', i), sql.size());
        } else if (sql.substr(i, 2) == "/*") {
            const auto fine = sql.find("*/", i + 2);
            i = fine == std::string_view::npos ? sql.size() : fine + 2;
        } else if (c == '"' || c == '`' || c == '\'' || c == '[') {
            const char chiusa = c == '[' ? ']' : c;
            std::string testo;
            std::size_t j = i + 1;
            for (; j < sql.size(); ++j) {
                if (sql[j] != chiusa) {
                    testo += sql[j];
                } else if (chiusa != ']' && j + 1 < sql.size() && sql[j + 1] == chiusa) {
                    testo += chiusa;  // a quote written twice is one
                    ++j;
                } else {
                    break;
                }
            }
            parole.push_back({c == '\'' ? Parola::Tipo::Testo : Parola::Tipo::Nome, std::move(testo), true});
            i = j + 1;
        } else if (Lettera(c)) {
            std::size_t j = i;
            while (j < sql.size() && Lettera(sql[j])) ++j;
            parole.push_back({Parola::Tipo::Nome, std::string(sql.substr(i, j - i))});
            i = j;
        } else {
            parole.push_back({Parola::Tipo::Segno, std::string(1, c)});
            ++i;
        }
    }
    return parole;
}

bool ParolaChiave(const std::vector<Parola>& p, std::size_t i, std::string_view chiave) {
    return i < p.size() && p[i].tipo == Parola::Tipo::Nome && !p[i].citata && Uguali(p[i].testo, chiave);
}

bool Segno(const std::vector<Parola>& p, std::size_t i, char segno) {
    return i < p.size() && p[i].tipo == Parola::Tipo::Segno && p[i].testo[0] == segno;
}

// What a CREATE statement of the schema makes: its kind ("table", "virtual
// table", "index", "view", "trigger"; empty for anything else), its name,
// and an index's table.
struct Istruzione {
    std::string tipo;
    std::string nome;
    std::string tabella;
};

// A name, perhaps after its database ("main.atleta"), from the word `i` on.
std::string NomeOggetto(const std::vector<Parola>& p, std::size_t& i) {
    if (i >= p.size() || p[i].tipo == Parola::Tipo::Segno) return {};
    std::string nome = p[i++].testo;
    if (Segno(p, i, '.') && i + 1 < p.size() && p[i + 1].tipo != Parola::Tipo::Segno) {
        nome = p[i + 1].testo;
        i += 2;
    }
    return nome;
}

Istruzione Descrivi(const std::vector<Parola>& p) {
    Istruzione s;
    std::size_t i = 0;
    if (!ParolaChiave(p, i++, "CREATE")) return s;
    if (ParolaChiave(p, i, "TEMP") || ParolaChiave(p, i, "TEMPORARY")) ++i;
    if (ParolaChiave(p, i, "UNIQUE")) ++i;
    if (ParolaChiave(p, i, "VIRTUAL") && ParolaChiave(p, i + 1, "TABLE")) {
        s.tipo = "virtual table";
        i += 2;
    } else {
        for (const char* tipo : {"table", "index", "view", "trigger"})
            if (ParolaChiave(p, i, tipo)) s.tipo = tipo;
        if (s.tipo.empty()) return s;
        ++i;
    }
    if (ParolaChiave(p, i, "IF") && ParolaChiave(p, i + 1, "NOT") && ParolaChiave(p, i + 2, "EXISTS")) i += 3;
    s.nome = NomeOggetto(p, i);
    if (s.tipo == "index" && ParolaChiave(p, i, "ON")) {
        ++i;
        s.tabella = NomeOggetto(p, i);
    }
    return s;
}

// The tables SQLite makes itself in a file: AUTOINCREMENT's counters and
// ANALYZE's statistics.
bool TabellaDiSQLite(std::string_view nome) {
    for (std::string_view interna : {"sqlite_sequence", "sqlite_stat1", "sqlite_stat2", "sqlite_stat3", "sqlite_stat4"})
        if (Uguali(nome, interna)) return true;
    return false;
}

std::string Citato(std::string_view nome) {
    std::string s = "\"";
    for (char c : nome) s += c == '"' ? std::string("\"\"") : std::string(1, c);
    return s + "\"";
}

}  // namespace

// Only what the program makes itself: `atleta` as it creates it (an ordinary
// table with a row id and no constraint that could refuse a write), its own
// later tables with their indexes, and SQLite's own tables. Anything else (a
// trigger that empties the table on the first edit, a view or a table
// without row ids in its place, an index that refuses duplicate names)
// would change what the program's writes do.
//
// Each entry is judged by its SQL, which is what SQLite runs when it reads
// the schema, never by its name or by the kind the entry claims: a trigger
// named "sqlite_..." or listed as an index is still a trigger.
Esito Archivio::ControllaSchema() const {
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, "SELECT type, name, sql FROM main.sqlite_master", &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    std::optional<std::string> atleta;
    Esito esito;
    while (esito && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        const std::string tipoVoce = TestoColonna(st, 0), nomeVoce = TestoColonna(st, 1), sql = TestoColonna(st, 2);
        // No statement: at most the place of an index SQLite makes for a
        // constraint, which is judged with its table.
        if (sql.empty()) continue;
        const Istruzione s = Descrivi(Parole(sql));
        const std::string nome = s.nome.empty() ? nomeVoce : s.nome;
        const bool eAtleta = Uguali(nome, "atleta");
        auto estraneo = [&nome](const std::string& tipo) {
            return Errore{.motivo = Motivo::OggettoEstraneo, .dettaglio = tipo + " \"" + nome + "\""};
        };
        if (s.tipo == "table") {
            if (eAtleta)
                atleta = sql;
            else if (!IniziaCon(nome, PrefissoTabelleProprie) && !TabellaDiSQLite(nome))
                esito = estraneo("table");
        } else if (s.tipo == "index") {
            if (!IniziaCon(s.tabella, PrefissoTabelleProprie)) esito = estraneo("index");
        } else if (eAtleta) {
            esito = Errore{.motivo = Motivo::TabellaEstranea, .dettaglio = s.tipo == "view" ? "view" : "definition"};
        } else {
            esito = estraneo(s.tipo.empty() ? tipoVoce : s.tipo == "virtual table" ? "table" : s.tipo);
        }
    }
    if (esito && rc != SQLITE_DONE) esito = ErroreDa(rc);
    sqlite3_finalize(st);
    if (esito)
        esito = atleta ? ControllaAtleta(*atleta) : Errore{.motivo = Motivo::SenzaTabella, .dettaglio = "atleta"};
    if (esito) esito = ControllaIndici();
    return esito;
}

// `atleta` by its structure, as SQLite reads it: the 34 columns in order,
// text but for the yes/no column, no key, no index; and by its statement:
// nothing but those columns and their types (no CHECK, UNIQUE, COLLATE,
// REFERENCES ...), however it is spaced, quoted or written in capitals.
Esito Archivio::ControllaAtleta(const std::string& sql) const {
    sqlite3_stmt* st = nullptr;
    // A table without row ids has no column "rowid".
    int rc = PreparaIstruzione(db_, "SELECT rowid FROM main.atleta", &st);
    sqlite3_finalize(st);
    if ((rc & 0xff) == SQLITE_ERROR) return Errore{.motivo = Motivo::TabellaEstranea, .dettaglio = "without rowid"};
    if (rc != SQLITE_OK) return ErroreDa(rc);

    const Errore diversa{.motivo = Motivo::TabellaEstranea, .dettaglio = "definition"};
    // Every column, hidden ones too where SQLite has them (table_xinfo; an
    // older release knows only table_info, and no hidden columns).
    struct Colonna {
        std::string nome, tipo;
        int nonNullo = 0, chiave = 0, nascosta = 0;
        std::optional<std::string> predefinito;
    };
    std::vector<Colonna> colonne;
    for (const char* pragma : {"PRAGMA main.table_xinfo(\"atleta\")", "PRAGMA main.table_info(\"atleta\")"}) {
        rc = PreparaIstruzione(db_, pragma, &st);
        if (rc != SQLITE_OK) return ErroreDa(rc);
        const bool xinfo = sqlite3_column_count(st) > 6;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            Colonna& c = colonne.emplace_back();
            c.nome = TestoColonna(st, 1);
            c.tipo = TestoColonna(st, 2);
            c.nonNullo = sqlite3_column_int(st, 3);
            if (sqlite3_column_type(st, 4) != SQLITE_NULL) c.predefinito = TestoColonna(st, 4);
            c.chiave = sqlite3_column_int(st, 5);
            c.nascosta = xinfo ? sqlite3_column_int(st, 6) : 0;
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) return ErroreDa(rc);
        if (!colonne.empty()) break;
    }
    if (colonne.size() != Colonne.size()) return diversa;
    for (std::size_t i = 0; i < Colonne.size(); ++i) {
        const Colonna& c = colonne[i];
        const bool siNo = ColonnaSiNo(static_cast<int>(i));
        if (!Uguali(c.nome, Colonne[i]) || !Uguali(c.tipo, siNo ? "INTEGER" : "TEXT") || c.nonNullo != (siNo ? 1 : 0) ||
            c.predefinito != (siNo ? std::optional<std::string>("0") : std::nullopt) || c.chiave != 0 ||
            c.nascosta != 0)
            return diversa;
    }

    // No index: one that refuses equal values would refuse a write.
    rc = PreparaIstruzione(db_, "PRAGMA main.index_list(\"atleta\")", &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc == SQLITE_ROW) return diversa;
    if (rc != SQLITE_DONE) return ErroreDa(rc);

    // After the opening bracket, only the columns' names, their types,
    // NOT NULL DEFAULT 0, commas and the closing bracket.
    const std::vector<Parola> parole = Parole(sql);
    std::size_t i = 0;
    while (i < parole.size() && !Segno(parole, i, '(')) ++i;
    if (i == parole.size() || !Segno(parole, parole.size() - 1, ')')) return diversa;
    int parentesi = 0;
    for (++i; i < parole.size(); ++i) {
        const Parola& p = parole[i];
        bool ammessa = false;
        if (p.tipo == Parola::Tipo::Segno) {
            ammessa = p.testo == "," || (p.testo == ")" && parentesi++ == 0);
        } else if (p.tipo == Parola::Tipo::Nome) {
            for (std::string_view c : Colonne) ammessa = ammessa || Uguali(p.testo, c);
            for (std::string_view parola : {"TEXT", "INTEGER", "NOT", "NULL", "DEFAULT", "0"})
                ammessa = ammessa || (!p.citata && Uguali(p.testo, parola));
        }
        if (!ammessa) return diversa;
    }
    return {};
}

// An index on the fittings' or the tests' table serves their reads: one that
// refuses equal values would refuse a fitting or a test, and one on an
// expression or on part of the rows computes on every write.
Esito Archivio::ControllaIndici() const {
    for (const DescrizioneTabella* t : TabelleProprie()) {
        sqlite3_stmt* st = nullptr;
        int rc = PreparaIstruzione(db_, t->indici.c_str(), &st);
        if (rc != SQLITE_OK) return ErroreDa(rc);
        std::optional<std::string> estraneo;
        while (!estraneo && (rc = sqlite3_step(st)) == SQLITE_ROW) {
            const std::string nome = TestoColonna(st, 1), origine = TestoColonna(st, 3);
            // The row id declared otherwise: the table's reads and writes say so.
            if (origine == "pk") continue;
            const bool parziale = sqlite3_column_count(st) > 4 && sqlite3_column_int(st, 4) != 0;
            if (sqlite3_column_int(st, 2) != 0 || parziale) {
                estraneo = nome;
                continue;
            }
            // A column of the key that is an expression has no column number (-2).
            sqlite3_stmt* colonne = nullptr;
            const std::string sql = "PRAGMA main.index_xinfo(" + Citato(nome) + ")";
            if (PreparaIstruzione(db_, sql.c_str(), &colonne) == SQLITE_OK)
                while (sqlite3_step(colonne) == SQLITE_ROW)
                    if (sqlite3_column_int(colonne, 5) != 0 && sqlite3_column_int(colonne, 1) == -2) estraneo = nome;
            sqlite3_finalize(colonne);
        }
        sqlite3_finalize(st);
        if (estraneo)
            return Errore{.motivo = Motivo::IndiceEstraneo, .dettaglio = std::string(t->nome) + "." + *estraneo};
        if (rc != SQLITE_DONE) return ErroreDa(rc);
    }
    return {};
}

sqlite3_stmt* Archivio::Prepara(sqlite3_stmt*& cache, const char* sql) const {
    if (!cache) {
        if (PreparaIstruzione(db_, sql, &cache) != SQLITE_OK) {
            sqlite3_finalize(cache);
            cache = nullptr;
        }
    } else {
        sqlite3_reset(cache);
        sqlite3_clear_bindings(cache);
    }
    return cache;
}

std::uint64_t Archivio::Versione() const {
    std::uint64_t versione = 0;
    sqlite3_stmt* st = nullptr;
    if (db_ && PreparaIstruzione(db_, "PRAGMA data_version", &st) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        versione = static_cast<std::uint64_t>(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    return (versione << 32) ^ scritture_;
}

Esito Archivio::ElencaRighe(std::vector<std::int64_t>& id, std::vector<std::string>& nomi) const {
    id.clear();
    nomi.clear();
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    sqlite3_stmt* st = Prepara(stmtElenca_, "SELECT rowid, \"nome\" FROM atleta ORDER BY rowid");
    if (!st) return ErroreDa(sqlite3_errcode(db_));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        id.push_back(sqlite3_column_int64(st, 0));
        nomi.push_back(TestoColonna(st, 1));
    }
    Esito esito;
    if (rc != SQLITE_DONE) esito = ErroreDa(rc);
    sqlite3_reset(st);
    if (!esito) {
        id.clear();
        nomi.clear();
    }
    return esito;
}

namespace {
// The 34 columns of a result row, from its column `primo` on.
void LeggiColonne(sqlite3_stmt* st, Riga& riga, int primo = 0) {
    for (int i = 0; i < NumeroColonne; ++i) {
        const int k = primo + i;
        if (ColonnaSiNo(i))
            riga[i] = sqlite3_column_type(st, k) != SQLITE_NULL && sqlite3_column_int64(st, k) != 0 ? "1" : "0";
        else
            riga[i] = TestoColonna(st, k);
    }
}
}  // namespace

Esito Archivio::LeggiTutte(std::vector<Riga>& righe) const {
    righe.clear();
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    const std::string sql = "SELECT " + ElencoColonne() + " FROM atleta ORDER BY rowid";
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, sql.c_str(), &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        righe.emplace_back();
        LeggiColonne(st, righe.back());
    }
    Esito esito;
    if (rc != SQLITE_DONE) {
        esito = ErroreDa(rc);
        righe.clear();
    }
    sqlite3_finalize(st);
    return esito;
}

Esito Archivio::LeggiRiga(std::int64_t id, Riga& riga) const {
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    static const std::string sql = SqlLeggi();
    sqlite3_stmt* st = Prepara(stmtLeggi_, sql.c_str());
    if (!st) return ErroreDa(sqlite3_errcode(db_));
    sqlite3_bind_int64(st, 1, id);
    int rc = sqlite3_step(st);
    Esito esito;
    if (rc == SQLITE_ROW) {
        LeggiColonne(st, riga);
    } else if (rc == SQLITE_DONE) {
        esito = Errore{.motivo = Motivo::RigaMancante, .dettaglio = std::to_string(id)};
    } else {
        esito = ErroreDa(rc);
    }
    sqlite3_reset(st);
    return esito;
}

Esito Archivio::Transazione(const char* sql) {
    int rc = Esegui(db_, sql);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    return {};
}

namespace {
// Rolls back whatever is left open, keeping the error that caused it.
void Annulla(sqlite3* db) {
    if (!sqlite3_get_autocommit(db)) Esegui(db, "ROLLBACK;");
}
}  // namespace

Esito Archivio::PrepararsiAScrivere() {
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    if (Esito e = PrimaDiScrivere(); !e) return e;
    ++scritture_;
    return {};
}

Esito Archivio::InTransazione(const std::function<Esito()>& lavoro) {
    if (Esito e = Transazione("BEGIN IMMEDIATE;"); !e) return e;
    Esito esito = lavoro();
    if (esito) esito = Transazione("COMMIT;");
    if (!esito) Annulla(db_);
    return esito;
}

Esito Archivio::ScriviCampi(std::int64_t id, const std::vector<Campo>& campi) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    if (campi.empty()) return {};
    std::string sql = "UPDATE atleta SET ";
    for (std::size_t i = 0; i < campi.size(); ++i) {
        if (i) sql += ", ";
        sql += Virgolette(Colonne[static_cast<std::size_t>(campi[i].colonna)]);
        sql += " = ?";
    }
    sql += " WHERE rowid = ?";
    return InTransazione([&] {
        sqlite3_stmt* st = nullptr;
        int rc = PreparaIstruzione(db_, sql.c_str(), &st);
        Esito esito;
        if (rc == SQLITE_OK) {
            for (std::size_t i = 0; i < campi.size(); ++i)
                Lega(st, static_cast<int>(i) + 1, campi[i].colonna, campi[i].valore);
            sqlite3_bind_int64(st, static_cast<int>(campi.size()) + 1, id);
            rc = sqlite3_step(st);
            if (rc != SQLITE_DONE)
                esito = ErroreDa(rc);
            else if (sqlite3_changes(db_) != 1)
                esito = Errore{.motivo = Motivo::RigaMancante, .dettaglio = std::to_string(id)};
        } else {
            esito = ErroreDa(rc);
        }
        sqlite3_finalize(st);
        return esito;
    });
}

Esito Archivio::InserisciConPreparata(const Riga& riga, std::int64_t* nuovoId) {
    static const std::string sql = SqlInserisci();
    sqlite3_stmt* st = Prepara(stmtInserisci_, sql.c_str());
    if (!st) return ErroreDa(sqlite3_errcode(db_));
    for (int i = 0; i < NumeroColonne; ++i) Lega(st, i + 1, i, riga[i]);
    int rc = sqlite3_step(st);
    Esito esito;
    if (rc != SQLITE_DONE)
        esito = ErroreDa(rc);
    else if (nuovoId)
        *nuovoId = sqlite3_last_insert_rowid(db_);
    sqlite3_reset(st);
    return esito;
}

Esito Archivio::AggiungiRiga(const Riga& riga, std::int64_t& nuovoId) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    return InTransazione([&] {
        if (Esito e = ScartaOrfani(); !e) return e;
        return InserisciConPreparata(riga, &nuovoId);
    });
}

Esito Archivio::AggiungiRighe(const std::vector<Riga>& righe) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    return InTransazione([&] {
        if (Esito e = ScartaOrfani(); !e) return e;
        for (const Riga& r : righe)
            if (Esito esito = InserisciConPreparata(r, nullptr); !esito) return esito;
        return Esito{};
    });
}

Esito Archivio::AggiungiInTransazione(const std::function<Esito(const Aggiungi&, bool&)>& lavoro) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    if (Esito e = Transazione("BEGIN IMMEDIATE;"); !e) return e;
    bool conferma = false;
    Esito esito = ScartaOrfani();
    if (esito)
        esito =
            lavoro([this](const Riga& riga, std::int64_t& id) { return InserisciConPreparata(riga, &id); }, conferma);
    if (esito && conferma) esito = Transazione("COMMIT;");
    if (!esito || !conferma) Annulla(db_);
    return esito;
}

Esito Archivio::ScorriRighe(const std::function<void(std::int64_t, const Riga&)>& ogni) const {
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    const std::string sql = "SELECT rowid, " + ElencoColonne() + " FROM atleta ORDER BY rowid";
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, sql.c_str(), &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    Riga riga;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        LeggiColonne(st, riga, 1);
        ogni(sqlite3_column_int64(st, 0), riga);
    }
    Esito esito;
    if (rc != SQLITE_DONE) esito = ErroreDa(rc);
    sqlite3_finalize(st);
    return esito;
}

Esito Archivio::EseguiConId(const char* sql, std::int64_t id) {
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, sql, &st);
    Esito esito;
    if (rc == SQLITE_OK) {
        sqlite3_bind_int64(st, 1, id);
        rc = sqlite3_step(st);
        if (rc != SQLITE_DONE) esito = ErroreDa(rc);
    } else {
        esito = ErroreDa(rc);
    }
    sqlite3_finalize(st);
    return esito;
}

Esito Archivio::EliminaRiga(std::int64_t id) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    return InTransazione([&] {
        if (Esito e = EseguiConId("DELETE FROM atleta WHERE rowid = ?", id); !e) return e;
        for (const DescrizioneTabella* t : TabelleProprie()) {
            StatoTabella stato;
            if (Esito e = LeggiStato(*t, stato); !e) return e;
            // A table of that name that is not this program's is never written.
            if (!stato.presente || stato.estranea) continue;
            if (Esito e = EseguiConId(t->dellAtleta.c_str(), id); !e) return e;
        }
        return Esito{};
    });
}

// ---- The athletes' records: fittings and tests ----

namespace {

// The affinity SQLite gives a column of the declared type: what it turns the
// values written to it into. REAL and NUMERIC, the rest, both turn a text
// that reads as a number into that number.
enum class Affinita { Intera, Testo, Nessuna, Numero };

Affinita AffinitaDi(const std::string& tipo) {
    const std::string t = Maiuscolo(tipo);
    auto ha = [&t](const char* parte) { return t.find(parte) != std::string::npos; };
    if (ha("INT")) return Affinita::Intera;
    if (ha("CHAR") || ha("CLOB") || ha("TEXT")) return Affinita::Testo;
    if (ha("BLOB") || t.empty()) return Affinita::Nessuna;
    return Affinita::Numero;
}

// The position of a column of the table: the three numbers, then the texts.
std::optional<std::size_t> PosizioneColonna(const DescrizioneTabella& t, const std::string& nome) {
    const auto uguale = [&nome](std::string_view c) {
        return sqlite3_stricmp(nome.c_str(), std::string(c).c_str()) == 0;
    };
    if (const auto n = std::ranges::find_if(ColonneNumeri, uguale); n != ColonneNumeri.end())
        return static_cast<std::size_t>(n - ColonneNumeri.begin());
    if (const auto n = std::ranges::find_if(t.testi, uguale); n != t.testi.end())
        return ColonneNumeri.size() + static_cast<std::size_t>(n - t.testi.begin());
    return std::nullopt;
}

std::string NomeColonna(const DescrizioneTabella& t, std::size_t i) {
    const std::string_view nome = i < ColonneNumeri.size() ? ColonneNumeri[i] : t.testi[i - ColonneNumeri.size()];
    return std::string(t.nome) + "." + std::string(nome);
}

// What LeggiVoci hands over, appended to `voci`.
template <typename Voce>
auto InVettore(std::vector<Voce>& voci) {
    return [&voci](std::int64_t id, std::int64_t atleta, std::int64_t versione, std::vector<std::string>& testi) {
        Voce& v = voci.emplace_back();
        v.id = id;
        v.atleta = atleta;
        v.versione = versione;
        const auto campi = Campi(v);
        for (std::size_t i = 0; i < campi.size(); ++i) *campi[i] = std::move(testi[i]);
    };
}

}  // namespace

// This program's table holds every column it reads and writes (a later
// version's may hold more), `id` is the row id, and no column changes what
// is written to it: the numbers are integers, the texts stay texts (a
// numeric column would store "072" as 72).
Esito Archivio::LeggiStato(const DescrizioneTabella& t, StatoTabella& stato) const {
    stato = {};
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    std::vector<bool> trovata(ColonneNumeri.size() + t.testi.size());
    std::optional<std::size_t> sbagliata;
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, t.colonne.c_str(), &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        stato.presente = true;
        const auto i = PosizioneColonna(t, TestoColonna(st, 1));
        if (!i) continue;
        trovata[*i] = true;
        const std::string tipo = TestoColonna(st, 2);
        const Affinita affinita = AffinitaDi(tipo);
        const bool giusta = *i == 0 ? sqlite3_stricmp(tipo.c_str(), "INTEGER") == 0 && sqlite3_column_int(st, 5) == 1
                            : *i < ColonneNumeri.size() ? affinita == Affinita::Intera
                                                        : affinita == Affinita::Testo || affinita == Affinita::Nessuna;
        if (!giusta && !sbagliata) sbagliata = *i;
    }
    Esito esito;
    if (rc != SQLITE_DONE) esito = ErroreDa(rc);
    sqlite3_finalize(st);
    if (!esito || !stato.presente) return esito;
    for (std::size_t i = 0; i < trovata.size(); ++i)
        if (!trovata[i]) {
            stato.estranea = Errore{.motivo = Motivo::ColonnaMancante, .dettaglio = NomeColonna(t, i)};
            return {};
        }
    if (sbagliata) {
        stato.estranea = Errore{.motivo = Motivo::TabellaEstranea, .dettaglio = NomeColonna(t, *sbagliata)};
        return {};
    }
    // An INTEGER PRIMARY KEY is the row id unless the key has an index of its
    // own: a table without row ids, a key of more columns or declared DESC.
    rc = PreparaIstruzione(db_, t.indici.c_str(), &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        if (TestoColonna(st, 3) == "pk")
            stato.estranea = Errore{.motivo = Motivo::TabellaEstranea, .dettaglio = NomeColonna(t, 0)};
    if (rc != SQLITE_DONE) esito = ErroreDa(rc);
    sqlite3_finalize(st);
    return esito;
}

Esito Archivio::TabellaPropria(const DescrizioneTabella& t, bool& presente) const {
    StatoTabella stato;
    if (Esito e = LeggiStato(t, stato); !e) return e;
    if (stato.estranea) return *stato.estranea;
    presente = stato.presente;
    return {};
}

// Once in the life of an archive, and only into a file that passes SQLite's
// quick check: nothing is written into a damaged file. When the tables cannot
// be added (a damaged file, a folder that takes no journal, a full disk), the
// archive still opens for its athletes: it has no fittings and no tests, and
// the first one recorded makes its table.
void Archivio::AggiungiTabelleMancanti() {
    if (solaLettura()) return;
    std::string sql;
    for (const DescrizioneTabella* t : TabelleProprie()) {
        StatoTabella stato;
        if (!LeggiStato(*t, stato)) return;
        if (!stato.presente) sql += t->crea;
    }
    if (sql.empty() || sistema::ProvaScrittura(file_) || !Verifica()) return;
    InTransazione([&] { return Transazione(sql.c_str()); });
}

Esito Archivio::ScartaOrfani() {
    for (const DescrizioneTabella* t : TabelleProprie()) {
        StatoTabella stato;
        if (Esito e = LeggiStato(*t, stato); !e) return e;
        if (!stato.presente || stato.estranea) continue;
        if (Esito e = Transazione(t->orfani.c_str()); !e) return e;
    }
    return {};
}

Esito Archivio::RegistraVoce(const DescrizioneTabella& t, std::int64_t atleta,
                             std::span<const std::string* const> testi, std::int64_t& nuovoId) {
    if (Esito e = ControllaData(*testi[0]); !e) return e;
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    std::int64_t id = 0;
    Esito esito = InTransazione([&] {
        bool presente = false;
        if (Esito e = TabellaPropria(t, presente); !e) return e;
        if (!presente)
            if (Esito e = Transazione(t.crea.c_str()); !e) return e;
        sqlite3_stmt* st = nullptr;
        int rc = PreparaIstruzione(db_, t.registra.c_str(), &st);
        Esito e;
        if (rc == SQLITE_OK) {
            sqlite3_bind_int64(st, 1, atleta);
            sqlite3_bind_int64(st, 2, t.versione);
            int colonna = 3;
            for (const std::string* testo : testi) LegaTesto(st, colonna++, *testo);
            rc = sqlite3_step(st);
            if (rc != SQLITE_DONE)
                e = ErroreDa(rc);
            else if (sqlite3_changes(db_) != 1)
                e = Errore{.motivo = Motivo::RigaMancante, .dettaglio = std::to_string(atleta)};
            else
                id = sqlite3_last_insert_rowid(db_);
        } else {
            e = ErroreDa(rc);
        }
        sqlite3_finalize(st);
        return e;
    });
    if (esito) nuovoId = id;
    return esito;
}

Esito Archivio::LeggiVoci(const DescrizioneTabella& t, std::int64_t atleta, const OgniVoce& ogni) const {
    bool presente = false;
    if (Esito e = TabellaPropria(t, presente); !e || !presente) return e;
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, t.leggi.c_str(), &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    sqlite3_bind_int64(st, 1, atleta);
    std::vector<std::string> testi(t.testi.size());
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        int colonna = 3;
        for (std::string& testo : testi) testo = TestoColonna(st, colonna++);
        ogni(sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1), sqlite3_column_int64(st, 2), testi);
    }
    Esito esito;
    if (rc != SQLITE_DONE) esito = ErroreDa(rc);
    sqlite3_finalize(st);
    return esito;
}

Esito Archivio::ContaVoci(const DescrizioneTabella& t, std::int64_t atleta, std::int64_t& n) const {
    n = 0;
    bool presente = false;
    if (Esito e = TabellaPropria(t, presente); !e || !presente) return e;
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, t.conta.c_str(), &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    sqlite3_bind_int64(st, 1, atleta);
    Esito esito;
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    else
        esito = ErroreDa(rc);
    sqlite3_finalize(st);
    return esito;
}

Esito Archivio::VoceModificabile(const DescrizioneTabella& t, std::int64_t id, std::optional<std::int64_t> atleta) {
    const Errore mancante{.motivo = Motivo::RigaMancante, .dettaglio = std::to_string(id)};
    bool presente = false;
    if (Esito e = TabellaPropria(t, presente); !e) return e;
    if (!presente) return mancante;
    sqlite3_stmt* st = nullptr;
    int rc = PreparaIstruzione(db_, t.formato.c_str(), &st);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    sqlite3_bind_int64(st, 1, id);
    rc = sqlite3_step(st);
    Esito e;
    if (rc == SQLITE_DONE)
        e = mancante;
    else if (rc != SQLITE_ROW)
        e = ErroreDa(rc);
    else if (atleta && sqlite3_column_int64(st, 1) != *atleta)
        e = mancante;
    else if (sqlite3_column_int64(st, 0) > t.versione)
        e = Errore{.motivo = t.piuRecente, .dettaglio = std::to_string(sqlite3_column_int64(st, 0))};
    sqlite3_finalize(st);
    return e;
}

Esito Archivio::ModificaVoce(const DescrizioneTabella& t, std::int64_t id, std::int64_t atleta,
                             std::span<const std::string* const> testi) {
    if (Esito e = ControllaData(*testi[0]); !e) return e;
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    return InTransazione([&] {
        if (Esito e = VoceModificabile(t, id, atleta); !e) return e;
        sqlite3_stmt* st = nullptr;
        int rc = PreparaIstruzione(db_, t.modifica.c_str(), &st);
        Esito e;
        if (rc == SQLITE_OK) {
            int colonna = 1;
            for (const std::string* testo : testi) LegaTesto(st, colonna++, *testo);
            sqlite3_bind_int64(st, colonna, id);
            rc = sqlite3_step(st);
            if (rc != SQLITE_DONE)
                e = ErroreDa(rc);
            else if (sqlite3_changes(db_) != 1)
                e = Errore{.motivo = Motivo::RigaMancante, .dettaglio = std::to_string(id)};
        } else {
            e = ErroreDa(rc);
        }
        sqlite3_finalize(st);
        return e;
    });
}

Esito Archivio::EliminaVoce(const DescrizioneTabella& t, std::int64_t id) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    return InTransazione([&] {
        if (Esito e = VoceModificabile(t, id, std::nullopt); !e) return e;
        return EseguiConId(t.elimina.c_str(), id);
    });
}

// ---- Fittings ----

Esito Archivio::RegistraAssetto(const Assetto& a, std::int64_t& nuovoId) {
    if (!a.disciplina.empty() && std::find(Discipline.begin(), Discipline.end(), a.disciplina) == Discipline.end())
        return Errore{.motivo = Motivo::Altro, .dettaglio = "unknown discipline: " + a.disciplina};
    return RegistraVoce(TabellaDegliAssetti(), a.atleta, Campi(a), nuovoId);
}

Esito Archivio::LeggiAssetti(std::int64_t atleta, std::vector<Assetto>& assetti) const {
    assetti.clear();
    Esito esito = LeggiVoci(TabellaDegliAssetti(), atleta, InVettore(assetti));
    if (!esito) assetti.clear();
    return esito;
}

Esito Archivio::ContaAssetti(std::int64_t atleta, std::int64_t& n) const {
    return ContaVoci(TabellaDegliAssetti(), atleta, n);
}

Esito Archivio::EliminaAssetto(std::int64_t id) { return EliminaVoce(TabellaDegliAssetti(), id); }

// ---- Tests ----

Esito Archivio::RegistraTest(const TestAtleta& t, std::int64_t& nuovoId) {
    return RegistraVoce(TabellaDeiTest(), t.atleta, Campi(t), nuovoId);
}

Esito Archivio::ModificaTest(const TestAtleta& t) { return ModificaVoce(TabellaDeiTest(), t.id, t.atleta, Campi(t)); }

Esito Archivio::LeggiTest(std::int64_t atleta, std::vector<TestAtleta>& test) const {
    test.clear();
    Esito esito = LeggiVoci(TabellaDeiTest(), atleta, InVettore(test));
    if (!esito) test.clear();
    return esito;
}

Esito Archivio::ContaTest(std::int64_t atleta, std::int64_t& n) const { return ContaVoci(TabellaDeiTest(), atleta, n); }

Esito Archivio::EliminaTest(std::int64_t id) { return EliminaVoce(TabellaDeiTest(), id); }

}  // namespace archivio
