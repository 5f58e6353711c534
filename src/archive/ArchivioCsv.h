// The archive as a spreadsheet: every athlete written to a CSV text that a
// spreadsheet opens in the user's locale, and such a text read back into rows
// to add, with the lines it refuses and why.
// Its own reader and writer: neither Qt nor Debian's libraries read CSV, and
// the rules below are the spreadsheets' own.
//
// The text is UTF-8 with a byte-order mark, a header row of the 34 column
// names, one record per athlete, records ended by CR LF. Fields are separated
// by a semicolon where the user's decimal separator is a comma, by a comma
// otherwise; the measures are written with the user's decimal separator.
// Every text that is not a measure is quoted, so that a spreadsheet keeps its
// leading zeros; quotes inside are doubled and line breaks kept. A text that
// a spreadsheet would take for a formula (starting with =, +, -, @, a tab or
// a carriage return, after any apostrophes) gets one apostrophe more in
// front, which reading the file takes away again; a phone number written
// "+353 1 234-5678" (a "+", then digits, spaces and dashes only) is no
// formula and is written as it is.
//
// Dates are written as ISO dates ("1988-03-15"), which mean the same under
// any regional settings, read from the archive as Calendario's
// LeggiDataArchiviata reads them (an earlier release's "7/4/1990" is
// 1990-04-07); a stored text that is no date is written as it is stored.
// Read back, a date is ISO or in the user's regional form with its year in
// four digits, and is stored as ISO, as the card stores a date the coach
// types. A two-digit year is refused, never guessed (a spreadsheet writes
// "12/20/25" for 1925). The regional form is that of Calendario's date
// services.
#pragma once

#include "Archivio.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace archivio {

struct FormatoCsv {
    char separatore = ',';
    char decimale = '.';
    // The user's decimal separator decides both.
    static FormatoCsv PerDecimale(char decimale) { return {decimale == ',' ? ';' : ',', decimale}; }
};

// True for the columns that hold a measure the windows clean as it is typed.
bool ColonnaMisura(int colonna);
// True for the columns that hold a date.
bool ColonnaData(int colonna);

// The CSV text of the rows.
std::string TestoCsv(const std::vector<Riga>& righe, FormatoCsv formato);

// Why a line of a CSV text is not added.
enum class Rifiuto {
    Colonne,        // not 34 fields (dettaglio: how many)
    Virgolette,     // a quote not closed, or text after a closing quote
    TroppoLunga,    // longer than the longest record accepted
    Misura,         // a measure the measure rule would wipe (dettaglio: column)
    Data,           // a date that is no date (dettaglio: column)
    DataAnnoBreve,  // a date with its year in two digits (dettaglio: column)
    Sesso,          // neither "M", "F" nor empty
    Attivita,       // no work activity the program knows
    SiNo,           // AttivFis neither 0 nor 1
    SenzaNome,      // no name
};

struct LineaRifiutata {
    std::size_t linea;  // where the record starts, the header being line 1
    Rifiuto motivo;
    std::string dettaglio;
};

// Why a whole CSV text is refused.
enum class RifiutoFile {
    Nessuno,
    NonTesto,      // NUL bytes or not UTF-8
    Intestazione,  // the first line is not the 34 column names (dettaglio: what is wrong)
};

struct LetturaCsv {
    RifiutoFile rifiuto = RifiutoFile::Nessuno;
    std::string dettaglio;
    std::vector<Riga> righe;                // the rows to add, in file order
    std::vector<LineaRifiutata> rifiutate;  // in file order
};

// The longest record accepted, in bytes.
inline constexpr std::size_t LunghezzaMassimaRecord = 1 << 20;

// Reads a CSV text written by TestoCsv, or by a spreadsheet from it: with or
// without byte-order mark, either separator (told by the header), LF or
// CR LF, the columns in any order. Measures are read with either decimal
// separator and stored with a full stop; dates as said above.
LetturaCsv LeggiCsv(std::string_view testo);

// Writes every athlete of the open archive to `file` as a CSV text; the file
// is replaced whole or not at all, and never the archive itself.
// `quanti`: how many were written.
Esito EsportaCsv(const Archivio& archivio, const std::filesystem::path& file, FormatoCsv formato, std::size_t& quanti);

// The longest CSV file read, in bytes.
inline constexpr std::uintmax_t LunghezzaMassimaFileCsv = 512u << 20;
// How many refused lines an import lists (it counts them all).
inline constexpr std::size_t RifiutateElencate = 100;

struct RiepilogoImportazione {
    RifiutoFile rifiuto = RifiutoFile::Nessuno;  // the whole file refused: nothing added
    std::string dettaglio;
    std::size_t aggiunti = 0;     // added to the archive (in a preview, or when nothing is kept: to be added)
    std::size_t giaPresenti = 0;  // the same in every column as an athlete already there, or as an earlier line
    std::size_t omonimi = 0;      // of those added, how many have the name of an athlete already there
    std::size_t rifiutate = 0;    // lines refused, all counted
    std::vector<LineaRifiutata> elencate;  // the first RifiutateElencate of them
    // The athletes counted in `aggiunti` are in the archive: false for a
    // preview, a refused file, and a file with a refused line.
    bool scritto = false;
    // The error returned concerns the CSV file (it could not be opened or
    // read), not the archive.
    bool erroreDelFile = false;
};

// Imports the athletes of a CSV file into the open archive, as LeggiCsv reads
// them, in one transaction, all or none: every line is read and checked, and
// one refused line adds nothing (the summary still counts and lists them). The file is read as it goes, never held
// whole: a file longer than LunghezzaMassimaFileCsv is refused before it is
// read, and so is anything but a file. A line the same in every column as an
// athlete already in the archive (dates compared by the day they name), or as
// an earlier line of the file, is counted and not added again, so importing a
// file twice adds its athletes once. An error: the file could not be read, or
// the archive could not be written; nothing is added then.
Esito ImportaCsv(Archivio& archivio, const std::filesystem::path& file, RiepilogoImportazione& riepilogo);
// What ImportaCsv would do with the file, without writing anything: the same
// counts and refusals.
Esito AnteprimaCsv(const Archivio& archivio, const std::filesystem::path& file, RiepilogoImportazione& riepilogo);

}  // namespace archivio
