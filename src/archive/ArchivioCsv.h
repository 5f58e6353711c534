// The archive as a spreadsheet: every athlete written to a CSV text that a
// spreadsheet opens in the user's locale, and such a text read back into rows
// to add, with the lines it refuses and why.
//
// The text is UTF-8 with a byte-order mark, a header row of the 34 column
// names, one record per athlete, records ended by CR LF. Fields are separated
// by a semicolon where the user's decimal separator is a comma, by a comma
// otherwise; the measures are written with the user's decimal separator.
// Every text that is not a measure is quoted, so that a spreadsheet keeps its
// leading zeros; quotes inside are doubled and line breaks kept.
#pragma once

#include "Archivio.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
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
    Colonne,      // not 34 fields (dettaglio: how many)
    Virgolette,   // a quote not closed, or text after a closing quote
    TroppoLunga,  // longer than the longest record accepted
    Misura,       // a measure the measure rule would wipe (dettaglio: column)
    Data,         // a date that is no date (dettaglio: column)
    Sesso,        // neither "M", "F" nor empty
    Attivita,     // no work activity the program knows
    SiNo,         // AttivFis neither 0 nor 1
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
// separator and stored with a full stop; a date must pass `eData`.
LetturaCsv LeggiCsv(std::string_view testo, const std::function<bool(std::string_view)>& eData);

// Writes every athlete of the open archive to `file` as a CSV text; the file
// is replaced whole or not at all. `quanti`: how many were written.
Esito EsportaCsv(const Archivio& archivio, const std::filesystem::path& file, FormatoCsv formato, std::size_t& quanti);

// The longest CSV file read, in bytes.
inline constexpr std::uintmax_t LunghezzaMassimaFileCsv = 512u << 20;

// Reads a CSV file with LeggiCsv. A file that cannot be read, or is longer
// than LunghezzaMassimaFileCsv, is an error; what the text holds is in
// `lettura`.
Esito LeggiFileCsv(const std::filesystem::path& file, const std::function<bool(std::string_view)>& eData,
                   LetturaCsv& lettura);

}  // namespace archivio
