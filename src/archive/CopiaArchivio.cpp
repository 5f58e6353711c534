#include "CopiaArchivio.h"

#include "FileSistema.h"

#include <sqlcipher/sqlite3.h>

#include <array>
#include <cerrno>

namespace fs = std::filesystem;

namespace archivio {

namespace {

Errore DaFile(const sistema::ErroreFile& e) { return ErroreDiSistema(e.numero, e.dettaglio); }

// Runs one statement with up to two text parameters, ignoring its rows.
int EseguiCon(sqlite3* db, const char* sql, std::string_view a = {}, std::string_view b = {}) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        if (sqlite3_bind_parameter_count(st) >= 1)
            sqlite3_bind_text(st, 1, a.data(), static_cast<int>(a.size()), SQLITE_TRANSIENT);
        if (sqlite3_bind_parameter_count(st) >= 2)
            sqlite3_bind_text(st, 2, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc;
}

// sqlcipher_export copies each table as INSERT ... SELECT *, and the athletes'
// row ids are no column: the copy would number them anew, 1, 2, 3 ..., and a
// fitting or a test would name another athlete wherever one was deleted. The copy's
// athletes are written again with their own row ids.
std::string SqlRicopiaAtleti() {
    std::string colonne;
    for (std::string_view c : Colonne) colonne += ", \"" + std::string(c) + "\"";
    return "INSERT INTO copia.atleta (rowid" + colonne + ") SELECT rowid" + colonne + " FROM main.atleta";
}

// The rows of a table, -1 when it cannot be read (when it is not there).
std::int64_t ContaRighe(sqlite3* db, std::string_view tabella) {
    sqlite3_stmt* st = nullptr;
    std::int64_t n = -1;
    const std::string sql = "SELECT count(*) FROM main.\"" + std::string(tabella) + "\"";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}

}  // namespace

namespace {

Esito VerificaConChiave(const fs::path& copia, const Chiave& chiave) {
    Archivio a;
    if (Esito e = a.ApriInLettura(copia, chiave); !e) return e;
    return a.Verifica();
}

}  // namespace

Esito VerificaCopia(const fs::path& copia, const ChiediPassphrase& chiedi, Chiave* chiave) {
    Chiave trovata;
    if (Esito e = ChiaveDelFile(copia, chiedi, trovata); !e) return e;
    if (Esito e = VerificaConChiave(copia, trovata); !e) return e;
    if (chiave) *chiave = trovata;
    return {};
}

Esito Archivio::CopiaIn(const fs::path& destinazione, std::int64_t* quante) const {
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    if (sistema::StessoFile(destinazione, file_))
        return Errore{.motivo = Motivo::StessoArchivio, .dettaglio = destinazione.string()};
    return CopiaSotto(destinazione, chiave(), quante);
}

Esito Archivio::CopiaSotto(const fs::path& destinazione, const Chiave& chiave, std::int64_t* quante) const {
    if (!db_) return Errore{.motivo = Motivo::Altro, .dettaglio = "archive not open"};
    // A backup replaces a file, never a folder, a device or a pipe of that
    // name (a link there is replaced, never written through).
    std::error_code ec;
    if (const auto stato = fs::symlink_status(destinazione, ec);
        fs::exists(stato) && !fs::is_regular_file(stato) && !fs::is_symlink(stato))
        return Errore{.motivo = Motivo::NonUnFile, .dettaglio = destinazione.string()};
    sistema::ErroreFile errore;
    const auto provvisorio = sistema::CreaFileAccanto(destinazione, errore);
    if (!provvisorio) return DaFile(errore);
    auto scarta = [&] {
        std::error_code ec;
        fs::remove(*provvisorio, ec);
        fs::remove(provvisorio->string() + "-journal", ec);
    };

    int rc = chiave.Allega(db_, *provvisorio, "copia");
    if (rc != SQLITE_OK) {
        Errore e = ErroreDa(rc);
        scarta();
        return e;
    }
    // The copy in the archive's own format, not in the library's defaults.
    // It is a new file of its own, thrown away whenever anything fails: it
    // needs no journal, and its pages stay in memory until the commit writes
    // them all. A full disk is then met by that write, and told by its own
    // code, never inside the export, which tells every failure as an error
    // of its own.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db_, "PRAGMA copia.journal_mode = OFF; PRAGMA cache_spill = OFF;", nullptr, nullptr, nullptr);
    // The rows of the athletes, then of each table of their records.
    using Conti = std::array<std::int64_t, 1 + TabelleDegliAtleti.size()>;
    auto conta = [](sqlite3* db) {
        Conti n;
        n[0] = ContaRighe(db, "atleta");
        for (std::size_t i = 0; i < TabelleDegliAtleti.size(); ++i) n[i + 1] = ContaRighe(db, TabelleDegliAtleti[i]);
        return n;
    };
    Conti righe;
    righe.fill(-1);
    // One read transaction: the copy is the archive at one moment, whatever
    // another window writes meanwhile.
    if (rc == SQLITE_OK) rc = EseguiCon(db_, "BEGIN;");
    std::optional<Errore> rifiuto;
    if (rc == SQLITE_OK) {
        righe = conta(db_);
        // What is copied is what is checked, at the same moment: an object
        // another program has put into the archive since it was opened never
        // reaches a backup.
        if (Esito controllo = ControllaTabella(); !controllo) rifiuto = controllo.errore();
        rc = rifiuto ? SQLITE_ABORT : EseguiCon(db_, "SELECT sqlcipher_export('copia');");
        if (rc == SQLITE_OK) rc = EseguiCon(db_, "DELETE FROM copia.atleta;");
        static const std::string ricopia = SqlRicopiaAtleti();
        if (rc == SQLITE_OK) rc = EseguiCon(db_, ricopia.c_str());
        rc = rc == SQLITE_OK ? EseguiCon(db_, "COMMIT;") : rc;
    }
    Errore e = rifiuto ? *rifiuto : rc == SQLITE_OK ? Errore{.motivo = Motivo::Nessuno, .dettaglio = {}} : ErroreDa(rc);
    if (!sqlite3_get_autocommit(db_)) EseguiCon(db_, "ROLLBACK;");
    EseguiCon(db_, "DETACH DATABASE copia;");
    EseguiCon(db_, "PRAGMA cache_spill = ON;");
    if (rc != SQLITE_OK) {
        scarta();
        return e;
    }

    // Read back before it takes the chosen name.
    Archivio letta;
    Esito esito = letta.ApriInLettura(*provvisorio, chiave);
    if (esito) esito = letta.Verifica();
    if (esito && conta(letta.db_) != righe)
        esito = Errore{.motivo = Motivo::Danneggiato, .dettaglio = "the copy does not hold every row"};
    letta.Chiudi();
    if (esito && !sistema::Sincronizza(*provvisorio)) esito = ErroreDiSistema(EIO, provvisorio->string());
    if (esito)
        if (auto r = sistema::Rinomina(*provvisorio, destinazione)) esito = DaFile(*r);
    if (!esito) scarta();
    if (esito && quante) *quante = righe[0];
    return esito;
}

fs::path NomeConservato(const fs::path& file, std::string_view data) {
    const fs::path cartella = file.parent_path();
    const std::string base = file.stem().string() + " " + std::string(data);
    const std::string estensione = file.extension().string();
    fs::path nome = cartella / (base + estensione);
    std::error_code ec;
    for (int n = 2; fs::exists(nome, ec) || fs::exists(nome.string() + "-journal", ec); ++n)
        nome = cartella / (base + " (" + std::to_string(n) + ")" + estensione);
    return nome;
}

namespace {

// Keeps the archive under the name `conservato` as well, leaving `file` in
// place: a second name for the same file where the file system has them, a
// copy elsewhere (a memory stick's FAT).
std::optional<sistema::ErroreFile> Conserva(const fs::path& file, const fs::path& conservato) {
    const auto collegato = sistema::CollegaFile(file, conservato);
    if (!collegato || collegato->numero == EEXIST) return collegato;
    return sistema::CopiaInNuovoFile(file, conservato);
}

}  // namespace

Esito VerificaRipristino(const fs::path& file, const fs::path& copia, const ChiediPassphrase& chiedi, Chiave* chiave) {
    if (sistema::StessoFile(copia, file)) return Errore{.motivo = Motivo::StessoArchivio, .dettaglio = copia.string()};
    return VerificaCopia(copia, chiedi, chiave);
}

Esito RipristinaArchivio(const fs::path& file, const fs::path& copia, std::string_view data, fs::path& conservato,
                         const ChiediPassphrase& chiedi) {
    Chiave chiave;
    if (Esito e = VerificaRipristino(file, copia, chiedi, &chiave); !e) return e;

    // The backup is copied beside the archive, and checked there, before
    // anything is renamed.
    sistema::ErroreFile errore;
    const auto provvisorio = sistema::CreaFileAccanto(file, errore);
    if (!provvisorio) return DaFile(errore);
    auto scarta = [&] {
        std::error_code ec;
        fs::remove(*provvisorio, ec);
    };
    if (auto r = sistema::CopiaContenuto(copia, *provvisorio)) {
        scarta();
        return DaFile(*r);
    }
    if (Esito e = VerificaConChiave(*provvisorio, chiave); !e) {
        scarta();
        return e;
    }

    // A journal beside the archive holds what a write cut short must undo
    // in it: the archive is opened once, which undoes it, before it is
    // replaced; a journal left with nothing to undo (a crash leaves one) is
    // removed. One that stays is another program's write under way.
    std::error_code ec;
    const fs::path giornale = file.string() + "-journal";
    if (fs::exists(fs::symlink_status(giornale, ec))) {
        Archivio a;
        Esito e = a.Apri(file);
        if (e) e = a.RecuperaGiornale();
        a.Chiudi();
        if (e && fs::exists(fs::symlink_status(giornale, ec)))
            e = Errore{.motivo = Motivo::InUso, .dettaglio = giornale.string()};
        if (!e) {
            scarta();
            return e;
        }
    }

    // At every moment "tvp.dmg" is either the old archive or the new one:
    // the old one gets its dated name beside its own, then the new one takes
    // the archive's name in one rename.
    conservato.clear();
    if (fs::exists(file, ec)) {
        std::optional<sistema::ErroreFile> r;
        for (int tentativo = 0; tentativo < 100; ++tentativo) {
            conservato = NomeConservato(file, data);
            r = Conserva(file, conservato);
            if (!r || r->numero != EEXIST) break;
        }
        if (r) {
            conservato.clear();
            scarta();
            return DaFile(*r);
        }
    }
    if (auto r = sistema::Rinomina(*provvisorio, file)) {
        if (!conservato.empty()) fs::remove(conservato, ec);
        conservato.clear();
        scarta();
        return DaFile(*r);
    }
    // The archive opens now with the backup's key.
    RicordaChiave(file, chiave);
    return {};
}

}  // namespace archivio
