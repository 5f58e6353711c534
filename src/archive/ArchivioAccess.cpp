#include "ArchivioAccess.h"

#include "FileSistema.h"

#include <mdbtools.h>

#include <fcntl.h>
#include <iconv.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_map>

namespace fs = std::filesystem;

namespace archivio {

namespace {

// Every page of a Jet 4 file is 4 KB.
constexpr off_t PaginaJet4 = 4096;

// The longest text a column gives, in bytes: the old program's boxes typed
// at most 65,535 characters in the notes, three bytes each at most in
// UTF-8. A longer one would come back cut, and is refused.
constexpr std::size_t LunghezzaLegame = 256 * 1024;

// The file open for reading, closed at the end.
struct Descrittore {
    int fd = -1;
    ~Descrittore() {
        if (fd >= 0) ::close(fd);
    }
};

// Opens a regular file for reading (a pipe or a device would never end).
EsitoAccess ApriInLettura(const fs::path& file, Descrittore& d, off_t& lunghezza) {
    d.fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (d.fd < 0) {
        const int errore = errno;
        return {RifiutoAccess::Illeggibile, file.string() + ": " + std::strerror(errore), errore};
    }
    struct stat info {};
    if (::fstat(d.fd, &info) != 0) {
        const int errore = errno;
        return {RifiutoAccess::Illeggibile, file.string() + ": " + std::strerror(errore), errore};
    }
    if (!S_ISREG(info.st_mode)) return {RifiutoAccess::NonAccess, "not a file", 0};
    lunghezza = info.st_size;
    return {};
}

// What the first bytes of the file say: the magic number, "Standard Jet DB"
// or "Standard ACE DB", then the engine's version.
FormatoAccess Formato(int fd) {
    std::array<unsigned char, 0x18> testa{};
    if (::pread(fd, testa.data(), testa.size(), 0) != static_cast<ssize_t>(testa.size()))
        return FormatoAccess::NonAccess;
    static constexpr unsigned char Magico[4] = {0x00, 0x01, 0x00, 0x00};
    if (std::memcmp(testa.data(), Magico, sizeof Magico) != 0) return FormatoAccess::NonAccess;
    const auto nome = std::string_view(reinterpret_cast<const char*>(testa.data() + 4), 16);
    if (nome == std::string_view("Standard ACE DB\0", 16)) return FormatoAccess::Accdb;
    if (nome != std::string_view("Standard Jet DB\0", 16)) return FormatoAccess::NonAccess;
    const unsigned versione =
        testa[0x14] | testa[0x15] << 8 | testa[0x16] << 16 | static_cast<unsigned>(testa[0x17]) << 24;
    if (versione == 0) return FormatoAccess::Jet3;
    if (versione == 1) return FormatoAccess::Jet4;
    return FormatoAccess::Accdb;
}

bool StessoNome(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto minuscola = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return minuscola(x) == minuscola(y);
           });
}

// The text as stored, its line breaks CR LF made LF.
void CopiaTesto(std::string& destinazione, const char* testo, std::size_t lunghezza) {
    destinazione.clear();
    destinazione.reserve(lunghezza);
    for (std::size_t i = 0; i < lunghezza; ++i) {
        if (testo[i] == '\r' && i + 1 < lunghezza && testo[i + 1] == '\n') continue;
        destinazione += testo[i];
    }
}

struct ChiudiMdb {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct LiberaTabella {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

}  // namespace

FormatoAccess RiconosciAccess(const fs::path& file) {
    Descrittore d;
    off_t lunghezza = 0;
    if (!ApriInLettura(file, d, lunghezza)) return FormatoAccess::NonAccess;
    return Formato(d.fd);
}

namespace {

// The reading itself, through libmdb, of the file open as `fd`.
EsitoAccess LeggiConLibmdb(int fd, const std::function<bool(Riga& riga)>& ogni) {
    // The very file checked above, whatever happens to its name meanwhile;
    // opened for reading only.
    const std::string percorso = "/proc/self/fd/" + std::to_string(fd);
    std::unique_ptr<MdbHandle, ChiudiMdb> mdb(mdb_open(percorso.c_str(), MDB_NOFLAGS));
    if (!mdb) return {RifiutoAccess::Danneggiato, "header", 0};
    if (std::string_view(mdb_target_charset(mdb.get())) != "UTF-8")
        return {RifiutoAccess::Illeggibile, std::string("charset ") + mdb_target_charset(mdb.get()), 0};
    mdb_set_bind_size(mdb.get(), LunghezzaLegame);
    mdb_set_boolean_fmt_numbers(mdb.get());

    GPtrArray* catalogo = mdb_read_catalog(mdb.get(), MDB_TABLE);
    if (!catalogo) return {RifiutoAccess::Danneggiato, "catalog", 0};
    MdbCatalogEntry* voce = nullptr;
    for (guint i = 0; i < catalogo->len; ++i) {
        auto* v = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalogo, i));
        if (v->object_type == MDB_TABLE && StessoNome(v->object_name, "atleta")) {
            voce = v;
            break;
        }
    }
    if (!voce) return {RifiutoAccess::SenzaTabella, {}, 0};
    std::unique_ptr<MdbTableDef, LiberaTabella> tabella(mdb_read_table(voce));
    if (!tabella || !mdb_read_columns(tabella.get())) return {RifiutoAccess::Danneggiato, "atleta", 0};

    // Each of the program's columns in the old table, by name, and of its
    // type: texts (a note may be a memo), the yes/no a yes/no.
    std::array<int, NumeroColonne> posizione{};
    GPtrArray* colonne = tabella->columns;
    for (int c = 0; c < NumeroColonne; ++c) {
        const std::string_view nome = Colonne[static_cast<std::size_t>(c)];
        MdbColumn* trovata = nullptr;
        for (guint i = 0; i < colonne->len && !trovata; ++i) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(colonne, i));
            if (StessoNome(col->name, nome)) {
                trovata = col;
                posizione[static_cast<std::size_t>(c)] = static_cast<int>(i);
            }
        }
        if (!trovata) return {RifiutoAccess::ColonnaMancante, std::string(nome), 0};
        const bool adatta = ColonnaSiNo(c) ? trovata->col_type == MDB_BOOL
                                           : trovata->col_type == MDB_TEXT || trovata->col_type == MDB_MEMO;
        if (!adatta) return {RifiutoAccess::TipoColonna, std::string(nome), 0};
    }

    std::vector<char> legami(static_cast<std::size_t>(NumeroColonne) * LunghezzaLegame);
    std::array<int, NumeroColonne> lunghezze{};
    for (int c = 0; c < NumeroColonne; ++c)
        mdb_bind_column(tabella.get(), posizione[static_cast<std::size_t>(c)] + 1,
                        legami.data() + static_cast<std::size_t>(c) * LunghezzaLegame,
                        &lunghezze[static_cast<std::size_t>(c)]);

    mdb_rewind_table(tabella.get());
    Riga riga;
    std::size_t lette = 0;
    while (mdb_fetch_row(tabella.get())) {
        for (int c = 0; c < NumeroColonne; ++c) {
            const auto i = static_cast<std::size_t>(c);
            const char* valore = legami.data() + i * LunghezzaLegame;
            const auto n = static_cast<std::size_t>(std::max(lunghezze[i], 0));
            if (n >= LunghezzaLegame - 1) return {RifiutoAccess::Danneggiato, std::string(Colonne[i]), 0};
            if (ColonnaSiNo(c))
                riga[c] = n > 0 && valore[0] == '1' ? "1" : "0";
            else
                CopiaTesto(riga[c], valore, n);
        }
        ++lette;
        if (!ogni(riga)) return {};
    }
    // The table's own count of its rows: fewer read means pages lost.
    if (lette != tabella->num_rows) return {RifiutoAccess::Troncato, std::to_string(lette), 0};
    return {};
}

// libmdb trusts what the file says of itself: a damaged file can make it
// read out of bounds and crash. It reads in a child process of its own,
// which hands the rows over a pipe: a crash there is a damaged file refused,
// never the program gone. Each row is 'R' and its columns, each a length (4
// bytes) and its bytes; the end is 'E', the refusal, the system's error
// number and the detail.
class Scrittore {
public:
    explicit Scrittore(int fd) : fd_(fd) {}
    bool Riga(const archivio::Riga& riga) {
        buf_ += 'R';
        for (const std::string& v : riga.valori) Testo(v);
        return buf_.size() < (1u << 16) || Svuota();
    }
    void Fine(const EsitoAccess& e) {
        buf_ += 'E';
        Numero(static_cast<std::uint32_t>(e.rifiuto));
        Numero(static_cast<std::uint32_t>(e.errnoSistema));
        Testo(e.dettaglio);
        Svuota();
    }

private:
    void Numero(std::uint32_t n) {
        for (int i = 0; i < 4; ++i) buf_ += static_cast<char>(n >> (8 * i) & 0xff);
    }
    void Testo(const std::string& v) {
        Numero(static_cast<std::uint32_t>(v.size()));
        buf_ += v;
    }
    bool Svuota() {
        std::size_t fatto = 0;
        while (fatto < buf_.size()) {
            const ssize_t n = ::write(fd_, buf_.data() + fatto, buf_.size() - fatto);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            fatto += static_cast<std::size_t>(n);
        }
        buf_.clear();
        return true;
    }
    int fd_;
    std::string buf_;
};

class Lettore {
public:
    explicit Lettore(int fd) : fd_(fd) {}
    bool Byte(char& c) {
        if (pos_ == fine_ && !Riempi()) return false;
        c = buf_[pos_++];
        return true;
    }
    bool Numero(std::uint32_t& n) {
        n = 0;
        for (int i = 0; i < 4; ++i) {
            char c = 0;
            if (!Byte(c)) return false;
            n |= static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << (8 * i);
        }
        return true;
    }
    bool Testo(std::string& v) {
        std::uint32_t n = 0;
        if (!Numero(n) || n > LunghezzaLegame) return false;
        v.clear();
        while (v.size() < n) {
            if (pos_ == fine_ && !Riempi()) return false;
            const std::size_t parte = std::min<std::size_t>(n - v.size(), fine_ - pos_);
            v.append(buf_.data() + pos_, parte);
            pos_ += parte;
        }
        return true;
    }

private:
    bool Riempi() {
        for (;;) {
            const ssize_t n = ::read(fd_, buf_.data(), buf_.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            pos_ = 0;
            fine_ = static_cast<std::size_t>(n);
            return true;
        }
    }
    int fd_;
    std::array<char, 1 << 16> buf_{};
    std::size_t pos_ = 0, fine_ = 0;
};

}  // namespace

EsitoAccess LeggiAccess(const fs::path& file, const std::function<bool(Riga& riga)>& ogni) {
    Descrittore d;
    off_t lunghezza = 0;
    if (EsitoAccess e = ApriInLettura(file, d, lunghezza); !e) return e;
    switch (Formato(d.fd)) {
    case FormatoAccess::NonAccess: return {RifiutoAccess::NonAccess, {}, 0};
    case FormatoAccess::Jet3: return {RifiutoAccess::Jet3, {}, 0};
    case FormatoAccess::Accdb: return {RifiutoAccess::Accdb, {}, 0};
    case FormatoAccess::Jet4: break;
    }
    // A Jet file is whole pages: anything else was cut short.
    if (lunghezza % PaginaJet4 != 0 || lunghezza < 2 * PaginaJet4)
        return {RifiutoAccess::Troncato, std::to_string(lunghezza), 0};

    // The conversions libmdb asks for, loaded here: the child then finds
    // them ready rather than loading them in a copy of a process whose
    // other threads may hold the loader's locks.
    if (const iconv_t prova = ::iconv_open("UTF-8", "UCS-2LE"); prova != reinterpret_cast<iconv_t>(-1))
        ::iconv_close(prova);
    int tubo[2];
    if (::pipe2(tubo, O_CLOEXEC) != 0) {
        const int errore = errno;
        return {RifiutoAccess::Illeggibile, std::strerror(errore), errore};
    }
    const pid_t figlio = ::fork();
    if (figlio < 0) {
        const int errore = errno;
        ::close(tubo[0]);
        ::close(tubo[1]);
        return {RifiutoAccess::Illeggibile, std::strerror(errore), errore};
    }
    if (figlio == 0) {
        // The child: reads, writes, and leaves without running anything of
        // the parent's (no destructors, no exit handlers).
        ::close(tubo[0]);
        // libmdb's own warnings on a damaged file are no words for the
        // coach: the refusal says what is wrong.
        if (const int nulla = ::open("/dev/null", O_WRONLY | O_CLOEXEC); nulla >= 0) ::dup2(nulla, STDERR_FILENO);
        Scrittore scrittore(tubo[1]);
        const EsitoAccess esito = LeggiConLibmdb(d.fd, [&](Riga& riga) { return scrittore.Riga(riga); });
        scrittore.Fine(esito);
        ::_exit(0);
    }
    ::close(tubo[1]);
    Lettore lettore(tubo[0]);
    std::optional<EsitoAccess> esito;
    bool fermato = false;
    Riga riga;
    for (char tipo = 0; !esito && !fermato && lettore.Byte(tipo);) {
        if (tipo == 'R') {
            bool intera = true;
            for (std::string& v : riga.valori) intera = intera && lettore.Testo(v);
            if (!intera) break;
            fermato = !ogni(riga);
        } else if (tipo == 'E') {
            std::uint32_t rifiuto = 0, numero = 0;
            EsitoAccess e;
            if (!lettore.Numero(rifiuto) || !lettore.Numero(numero) || !lettore.Testo(e.dettaglio) ||
                rifiuto > static_cast<std::uint32_t>(RifiutoAccess::Illeggibile))
                break;
            e.rifiuto = static_cast<RifiutoAccess>(rifiuto);
            e.errnoSistema = static_cast<int>(numero);
            esito = e;
        } else {
            break;
        }
    }
    // Stopped by `ogni`, the rest is not wanted.
    if (fermato) ::kill(figlio, SIGKILL);
    ::close(tubo[0]);
    int stato = 0;
    while (::waitpid(figlio, &stato, 0) < 0 && errno == EINTR) {
    }
    if (fermato) return {};
    if (esito) return *esito;
    // The reader ended without its last word: libmdb crashed on the file.
    return {RifiutoAccess::Danneggiato, WIFSIGNALED(stato) ? "signal " + std::to_string(WTERMSIG(stato)) : "reader", 0};
}

namespace {

// The athletes an archive holds, to tell those of the file it holds already:
// each found is used once, so that the archive's two equal athletes stand
// for two of the file, not more.
class AtletiPresenti {
public:
    Esito Leggi(const Archivio& archivio) {
        archivio_ = &archivio;
        return archivio.ScorriRighe([this](std::int64_t id, const Riga& r) { presenti_.emplace(Impronta(r), id); });
    }
    // True (and that athlete used) when the archive holds one equal to `r`.
    bool Usa(const Riga& r) {
        if (!archivio_) return false;
        const auto [da, a] = presenti_.equal_range(Impronta(r));
        for (auto i = da; i != a; ++i) {
            Riga altra;
            if (archivio_->LeggiRiga(i->second, altra) && altra == r) {
                presenti_.erase(i);
                return true;
            }
        }
        return false;
    }

private:
    static std::size_t Impronta(const Riga& r) {
        std::string chiave;
        for (const std::string& v : r.valori) chiave += std::to_string(v.size()) + ':' + v;
        return std::hash<std::string>{}(chiave);
    }
    const Archivio* archivio_ = nullptr;
    std::unordered_multimap<std::size_t, std::int64_t> presenti_;
};

}  // namespace

EsitoAccess LeggiAnteprimaAccess(const fs::path& file, AnteprimaAccess& anteprima, const Archivio* archivio) {
    anteprima = {};
    AtletiPresenti presenti;
    if (archivio && !presenti.Leggi(*archivio)) return {RifiutoAccess::Illeggibile, "archive", 0};
    EsitoAccess e = LeggiAccess(file, [&](Riga& riga) {
        anteprima.giaPresenti += presenti.Usa(riga);
        if (anteprima.primi.size() < NomiAnteprima) anteprima.primi.push_back(std::move(riga[ColonnaNome]));
        ++anteprima.atleti;
        return true;
    });
    if (!e) anteprima = {};
    return e;
}

Esito ImportaAccess(Archivio& archivio, const fs::path& file, RiepilogoAccess& riepilogo) {
    riepilogo = {};
    const Esito esito = archivio.AggiungiInTransazione([&](const Archivio::Aggiungi& aggiungi, bool& conferma) {
        AtletiPresenti presenti;
        Esito errore = presenti.Leggi(archivio);
        if (!errore) return errore;
        riepilogo.lettura = LeggiAccess(file, [&](Riga& riga) {
            if (presenti.Usa(riga)) {
                ++riepilogo.giaPresenti;
                return true;
            }
            std::int64_t id = 0;
            errore = aggiungi(riga, id);
            if (!errore) return false;
            ++riepilogo.aggiunti;
            return true;
        });
        conferma = errore && riepilogo.lettura && riepilogo.aggiunti > 0;
        return errore;
    });
    riepilogo.scritto = esito && riepilogo.lettura && riepilogo.aggiunti > 0;
    if (!esito || !riepilogo.lettura) riepilogo.aggiunti = riepilogo.giaPresenti = 0;
    return esito;
}

fs::path NomeAccessConservato(const fs::path& file, std::string_view data) {
    const std::string base = file.string() + ".access-" + std::string(data);
    fs::path nome = base;
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(nome, ec)); ++n) nome = base + " (" + std::to_string(n) + ")";
    return nome;
}

Esito ConvertiAccess(const fs::path& file, std::string_view data, fs::path& conservato, RiepilogoAccess& riepilogo) {
    riepilogo = {};
    conservato.clear();
    // A file refused is refused before anything is made beside it.
    {
        Descrittore d;
        off_t lunghezza = 0;
        riepilogo.lettura = ApriInLettura(file, d, lunghezza);
        if (riepilogo.lettura && Formato(d.fd) != FormatoAccess::Jet4)
            riepilogo.lettura = LeggiAccess(file, [](Riga&) { return false; });
        if (!riepilogo.lettura) return {};
    }

    sistema::ErroreFile errore;
    const auto creato = sistema::CreaFileAccanto(file, errore);
    if (!creato) return ErroreDiSistema(errore.numero, "cannot create a file beside " + errore.dettaglio);
    const fs::path provvisorio = *creato;
    auto scarta = [&provvisorio] {
        std::error_code ec;
        fs::remove(provvisorio, ec);
        fs::remove(provvisorio.string() + "-journal", ec);
    };
    // The archive is made under that name, which only this run uses.
    std::error_code ec;
    fs::remove(provvisorio, ec);
    {
        Archivio nuovo;
        Esito e = nuovo.Apri(provvisorio);
        if (e) e = ImportaAccess(nuovo, file, riepilogo);
        if (!e || !riepilogo.lettura) {
            nuovo.Chiudi();
            scarta();
            return e;
        }
    }

    // Read back: every athlete there, the file sound, on the disk.
    {
        Archivio letto;
        Esito e = letto.ApriInLettura(provvisorio);
        if (e) e = letto.Verifica();
        std::vector<std::int64_t> id;
        std::vector<std::string> nomi;
        if (e) e = letto.ElencaRighe(id, nomi);
        if (e && id.size() != riepilogo.aggiunti)
            e = Errore{.motivo = Motivo::Danneggiato, .dettaglio = "the new archive does not hold every athlete"};
        letto.Chiudi();
        if (e && !sistema::Sincronizza(provvisorio)) e = ErroreDiSistema(EIO, provvisorio.string());
        if (!e) {
            scarta();
            riepilogo.aggiunti = 0;
            riepilogo.scritto = false;
            return e;
        }
    }

    // The old file keeps a second name (a copy where the file system has no
    // such links), then the new archive takes the file's name in one rename.
    std::optional<sistema::ErroreFile> r;
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        conservato = NomeAccessConservato(file, data);
        r = sistema::CollegaFile(file, conservato);
        if (r && r->numero != EEXIST) r = sistema::CopiaInNuovoFile(file, conservato);
        if (!r || r->numero != EEXIST) break;
    }
    if (!r && !sistema::Sincronizza(file.parent_path().empty() ? fs::path(".") : file.parent_path()))
        r = sistema::ErroreFile{EIO, file.parent_path().string()};
    if (!r) r = sistema::Rinomina(provvisorio, file);
    if (r) {
        if (!conservato.empty()) fs::remove(conservato, ec);
        conservato.clear();
        scarta();
        riepilogo.aggiunti = 0;
        riepilogo.scritto = false;
        return ErroreDiSistema(r->numero, r->dettaglio);
    }
    return {};
}

}  // namespace archivio
