// Helpers of the archive tests: raw SQLCipher files, whole-file bytes, a file
// made read-only even for root, and the rows the crash test writes.
#pragma once

#include "Archivio.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace prova {

std::string LeggiByte(const std::filesystem::path& file);
void ScriviByte(const std::filesystem::path& file, const std::string& byte);
// Names of the entries of a folder, sorted.
std::vector<std::string> Contenuto(const std::filesystem::path& cartella);

// Runs SQL on a database file with the given key (none: a plain SQLite file).
// One text per row, its columns joined by "|", or the error message
// prefixed with "ERRORE: ".
std::vector<std::string> Sql(const std::filesystem::path& file, const std::string& chiave, const std::string& sql);

// A fresh archive with the given rows (through the store).
void CreaArchivio(const std::filesystem::path& file, const std::vector<archivio::Riga>& righe);
archivio::Riga RigaDi(const std::string& nome, std::initializer_list<std::pair<const char*, std::string>> campi = {});
// The rows of an archive file in table order, read through a connection of
// their own; none when it cannot be read.
std::vector<archivio::Riga> RigheNelFile(const std::filesystem::path& file);
// One column of a row, by name.
const std::string& CampoDi(const archivio::Riga& riga, const char* colonna);

// Makes a file (or folder) unwritable for this process while it lives: its
// write permissions go, and for root, who ignores them, the file becomes
// immutable. riuscito() is false when neither can be done here.
class SolaLettura {
public:
    explicit SolaLettura(std::filesystem::path percorso);
    ~SolaLettura();
    SolaLettura(const SolaLettura&) = delete;
    SolaLettura& operator=(const SolaLettura&) = delete;
    bool riuscito() const { return riuscito_; }
    void Rilascia();

private:
    std::filesystem::path percorso_;
    std::filesystem::perms permessi_{};
    bool immutabile_ = false;
    bool riuscito_ = false;
    bool attivo_ = false;
};

// Holds the archive locked, as another program writing to it would, while it
// lives.
class BloccoArchivio {
public:
    explicit BloccoArchivio(const std::filesystem::path& file);
    ~BloccoArchivio();
    BloccoArchivio(const BloccoArchivio&) = delete;
    BloccoArchivio& operator=(const BloccoArchivio&) = delete;
    bool riuscito() const { return riuscito_; }
    void Rilascia();

private:
    struct sqlite3* db_ = nullptr;
    bool riuscito_ = false;
};

// The rows of the crash test: generation g fills every text column with a text
// that names g and the column, and a long note, so that a row written halfway
// shows mixed generations.
archivio::Riga RigaGenerazione(int generazione);
// The generation of a row, or nothing when its columns disagree.
std::optional<int> GenerazioneDi(const archivio::Riga& riga);
// The fitting of the crash test recorded for the athlete's row of generation
// g, its texts named the same way; and the generation of a fitting read back.
archivio::Assetto AssettoGenerazione(int generazione, std::int64_t atleta);
std::optional<int> GenerazioneDi(const archivio::Assetto& assetto);

}  // namespace prova
