// The athlete archive file: one SQLCipher database, "tvp.dmg", holding the
// table `atleta` and, beside it, the athletes' fittings (`atleta_assetti`)
// and their tests (`atleta_test`).
// Plain C++ over the SQLCipher C API, no Qt.
//
// Every operation reports a failure as a value (Esito); nothing throws out of
// this class. A file that cannot be opened is never written to: an existing
// file is only read until its key, its table and its columns are known good,
// and a missing one is built under a temporary name and moved into place only
// if no file of that name has appeared in the meantime.
//
// Every write is one transaction (rollback journal, full synchronisation):
// after a crash or a power cut the file holds each row as it was at its last
// completed write.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace sistema {
class Segreto;
}

namespace archivio {

// The columns of `atleta`, in the order the table is created with.
inline constexpr int NumeroColonne = 34;
inline constexpr std::array<std::string_view, NumeroColonne> Colonne{
    "nome",       "datanascita", "indirizzo", "tel",   "Email",       "bici",     "Societa",
    "Categoria",  "Tessera",     "Scadenza",  "sesso", "TipoImpiego", "AttivFis", "pulsazioniriposo",
    "cavallo",    "busto",       "coscia",    "gamba", "braccio",     "spalle",   "altezza",
    "peso",       "sella",       "myHS",      "myDSM", "mySM",        "myR",      "myPE",
    "MarcaSella", "Manubrio",    "Gruppo",    "Ruote", "pedali",      "note"};

// Index of a column by its exact name; nothing for an unknown name.
std::optional<int> IndiceColonna(std::string_view nome);

inline constexpr int ColonnaNome = 0;
inline constexpr int ColonnaAttivFis = 12;

// The one yes/no column; every other column holds text.
constexpr bool ColonnaSiNo(int colonna) { return colonna == ColonnaAttivFis; }

// The key the archive is encrypted with.
inline constexpr std::string_view ChiaveArchivio = "quintobarle";

// The statements that open an encrypted archive on a new connection: the key,
// then the cipher settings of the archive's format (SqlFormatoCifratura).
std::string SqlChiave(std::string_view chiave = ChiaveArchivio);
// The archive's format, whatever the library's defaults: SQLCipher 3's
// settings (1 KB pages, 64,000 iterations of PBKDF2-HMAC-SHA1 to derive the
// key, an HMAC-SHA1 on every page). SQLCipher 3 (Debian 12) and SQLCipher 4
// (Debian 13, whose own defaults differ) then read and write the same files.
// `schema`: the main database, or an attached one, after its key is given
// and before it is first read. Settings a release does not know are ignored
// by it.
std::string SqlFormatoCifratura(std::string_view schema = "main");

// The program's own tables beside `atleta`, made by this version or a later
// one, are named "atleta_..." (the athletes' fittings, their tests); an
// archive may hold them, with their indexes.
inline constexpr std::string_view PrefissoTabelleProprie = "atleta_";

// One row: a text per column. An empty text is a column without value (stored
// as NULL). The yes/no column holds "1" for yes and "0" for no.
struct Riga {
    std::array<std::string, NumeroColonne> valori;

    Riga() { valori[ColonnaAttivFis] = "0"; }
    std::string& operator[](int colonna) { return valori[static_cast<std::size_t>(colonna)]; }
    const std::string& operator[](int colonna) const { return valori[static_cast<std::size_t>(colonna)]; }
    bool vuota() const { return *this == Riga(); }
    friend bool operator==(const Riga&, const Riga&) = default;
};

// What went wrong, in terms a message to the user can be built from.
enum class Motivo {
    Nessuno,
    NonArchivio,          // not a database, or not one this key opens
    Danneggiato,          // the database is damaged
    InUso,                // locked by another program
    SolaLettura,          // the file or its folder cannot be written
    DiscoPieno,           // no space left, or the file size limit reached
    AccessoNegato,        // the system refuses access
    Inesistente,          // the file's folder does not exist
    FileMancante,         // the folder is there, the file is not
    SenzaTabella,         // a database without the table `atleta`
    ColonnaMancante,      // the table lacks one of the columns (named in dettaglio; "atleta_assetti.x" for the
                          // fittings', "atleta_test.x" for the tests')
    TabellaEstranea,      // `atleta` is not the program's table (dettaglio: "view", "without rowid", "definition"),
                          // or the fittings' or the tests' table is not (dettaglio: "atleta_assetti." or
                          // "atleta_test." and the column)
    OggettoEstraneo,      // an object the program does not make (dettaglio: its kind and name, 'trigger "x"')
    IndiceEstraneo,       // an index on the fittings' or the tests' table that refuses equal values, or is on an
                          // expression or on part of the rows (dettaglio: "atleta_assetti." or "atleta_test." and
                          // the index's name)
    StessoArchivio,       // the file given is the open archive itself (whatever the path)
    TroppoGrande,         // a file longer than the program reads (dettaglio: the limit in bytes)
    NonUnFile,            // a folder, a device or a pipe where a file was expected
    RigaMancante,         // the row is no longer in the table
    AssettoPiuRecente,    // a fitting recorded by a newer version of the program: shown, never changed
    TestPiuRecente,       // a test recorded by a newer version of the program: shown, never changed
    ErroreDisco,          // another input/output error
    PassphraseRichiesta,  // the archive is locked by a passphrase, and none was given (or the coach gave up)
    PassphraseErrata,     // the passphrase given does not open the file: wrong, or not an archive of this program
    Altro,
};

struct Errore {
    Motivo motivo = Motivo::Altro;
    int codiceSqlite = 0;   // extended result code, 0 when the fault is not SQLite's
    int errnoSistema = 0;   // the system's error number behind it, when known
    std::string dettaglio;  // technical text (SQLite's or the system's), or the missing column
};

// Success, or the error that stopped the operation.
class Esito {
public:
    Esito() = default;
    Esito(Errore e) : errore_(std::move(e)) {}  // NOLINT: an error is a failed outcome
    bool ok() const { return !errore_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Errore& errore() const { return *errore_; }

private:
    std::optional<Errore> errore_;
};

// The athletes' fittings, in the table `atleta_assetti` beside `atleta`: a
// fitter records an athlete's fit again and again, over time and on more
// than one bike. Each fitting belongs to the row id of its athlete, never to
// a name.
inline constexpr std::string_view TabellaAssetti = "atleta_assetti";
// The format of the fittings this version writes. A row of a later format is
// read all the same (its table may hold more columns), and never changed.
inline constexpr std::int64_t VersioneAssetti = 1;

// The columns of a fitting, in the order of the fields of Assetto.
inline constexpr std::array<std::string_view, 7> ColonneMisure{"cavallo", "busto",  "coscia", "gamba",
                                                               "braccio", "spalle", "sella"};
inline constexpr std::array<std::string_view, 10> ColonneRisultati{"TP",   "TO", "PE",  "alfa", "piega",
                                                                   "pipa", "HS", "DSM", "SM",   "R"};
inline constexpr std::array<std::string_view, 5> ColonnePropri{"myHS", "myDSM", "mySM", "myR", "myPE"};
inline constexpr std::array<std::string_view, 8> ColonneTelaio{"stack",    "reach",   "angolo_sterzo",  "cappellotto",
                                                               "spessori", "attacco", "angolo_attacco", "morsetto"};
// The codes of the disciplines a fitting is for.
inline constexpr std::array<std::string_view, 5> Discipline{"strada", "crono", "gravel", "mtb", "pista"};

// One fitting. Every value is a text, an empty one stored without value.
struct Assetto {
    std::int64_t id = 0;                      // given when it is recorded
    std::int64_t atleta = 0;                  // the athlete's row id in `atleta`
    std::int64_t versione = VersioneAssetti;  // the format of the row
    std::string data;                         // yyyy-mm-dd
    std::string bici;
    std::string disciplina;                 // one of Discipline
    std::array<std::string, 7> misure;      // the measures as typed (ColonneMisure)
    std::array<std::string, 10> risultati;  // the results as shown (ColonneRisultati)
    std::array<std::string, 5> propri;      // the athlete's own set-up (ColonnePropri)
    std::array<std::string, 8> telaio;      // frame and cockpit, empty when not given (ColonneTelaio)
    std::string note;
    friend bool operator==(const Assetto&, const Assetto&) = default;
};

// The athletes' tests, in the table `atleta_test` beside `atleta`: a coach
// tests an athlete several times a season. Like a fitting, each test belongs
// to the row id of its athlete.
inline constexpr std::string_view TabellaTest = "atleta_test";
// The format of the tests this version writes; a later one is read all the
// same, and never changed.
inline constexpr std::int64_t VersioneTest = 1;

// One test. Every value is a text, an empty one stored without value; any of
// the three measures may be missing.
struct TestAtleta {
    std::int64_t id = 0;                   // given when it is recorded
    std::int64_t atleta = 0;               // the athlete's row id in `atleta`
    std::int64_t versione = VersioneTest;  // the format of the row
    std::string data;                      // yyyy-mm-dd
    std::string fcmax;                     // the maximum heart rate measured, bpm
    std::string lthr;                      // the heart rate at the lactate threshold, bpm
    std::string ftp;                       // the functional threshold power, W
    std::string peso;                      // the weight on the day, kg
    std::string note;
    friend bool operator==(const TestAtleta&, const TestAtleta&) = default;
};

// The program's tables of the athletes' records beside `atleta`: each row
// names its athlete's row id, goes with its athlete and is kept with it by
// a backup.
inline constexpr std::array<std::string_view, 2> TabelleDegliAtleti{TabellaAssetti, TabellaTest};

// How one of those tables is made, read and written (in Archivio.cpp).
struct DescrizioneTabella;

// The key an archive is opened with (ChiavePersonale.h).
class Chiave;

// A change of one column, for ScriviCampi.
struct Campo {
    int colonna;
    std::string valore;
};

class Archivio {
public:
    Archivio();
    ~Archivio();
    Archivio(const Archivio&) = delete;
    Archivio& operator=(const Archivio&) = delete;
    Archivio(Archivio&& altro) noexcept;
    Archivio& operator=(Archivio&& altro) noexcept;

    // Opens the archive file, creating it (table, no rows, owner-only access)
    // when it does not exist. On failure the object stays closed and an
    // existing file is left exactly as it was.
    // An existing file opens with the key remembered for it in this run
    // (ChiaveRicordata), else with the program's fixed key; a file that has
    // a passphrase then fails with PassphraseRichiesta. A new file is made
    // under the fixed key.
    Esito Apri(const std::filesystem::path& file);
    // Opens an existing archive under `chiave`: PassphraseErrata when a key
    // from a passphrase does not open it.
    Esito Apri(const std::filesystem::path& file, const Chiave& chiave);
    void Chiudi();
    // The key the archive is open with (the fixed key when closed).
    const Chiave& chiave() const;
    // True when it is open under a key from a passphrase.
    bool protetto() const;
    bool aperto() const { return db_ != nullptr; }
    // True when the last Apri built a new file.
    bool creato() const { return creato_; }
    // True when the file could only be opened for reading. Each write first
    // tries again to open it for writing, so that a file made writable while
    // it is open takes the write.
    bool solaLettura() const;
    const std::filesystem::path& file() const { return file_; }

    // Row ids and names of every row, in table (rowid) order. A name without
    // value comes back as the empty text.
    Esito ElencaRighe(std::vector<std::int64_t>& id, std::vector<std::string>& nomi) const;
    // Changes whenever the table may have changed: a write through this
    // connection, or one committed by any other connection to the file.
    std::uint64_t Versione() const;
    // A number no other opening of an archive in this program has had.
    std::uint64_t Apertura() const { return apertura_; }
    Esito LeggiRiga(std::int64_t id, Riga& riga) const;
    // Every row, in table order, read in one statement.
    Esito LeggiTutte(std::vector<Riga>& righe) const;
    // Writes the given columns of one row, in one transaction.
    Esito ScriviCampi(std::int64_t id, const std::vector<Campo>& campi);
    // Appends a row at the end of the table, in one transaction.
    Esito AggiungiRiga(const Riga& riga, std::int64_t& nuovoId);
    // Appends many rows in a single transaction (archives built in one go).
    Esito AggiungiRighe(const std::vector<Riga>& righe);
    // Every row with its id, in table order, handed over one at a time: the
    // table is never held whole.
    Esito ScorriRighe(const std::function<void(std::int64_t id, const Riga& riga)>& ogni) const;
    // Appends rows in one transaction, as `lavoro` hands them to `aggiungi`
    // (which tells each new row's id). What `lavoro` says in `conferma` at its
    // end decides whether they are kept; an error of an append or of
    // `lavoro` undoes them all, and is returned.
    using Aggiungi = std::function<Esito(const Riga& riga, std::int64_t& nuovoId)>;
    Esito AggiungiInTransazione(const std::function<Esito(const Aggiungi& aggiungi, bool& conferma)>& lavoro);
    // Deletes the row, the athlete's fittings and tests, in one transaction.
    Esito EliminaRiga(std::int64_t id);

    // Records a fitting of the athlete `a.atleta` in one transaction, in this
    // version's format whatever `a.versione` says, and tells its id. Fails
    // (RigaMancante) when the athlete is not in the table, and refuses a date
    // that is not yyyy-mm-dd and a discipline it does not know.
    Esito RegistraAssetto(const Assetto& a, std::int64_t& nuovoId);
    // The athlete's fittings, newest first (by date, then by the order they
    // were recorded in). An archive without the table has none.
    Esito LeggiAssetti(std::int64_t atleta, std::vector<Assetto>& assetti) const;
    // How many fittings the athlete has.
    Esito ContaAssetti(std::int64_t atleta, std::int64_t& n) const;
    // Deletes one fitting in one transaction; refuses one of a later format
    // (AssettoPiuRecente).
    Esito EliminaAssetto(std::int64_t id);

    // Records a test of the athlete `t.atleta` in one transaction, in this
    // version's format whatever `t.versione` says, and tells its id. Fails
    // (RigaMancante) when the athlete is not in the table, and refuses a date
    // that is not yyyy-mm-dd.
    Esito RegistraTest(const TestAtleta& t, std::int64_t& nuovoId);
    // Changes the date, the values and the notes of the test `t.id`, in one
    // transaction. The test must be the athlete `t.atleta`'s (RigaMancante
    // otherwise, as when there is no such test): it never moves to another
    // athlete. Refuses a test of a later format (TestPiuRecente) and a date
    // that is not yyyy-mm-dd.
    Esito ModificaTest(const TestAtleta& t);
    // The athlete's tests, newest first (by date, then by the order they were
    // recorded in). An archive without the table has none.
    Esito LeggiTest(std::int64_t atleta, std::vector<TestAtleta>& test) const;
    // How many tests the athlete has.
    Esito ContaTest(std::int64_t atleta, std::int64_t& n) const;
    // Deletes one test in one transaction; refuses one of a later format
    // (TestPiuRecente).
    Esito EliminaTest(std::int64_t id);

    // Opens an existing archive only to read it (a backup to check): never
    // created, never written; every write is refused (SolaLettura).
    Esito ApriInLettura(const std::filesystem::path& file);
    Esito ApriInLettura(const std::filesystem::path& file, const Chiave& chiave);
    // SQLite's quick check of the whole file.
    Esito Verifica() const;
    // Deals with a journal beside the file, as after a crash: the file is
    // read, which rolls back a write cut short; a journal that stays and no
    // program holds (empty, or with nothing to undo) is removed. One that
    // another program's write under way holds is InUso.
    Esito RecuperaGiornale();
    // Writes a consistent copy of the archive (one read transaction),
    // encrypted with the same key (a passphrase's too: the copy opens with
    // the archive's passphrase), to `destinazione`: built beside it, read
    // back, and moved into place only when complete; `righe`: how many
    // athletes the copy holds. The athletes keep their row ids, and so every
    // fitting and every test its athlete. See CopiaArchivio.h.
    Esito CopiaIn(const std::filesystem::path& destinazione, std::int64_t* righe = nullptr) const;

    // How long a locked file is waited for before giving up, in milliseconds.
    static inline int AttesaBloccoMs = 1500;

private:
    friend Esito CambiaPassphrase(const std::filesystem::path& file, const Chiave& attuale,
                                  const sistema::Segreto* nuova);
    // CopiaIn under `chiave`; the copy replaces `destinazione` when it is
    // known good, whatever file that is (the archive itself, rewritten under
    // a new key).
    Esito CopiaSotto(const std::filesystem::path& destinazione, const Chiave& chiave, std::int64_t* quante) const;
    Esito ApriEsistente(const std::filesystem::path& file, bool soloLettura = false);
    // The key of the next ApriEsistente: the one given, or remembered for
    // the file, or the fixed one.
    void ScegliChiave(const std::filesystem::path& file, const Chiave* chiave);
    void RiapriSeSolaLettura();
    // Before a write transaction: the file must still take writes. A file
    // made read-only while it is open would otherwise refuse the write only
    // after its journal was written, and that journal would keep the next
    // start from reading the file at all.
    Esito PrimaDiScrivere();
    Esito ControllaTabella() const;
    Esito ControllaSchema() const;
    // `atleta` as the program makes it, from what SQLite says of it and from
    // its CREATE statement `sql`.
    Esito ControllaAtleta(const std::string& sql) const;
    // The indexes of the fittings' and the tests' tables.
    Esito ControllaIndici() const;
    Esito Transazione(const char* sql);
    // The start of every write: the archive open and still taking writes.
    Esito PrepararsiAScrivere();
    // The work in one immediate transaction: committed when it succeeds,
    // rolled back otherwise.
    Esito InTransazione(const std::function<Esito()>& lavoro);
    Errore ErroreDa(int codice) const;
    sqlite3_stmt* Prepara(sqlite3_stmt*& cache, const char* sql) const;
    Esito InserisciConPreparata(const Riga& riga, std::int64_t* nuovoId);
    // Runs a statement whose one parameter is a row id.
    Esito EseguiConId(const char* sql, std::int64_t id);
    // The tables of TabelleDegliAtleti, each described by a DescrizioneTabella.
    //
    // What the file holds under the table's name: nothing, this program's
    // table, or one that is not (`estranea`: why its rows cannot be read or
    // written there).
    struct StatoTabella {
        bool presente = false;
        std::optional<Errore> estranea;
    };
    Esito LeggiStato(const DescrizioneTabella& t, StatoTabella& stato) const;
    // The table, for its reads and writes: absent (`presente` false), or this
    // program's; a table that is not is an error.
    Esito TabellaPropria(const DescrizioneTabella& t, bool& presente) const;
    // At open: the tables missing added to an archive that can take them.
    void AggiungiTabelleMancanti();
    // At the start of every transaction that appends athletes: a new row
    // takes the row id after the largest, which may be the one that fittings
    // or tests left behind by an older version still name. They are deleted
    // first.
    Esito ScartaOrfani();
    // A row of the athlete `atleta` with its texts (in the order of the
    // table's), in this version's format; the table made when missing.
    Esito RegistraVoce(const DescrizioneTabella& t, std::int64_t atleta, std::span<const std::string* const> testi,
                       std::int64_t& nuovoId);
    // The athlete's rows, newest first, handed over one at a time with their
    // texts (which `ogni` may move from).
    using OgniVoce = std::function<void(std::int64_t id, std::int64_t atleta, std::int64_t versione,
                                        std::vector<std::string>& testi)>;
    Esito LeggiVoci(const DescrizioneTabella& t, std::int64_t atleta, const OgniVoce& ogni) const;
    Esito ContaVoci(const DescrizioneTabella& t, std::int64_t atleta, std::int64_t& n) const;
    // Inside a transaction: the row `id` is there, in a format this version
    // writes, and (when `atleta` is given) that athlete's.
    Esito VoceModificabile(const DescrizioneTabella& t, std::int64_t id, std::optional<std::int64_t> atleta);
    Esito ModificaVoce(const DescrizioneTabella& t, std::int64_t id, std::int64_t atleta,
                       std::span<const std::string* const> testi);
    Esito EliminaVoce(const DescrizioneTabella& t, std::int64_t id);

    sqlite3* db_ = nullptr;
    std::unique_ptr<Chiave> chiave_;  // never null
    std::uint64_t scritture_ = 0;     // writes through this object, reopenings included
    std::uint64_t apertura_ = 0;
    std::filesystem::path file_;
    bool creato_ = false;
    bool soloLettura_ = false;  // opened by ApriInLettura
    mutable sqlite3_stmt* stmtLeggi_ = nullptr;
    mutable sqlite3_stmt* stmtElenca_ = nullptr;
    mutable sqlite3_stmt* stmtInserisci_ = nullptr;
};

// A fault outside SQLite (creating the file), as an Errore.
Errore ErroreDiSistema(int numeroErrore, std::string dettaglio);
// The error of a file that is not there, told apart from one whose folder is
// not there either.
Errore ConCartella(Errore errore, const std::filesystem::path& file);

}  // namespace archivio
