// Backups of the archive: a consistent, encrypted copy of the open archive
// (Archivio::CopiaIn), the check that a file is such a copy, and the archive
// replaced by a copy once the copy is known good, the replaced archive kept
// beside it under a dated name.
#pragma once

#include "Archivio.h"
#include "ChiavePersonale.h"

#include <filesystem>
#include <string_view>

namespace archivio {

// True when `copia` is an archive of this program: it opens with the key,
// holds the athlete table with every column, and passes SQLite's quick check.
// Never writes to it. A copy locked by a passphrase is opened with the one
// `chiedi` is asked for (ChiaveDelFile); the key it opened with is given in
// `chiave`, when asked for.
Esito VerificaCopia(const std::filesystem::path& copia, const ChiediPassphrase& chiedi = {}, Chiave* chiave = nullptr);

// True when `copia` can replace the archive `file`: it passes VerificaCopia
// and is not the archive itself, by whatever path it is reached.
Esito VerificaRipristino(const std::filesystem::path& file, const std::filesystem::path& copia,
                         const ChiediPassphrase& chiedi = {}, Chiave* chiave = nullptr);

// The name the replaced archive is kept under: "tvp 2026-12-09 11.42.dmg"
// beside it, with " (2)", " (3)" ... when that name is taken.
std::filesystem::path NomeConservato(const std::filesystem::path& file, std::string_view data);

// Replaces the archive `file` with the backup `copia`, once VerificaRipristino
// passes; the archive replaced is kept as NomeConservato(file, data), its
// name given in `conservato`. At every moment `file` is either the old
// archive or the new one, whenever the program is stopped; when anything
// fails it is the old one. No connection may be open on `file`.
// A backup with a passphrase asks `chiedi` for it; once restored, the
// archive opens with the backup's key, remembered for `file` (or forgotten,
// for a backup without a passphrase).
Esito RipristinaArchivio(const std::filesystem::path& file, const std::filesystem::path& copia, std::string_view data,
                         std::filesystem::path& conservato, const ChiediPassphrase& chiedi = {});

}  // namespace archivio
