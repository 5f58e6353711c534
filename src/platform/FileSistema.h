// The few operations on files that the program needs from its operating
// system, in one place: a file replaced whole or not at all, a temporary file
// beside another, syncing a folder. Every other file of the program reaches
// the system's file calls through here.
// Why not QSaveFile: it writes through a link planted at the name, keeps the
// old file's permissions instead of owner-only, and never syncs the folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sistema {

// Where a file operation failed: the system's error number and a phrase.
struct ErroreFile {
    int numero = 0;
    std::string dettaglio;
};

// Replaces `file` with `byte`: written to a temporary file beside it, every
// write checked, synced to disk and renamed over it, so the file is always
// either the old or the new one and never half-written. The file gets
// `permessi`, whatever stood under its name before; a link there is replaced,
// never written through. Nothing on success.
std::optional<ErroreFile> ScriviFileAtomico(const std::filesystem::path& file, std::string_view byte,
                                            std::filesystem::perms permessi = std::filesystem::perms::owner_read |
                                                                              std::filesystem::perms::owner_write);

// A new, empty, owner-only file beside `file`, under a unique name that
// starts with the file's own name ("tvp.dmg.tmp-<process>-XXXXXX"); or the
// error. It is noted in the registry of temporary files, if one is set, so
// that a run that ends before it is renamed or removed leaves nothing behind.
std::optional<std::filesystem::path> CreaFileAccanto(const std::filesystem::path& file, ErroreFile& errore);

// The registry CreaFileAccanto notes its files in (a file in the program's
// own data folder, whose own temporary files are not noted: they are found
// there).
void ImpostaRegistroProvvisori(const std::filesystem::path& registro);

// True when the name is one CreaFileAccanto gives (or its SQLite journal).
bool NomeProvvisorio(const std::string& nome);

// Removes the temporary files of earlier runs that ended without removing
// them (killed, a power cut): those noted in the registry, and those in the
// given folders. A file is removed only when it is a regular file of this
// user under such a name, and the process that made it is no longer running.
// Returns how many were removed.
std::size_t RimuoviProvvisoriAbbandonati(const std::vector<std::filesystem::path>& cartelle);

// Makes `a` a copy of `da`, owner-only, whole or not at all: an existing `a`
// is never replaced (the error number EEXIST). Nothing on success.
std::optional<ErroreFile> CopiaInNuovoFile(const std::filesystem::path& da, const std::filesystem::path& a);

// Copies the file `da` over the existing file `a` and syncs it to disk.
std::optional<ErroreFile> CopiaContenuto(const std::filesystem::path& da, const std::filesystem::path& a);

// Makes `a` a second name of the file `da` (a hard link); the error number
// EEXIST when the name is taken, EPERM, EXDEV or ENOTSUP where the file
// system has no such links.
std::optional<ErroreFile> CollegaFile(const std::filesystem::path& da, const std::filesystem::path& a);

// Renames `da` to `a`, replacing `a`; syncs the folder. Nothing on success.
std::optional<ErroreFile> Rinomina(const std::filesystem::path& da, const std::filesystem::path& a);

// Moves `da` to `a` unless a file of that name exists: nothing on success;
// the error number EEXIST when the name is taken.
std::optional<ErroreFile> SpostaSenzaSostituire(const std::filesystem::path& da, const std::filesystem::path& a);

// True when a new file can be created in the folder: tried, not guessed from
// the permission bits (which neither root nor a read-only medium respect).
bool CartellaScrivibile(const std::filesystem::path& cartella);

// Creates the folder owner-only (its parent must exist); false when it could
// not be created.
bool CreaCartellaPrivata(const std::filesystem::path& cartella);

// Nothing when the existing file can be opened for writing now; else why not.
std::optional<ErroreFile> ProvaScrittura(const std::filesystem::path& file);

// What tells one file from another on the system (device and file number):
// the same path gives another identity once the file is replaced. Nothing
// when the file is not there.
std::optional<std::pair<std::uint64_t, std::uint64_t>> IdentitaFile(const std::filesystem::path& file);

// True when both paths name one existing file (the same device and file
// number), however they are spelt: through a link, a hard link, "..".
bool StessoFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Syncs a file's contents, or a folder's entries, to disk. False on failure.
bool Sincronizza(const std::filesystem::path& percorso);

// The path as the narrow (char) calls of C libraries take it, SQLite's
// included: its bytes on Linux, UTF-8 on Windows (where UTF-8 is also this
// program's code page).
std::string NomeStretto(const std::filesystem::path& percorso);

// Reads a whole file, at most `massimo` bytes; nothing (and the error) when
// it cannot be read or is longer.
std::optional<std::string> LeggiFile(const std::filesystem::path& file, std::uintmax_t massimo, ErroreFile& errore);

}  // namespace sistema
