#include "SupportoArchivio.h"

#include "FileSistema.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>
#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace prova {

std::string LeggiByte(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void ScriviByte(const fs::path& file, const std::string& byte) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(byte.data(), static_cast<std::streamsize>(byte.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::string> Contenuto(const fs::path& cartella) {
    std::vector<std::string> nomi;
    for (const auto& voce : fs::directory_iterator(cartella)) nomi.push_back(voce.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

std::vector<std::string> Sql(const fs::path& file, const std::string& chiave, const std::string& sql) {
    sqlite3* db = nullptr;
    std::vector<std::string> righe;
    int rc =
        sqlite3_open_v2(sistema::NomeStretto(file).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK && !chiave.empty())
        rc = sqlite3_exec(db, archivio::SqlChiave(chiave).c_str(), nullptr, nullptr, nullptr);
    auto raccogli = [](void* dati, int n, char** valori, char**) {
        auto* r = static_cast<std::vector<std::string>*>(dati);
        std::string riga;
        for (int i = 0; i < n; ++i) {
            if (i) riga += '|';
            if (valori[i]) riga += valori[i];
        }
        r->push_back(riga);
        return 0;
    };
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), raccogli, &righe, nullptr);
    if (rc != SQLITE_OK) righe = {std::string("ERRORE: ") + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc))};
    sqlite3_close_v2(db);
    return righe;
}

void CreaArchivio(const fs::path& file, const std::vector<archivio::Riga>& righe) {
    archivio::Archivio a;
    if (auto e = a.Apri(file); !e) throw std::runtime_error("cannot create archive: " + e.errore().dettaglio);
    if (auto e = a.AggiungiRighe(righe); !e) throw std::runtime_error("cannot fill archive: " + e.errore().dettaglio);
}

archivio::Riga RigaDi(const std::string& nome, std::initializer_list<std::pair<const char*, std::string>> campi) {
    archivio::Riga r;
    r[archivio::ColonnaNome] = nome;
    for (const auto& [colonna, valore] : campi) {
        auto i = archivio::IndiceColonna(colonna);
        if (!i) throw std::invalid_argument(colonna);
        r[*i] = valore;
    }
    return r;
}

std::vector<archivio::Riga> RigheNelFile(const fs::path& file) {
    archivio::Archivio a;
    std::vector<archivio::Riga> righe;
    std::vector<std::int64_t> id;
    std::vector<std::string> nomi;
    if (!a.Apri(file) || !a.ElencaRighe(id, nomi)) return righe;
    for (std::int64_t i : id) {
        archivio::Riga r;
        a.LeggiRiga(i, r);
        righe.push_back(r);
    }
    return righe;
}

const std::string& CampoDi(const archivio::Riga& riga, const char* colonna) {
    auto i = archivio::IndiceColonna(colonna);
    if (!i) throw std::invalid_argument(colonna);
    return riga[*i];
}

namespace {
#ifdef _WIN32
bool CambiaImmutabile(const fs::path&, bool) { return false; }  // no such mark on Windows
#else
bool CambiaImmutabile(const fs::path& p, bool attivo) {
    int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flag = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flag) == 0;
    if (ok) {
        flag = attivo ? (flag | FS_IMMUTABLE_FL) : (flag & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flag) == 0;
    }
    ::close(fd);
    return ok;
}
#endif
}  // namespace

SolaLettura::SolaLettura(fs::path percorso) : percorso_(std::move(percorso)) {
    std::error_code ec;
    permessi_ = fs::status(percorso_, ec).permissions();
    if (ec) return;
    fs::permissions(percorso_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove, ec);
    attivo_ = true;
#ifdef _WIN32
    // The read-only mark stops writing into a file, never into a folder; and
    // under Wine run as root not even into a file: tried, not assumed.
    riuscito_ = !ec && !fs::is_directory(percorso_) && sistema::ProvaScrittura(percorso_).has_value();
#else
    if (::geteuid() == 0) {
        immutabile_ = CambiaImmutabile(percorso_, true);
        riuscito_ = immutabile_;
    } else {
        riuscito_ = !ec;
    }
#endif
}

void SolaLettura::Rilascia() {
    if (!attivo_) return;
    if (immutabile_) CambiaImmutabile(percorso_, false);
    std::error_code ec;
    fs::permissions(percorso_, permessi_, fs::perm_options::replace, ec);
    attivo_ = false;
}

SolaLettura::~SolaLettura() { Rilascia(); }

BloccoArchivio::BloccoArchivio(const fs::path& file) {
    riuscito_ =
        sqlite3_open_v2(sistema::NomeStretto(file).c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_exec(db_, (archivio::SqlChiave() + " BEGIN EXCLUSIVE;").c_str(), nullptr, nullptr, nullptr) ==
            SQLITE_OK;
}

void BloccoArchivio::Rilascia() {
    if (!db_) return;
    sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

BloccoArchivio::~BloccoArchivio() { Rilascia(); }

archivio::Riga RigaGenerazione(int generazione) {
    archivio::Riga r;
    const std::string g = "g" + std::to_string(generazione);
    for (int i = 0; i < archivio::NumeroColonne; ++i) {
        if (archivio::ColonnaSiNo(i)) continue;
        r[i] = g + "-" + std::string(archivio::Colonne[static_cast<std::size_t>(i)]);
    }
    r[archivio::ColonnaAttivFis] = generazione % 2 ? "1" : "0";
    std::string nota;
    while (nota.size() < 6000) nota += g + " ";
    r[*archivio::IndiceColonna("note")] = nota;
    return r;
}

std::optional<int> GenerazioneDi(const archivio::Riga& riga) {
    const std::string& nome = riga[archivio::ColonnaNome];
    if (nome.size() < 2 || nome[0] != 'g') return std::nullopt;
    int g = 0;
    try {
        g = std::stoi(nome.substr(1));
    } catch (...) {
        return std::nullopt;
    }
    if (riga == RigaGenerazione(g)) return g;
    return std::nullopt;
}

archivio::Assetto AssettoGenerazione(int generazione, std::int64_t atleta) {
    archivio::Assetto a;
    a.atleta = atleta;
    a.data = "2024-01-01";
    a.disciplina = "strada";
    const std::string g = "g" + std::to_string(generazione);
    a.bici = g;
    int k = 0;
    for (auto& v : a.misure) v = g + "-" + std::to_string(k++);
    for (auto& v : a.risultati) v = g + "-" + std::to_string(k++);
    for (auto& v : a.propri) v = g + "-" + std::to_string(k++);
    for (auto& v : a.telaio) v = g + "-" + std::to_string(k++);
    while (a.note.size() < 6000) a.note += g + " ";
    return a;
}

std::optional<int> GenerazioneDi(const archivio::Assetto& assetto) {
    if (assetto.bici.size() < 2 || assetto.bici[0] != 'g') return std::nullopt;
    int g = 0;
    const auto [fine, ec] = std::from_chars(assetto.bici.data() + 1, assetto.bici.data() + assetto.bici.size(), g);
    if (ec != std::errc{} || fine != assetto.bici.data() + assetto.bici.size()) return std::nullopt;
    archivio::Assetto atteso = AssettoGenerazione(g, assetto.atleta);
    atteso.id = assetto.id;
    if (assetto == atteso) return g;
    return std::nullopt;
}

}  // namespace prova
