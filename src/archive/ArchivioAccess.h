// The archive of the earlier program: a Microsoft Access 2000 (Jet 4) file,
// "tvp.dmg", holding the table `atleta` with the 34 columns of this
// program's. Read with mdbtools' libmdb, never written: its athletes are
// added to an archive of this program, or the file is converted into one
// and kept beside it, untouched.
// Plain C++ over libmdb, no Qt.
//
// What was stored is carried as it stands: every text as the old file holds
// it (no rule of the windows applied to it), a column without value as the
// empty text, the yes/no column as "1" or "0", line breaks CR LF as LF. Two
// athletes of one name stay two, in the old file's order.
//
// A file that is not Access 2000 (Access 97, Access 2007 and later), a table
// without the program's columns, a truncated or damaged file are refused
// with the reason, before anything is written.
#pragma once

#include "Archivio.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace archivio {

// What the first page of a file says it is.
enum class FormatoAccess {
    NonAccess,  // not an Access database at all
    Jet3,       // Access 97 and earlier
    Jet4,       // Access 2000 to 2003: the earlier program's archive
    Accdb,      // Access 2007 and later
};

// Reads the start of the file only; anything that is not a regular file, or
// cannot be read, is NonAccess.
FormatoAccess RiconosciAccess(const std::filesystem::path& file);

// Why an Access file is not read.
enum class RifiutoAccess {
    Nessuno,
    NonAccess,        // not an Access database
    Jet3,             // an Access 97 (Jet 3) database
    Accdb,            // an Access 2007 or later (ACCDB) database
    SenzaTabella,     // no table `atleta`
    ColonnaMancante,  // `atleta` lacks a column (dettaglio: its name)
    TipoColonna,      // a column of another type (dettaglio: its name)
    Troncato,         // shorter than its pages, or rows missing
    Danneggiato,      // pages that do not read as a database (dettaglio: what)
    Illeggibile,      // the system could not read it (errnoSistema)
};

struct EsitoAccess {
    RifiutoAccess rifiuto = RifiutoAccess::Nessuno;
    std::string dettaglio;
    int errnoSistema = 0;
    bool ok() const { return rifiuto == RifiutoAccess::Nessuno; }
    explicit operator bool() const { return ok(); }
};

// Reads every athlete of the Access 2000 file, in the table's order, handing
// each to `ogni` (which may move from it); `ogni` returns false to stop. The
// file is read as it goes, never held whole, and is only ever opened for
// reading. Refused when any row cannot be read, after `ogni` has seen those
// before it: whoever writes them keeps them only on success.
EsitoAccess LeggiAccess(const std::filesystem::path& file, const std::function<bool(Riga& riga)>& ogni);

// What the file holds, to show before anything is done with it: how many
// athletes, and the names of the first few; with an archive, how many of
// them it holds already (see ImportaAccess). The whole file is read and
// checked.
struct AnteprimaAccess {
    std::size_t atleti = 0;
    std::vector<std::string> primi;
    std::size_t giaPresenti = 0;
};
inline constexpr std::size_t NomiAnteprima = 5;
EsitoAccess LeggiAnteprimaAccess(const std::filesystem::path& file, AnteprimaAccess& anteprima,
                                 const Archivio* archivio = nullptr);

// What an import or a conversion did.
struct RiepilogoAccess {
    EsitoAccess lettura;          // the old file refused: nothing written
    std::size_t aggiunti = 0;     // athletes written
    std::size_t giaPresenti = 0;  // athletes the archive held already, not added again
    bool scritto = false;         // they are in the archive
};

// Adds every athlete of the Access file to the open archive, in one
// transaction: all or none. An athlete the same in every column as one the
// archive held before the import is not added again (each athlete there
// stands for one of the file), so that a file imported twice adds its
// athletes once; two equal athletes of the file are both added. The error returned is the archive's; a file
// refused returns success with `riepilogo.lettura` saying why, and adds
// nothing.
Esito ImportaAccess(Archivio& archivio, const std::filesystem::path& file, RiepilogoAccess& riepilogo);

// The name the old file is kept under beside the new archive:
// "tvp.dmg.access-2026-12-10", with " (2)", " (3)" ... when that name is
// taken.
std::filesystem::path NomeAccessConservato(const std::filesystem::path& file, std::string_view data);

// Converts the Access archive `file` into an archive of this program of the
// same name. The new archive is built under a temporary name beside it with
// every athlete of the old one, read back and checked, then takes the
// file's name; the old file is kept as NomeAccessConservato(file, data)
// (`conservato`), byte for byte. At every moment `file` is either the old
// file or the complete new archive; on any failure it is the old one and
// nothing else is left. No connection may be open on `file`.
Esito ConvertiAccess(const std::filesystem::path& file, std::string_view data, std::filesystem::path& conservato,
                     RiepilogoAccess& riepilogo);

}  // namespace archivio
