#include "Archivio.h"

#include "FileSistema.h"

#include <sqlcipher/sqlite3.h>

#include <cerrno>
#include <cstring>
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

void Lega(sqlite3_stmt* st, int posizione, int colonna, const std::string& valore) {
    if (ColonnaSiNo(colonna)) {
        sqlite3_bind_int(st, posizione, valore == "1" ? 1 : 0);
    } else if (valore.empty()) {
        sqlite3_bind_null(st, posizione);
    } else {
        sqlite3_bind_text(st, posizione, valore.data(), static_cast<int>(valore.size()), SQLITE_TRANSIENT);
    }
}

std::string TestoColonna(sqlite3_stmt* st, int i) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    if (!p) return {};
    return std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(st, i)));
}

// Runs statements that return no rows.
int Esegui(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

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
    int rc = sqlite3_open_v2(provvisorio.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) rc = Esegui(db, SqlChiave().c_str());
    if (rc == SQLITE_OK) rc = Esegui(db, ("BEGIN; " + SqlCreaTabella() + "; COMMIT;").c_str());
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

Archivio::~Archivio() { Chiudi(); }

Archivio::Archivio(Archivio&& altro) noexcept { *this = std::move(altro); }

Archivio& Archivio::operator=(Archivio&& altro) noexcept {
    if (this != &altro) {
        Chiudi();
        db_ = std::exchange(altro.db_, nullptr);
        file_ = std::move(altro.file_);
        creato_ = altro.creato_;
        scritture_ = altro.scritture_;
        apertura_ = altro.apertura_;
        stmtLeggi_ = std::exchange(altro.stmtLeggi_, nullptr);
        stmtElenca_ = std::exchange(altro.stmtElenca_, nullptr);
        stmtInserisci_ = std::exchange(altro.stmtInserisci_, nullptr);
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
    file_ = file;
    std::error_code ec;
    const auto stato = fs::status(file, ec);
    if (!fs::exists(stato)) {
        if (ec && ec.value() != ENOENT) return ErroreDiSistema(ec.value(), file.string() + ": " + ec.message());
        if (Esito esito = CreaArchivio(file); !esito) return esito;
        creato_ = true;
    }
    return ApriEsistente(file);
}

Esito Archivio::ApriInLettura(const fs::path& file) {
    Chiudi();
    creato_ = false;
    file_ = file;
    return ApriEsistente(file, true);
}

Esito Archivio::Verifica() const {
    if (!db_) return Errore{Motivo::Altro, 0, 0, "archive not open"};
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, "PRAGMA quick_check", -1, &st, nullptr);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    Esito esito;
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        const std::string risposta = TestoColonna(st, 0);
        if (risposta != "ok") esito = Errore{Motivo::Danneggiato, 0, 0, risposta};
    } else {
        esito = ErroreDa(rc);
    }
    sqlite3_finalize(st);
    return esito;
}

Esito Archivio::ApriEsistente(const fs::path& file, bool soloLettura) {
    static std::uint64_t aperture = 0;
    apertura_ = ++aperture;
    // Read-write when allowed, else read-only; never created here.
    int rc = sqlite3_open_v2(file.c_str(), &db_, soloLettura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        Errore e = ErroreDa(rc);
        Chiudi();
        return ConCartella(std::move(e), file);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, AttesaBloccoMs);
    rc = Esegui(db_, SqlChiave().c_str());
    // The first read proves the key: it decrypts the first page.
    if (rc == SQLITE_OK) rc = Esegui(db_, "SELECT count(*) FROM sqlite_master;");
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
    return {};
}

void Archivio::RiapriSeSolaLettura() {
    if (!db_ || !solaLettura()) return;
    Archivio nuovo;
    nuovo.file_ = file_;
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

Esito Archivio::ControllaTabella() {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, "PRAGMA table_info(\"atleta\")", -1, &st, nullptr);
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
    if (!tabella) return Errore{Motivo::SenzaTabella, 0, 0, "atleta"};
    for (std::size_t i = 0; i < Colonne.size(); ++i)
        if (!trovata[i]) return Errore{Motivo::ColonnaMancante, 0, 0, std::string(Colonne[i])};
    return ControllaSchema();
}

namespace {

bool IniziaCon(std::string_view testo, std::string_view inizio) { return testo.substr(0, inizio.size()) == inizio; }

std::string Maiuscolo(std::string testo) {
    for (char& c : testo)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return testo;
}

}  // namespace

// Only what the program makes itself: `atleta` exactly as it creates it (an
// ordinary table with a row id and no constraint that could refuse a write),
// its own later tables with their indexes, and SQLite's internal tables.
// Anything else (a trigger that empties the table on the first edit, a view
// or a table without row ids in its place, an index that refuses duplicate
// names) would change what the program's writes do.
Esito Archivio::ControllaSchema() {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, "SELECT type, name, tbl_name, sql FROM sqlite_master", -1, &st, nullptr);
    if (rc != SQLITE_OK) return ErroreDa(rc);
    static const std::string tabella = SqlCreaTabella();
    Esito esito;
    while (esito && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        const std::string tipo = TestoColonna(st, 0), nome = TestoColonna(st, 1), di = TestoColonna(st, 2),
                          sql = TestoColonna(st, 3);
        if (IniziaCon(nome, "sqlite_")) continue;
        if (sqlite3_stricmp(nome.c_str(), "atleta") == 0) {
            if (tipo == "table" && sql == tabella) continue;
            const std::string maiuscolo = Maiuscolo(sql);
            const char* perche =
                tipo != "table" ? "view"
                : maiuscolo.find("ROWID") != std::string::npos && maiuscolo.find("WITHOUT") != std::string::npos
                    ? "without rowid"
                    : "definition";
            esito = Errore{Motivo::TabellaEstranea, 0, 0, perche};
            continue;
        }
        const bool propria =
            tipo == "table"   ? IniziaCon(nome, PrefissoTabelleProprie) && !IniziaCon(Maiuscolo(sql), "CREATE VIRTUAL")
            : tipo == "index" ? IniziaCon(di, PrefissoTabelleProprie)
                              : false;
        if (!propria) esito = Errore{Motivo::OggettoEstraneo, 0, 0, tipo + " \"" + nome + "\""};
    }
    if (esito && rc != SQLITE_DONE) esito = ErroreDa(rc);
    sqlite3_finalize(st);
    return esito;
}

sqlite3_stmt* Archivio::Prepara(sqlite3_stmt*& cache, const char* sql) const {
    if (!cache) {
        if (sqlite3_prepare_v2(db_, sql, -1, &cache, nullptr) != SQLITE_OK) {
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
    if (db_ && sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        versione = static_cast<std::uint64_t>(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    return (versione << 32) ^ scritture_;
}

Esito Archivio::ElencaRighe(std::vector<std::int64_t>& id, std::vector<std::string>& nomi) const {
    id.clear();
    nomi.clear();
    if (!db_) return Errore{Motivo::Altro, 0, 0, "archive not open"};
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
    if (!db_) return Errore{Motivo::Altro, 0, 0, "archive not open"};
    const std::string sql = "SELECT " + ElencoColonne() + " FROM atleta ORDER BY rowid";
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr);
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
    if (!db_) return Errore{Motivo::Altro, 0, 0, "archive not open"};
    static const std::string sql = SqlLeggi();
    sqlite3_stmt* st = Prepara(stmtLeggi_, sql.c_str());
    if (!st) return ErroreDa(sqlite3_errcode(db_));
    sqlite3_bind_int64(st, 1, id);
    int rc = sqlite3_step(st);
    Esito esito;
    if (rc == SQLITE_ROW) {
        LeggiColonne(st, riga);
    } else if (rc == SQLITE_DONE) {
        esito = Errore{Motivo::RigaMancante, 0, 0, std::to_string(id)};
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
    if (!db_) return Errore{Motivo::Altro, 0, 0, "archive not open"};
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
        int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr);
        Esito esito;
        if (rc == SQLITE_OK) {
            for (std::size_t i = 0; i < campi.size(); ++i)
                Lega(st, static_cast<int>(i) + 1, campi[i].colonna, campi[i].valore);
            sqlite3_bind_int64(st, static_cast<int>(campi.size()) + 1, id);
            rc = sqlite3_step(st);
            if (rc != SQLITE_DONE)
                esito = ErroreDa(rc);
            else if (sqlite3_changes(db_) != 1)
                esito = Errore{Motivo::RigaMancante, 0, 0, std::to_string(id)};
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
    return InTransazione([&] { return InserisciConPreparata(riga, &nuovoId); });
}

Esito Archivio::AggiungiRighe(const std::vector<Riga>& righe) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    return InTransazione([&] {
        for (const Riga& r : righe)
            if (Esito esito = InserisciConPreparata(r, nullptr); !esito) return esito;
        return Esito{};
    });
}

Esito Archivio::AggiungiInTransazione(const std::function<Esito(const Aggiungi&, bool&)>& lavoro) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    if (Esito e = Transazione("BEGIN IMMEDIATE;"); !e) return e;
    bool conferma = false;
    Esito esito =
        lavoro([this](const Riga& riga, std::int64_t& id) { return InserisciConPreparata(riga, &id); }, conferma);
    if (esito && conferma) esito = Transazione("COMMIT;");
    if (!esito || !conferma) Annulla(db_);
    return esito;
}

Esito Archivio::ScorriRighe(const std::function<void(std::int64_t, const Riga&)>& ogni) const {
    if (!db_) return Errore{Motivo::Altro, 0, 0, "archive not open"};
    const std::string sql = "SELECT rowid, " + ElencoColonne() + " FROM atleta ORDER BY rowid";
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr);
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

Esito Archivio::EliminaRiga(std::int64_t id) {
    if (Esito e = PrepararsiAScrivere(); !e) return e;
    return InTransazione([&] {
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(db_, "DELETE FROM atleta WHERE rowid = ?", -1, &st, nullptr);
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
    });
}

}  // namespace archivio
