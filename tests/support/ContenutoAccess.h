// The expected content of the Access fixtures (tests/fixtures/access2000),
// as their CSV files tell it, and the differences between two sets of rows
// named column by column.
#pragma once

#include "Archivio.h"
#include "ArchivioAccess.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace prova {

// The fixtures' folder.
inline std::filesystem::path CartellaAccess() { return TOVARIN_FIXTURE_ACCESS; }

// The rows of an Access fixture as its CSV says: ';' between fields, "\r",
// "\n" and "\\" inside a value, an empty field a NULL. A CR LF of the old
// file is a LF in the archive.
inline std::vector<archivio::Riga> RigheAttese(const std::string& csv) {
    std::ifstream in(CartellaAccess() / csv, std::ios::binary);
    std::string linea;
    std::getline(in, linea);  // the header
    std::vector<archivio::Riga> righe;
    while (std::getline(in, linea)) {
        archivio::Riga r;
        int c = 0;
        std::string v;
        auto chiudi = [&] {
            for (std::size_t p; (p = v.find("\r\n")) != std::string::npos;) v.erase(p, 1);
            if (c < archivio::NumeroColonne) r[c] = v;
            ++c;
            v.clear();
        };
        for (std::size_t i = 0; i < linea.size(); ++i) {
            const char ch = linea[i];
            if (ch == '\\' && i + 1 < linea.size()) {
                const char dopo = linea[++i];
                v += dopo == 'r' ? '\r' : dopo == 'n' ? '\n' : dopo;
            } else if (ch == ';') {
                chiudi();
            } else {
                v += ch;
            }
        }
        chiudi();
        if (c != archivio::NumeroColonne) return {};  // a fixture misread: no rows at all
        righe.push_back(r);
    }
    return righe;
}

// Every difference, "row 3, column cavallo: "86.5" instead of "86,5"", row by
// row and column by column; none when they are equal.
inline std::vector<std::string> Differenze(const std::vector<archivio::Riga>& trovate,
                                           const std::vector<archivio::Riga>& attese) {
    std::vector<std::string> d;
    if (trovate.size() != attese.size())
        d.push_back(std::to_string(trovate.size()) + " rows instead of " + std::to_string(attese.size()));
    for (std::size_t i = 0; i < std::min(trovate.size(), attese.size()); ++i)
        for (int c = 0; c < archivio::NumeroColonne; ++c)
            if (trovate[i][c] != attese[i][c])
                d.push_back("row " + std::to_string(i + 1) + ", column " +
                            std::string(archivio::Colonne[static_cast<std::size_t>(c)]) + ": \"" + trovate[i][c] +
                            "\" instead of \"" + attese[i][c] + "\"");
    return d;
}

// Bad or foreign files made from copies of the small fixture, patched or cut,
// with the refusal each must get (and its detail, when it has one).
struct FileRifiutato {
    const char* cosa;
    std::string byte;
    archivio::RifiutoAccess rifiuto;
    std::string dettaglio;
    // Refused for whatever reason the library finds (a file that crashes one
    // release of it may only read wrong in another).
    bool qualunqueRifiuto = false;
};

inline std::vector<FileRifiutato> FileAccessRifiutati() {
    std::ifstream in(CartellaAccess() / "archivio-piccolo.dmg", std::ios::binary);
    const std::string buono{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto sostituisci = [&buono](std::size_t dove, std::string_view nuovo) {
        return std::string(buono).replace(dove, nuovo.size(), nuovo);
    };
    auto utf16 = [](std::string_view testo) {
        std::string u;
        for (char c : testo) u += c, u += '\0';
        return u;
    };
    // The table's column descriptions: 34 entries of 25 bytes, each starting
    // with the column's type, before the names, the first of which is "nome"
    // after its length.
    const std::size_t nome = buono.find(std::string("\x08\0", 2) + utf16("nome"));
    if (nome == std::string::npos || nome < 34 * 25) return {};
    const std::size_t descrizioni = nome - 34 * 25;
    if (buono[descrizioni + 25 * 14] != 0x0a || buono[descrizioni + 25 * 12] != 0x01) return {};  // a text, a yes/no
    // The table's name in the system's catalogue, on one of the first pages.
    const std::size_t catalogo = buono.find(utf16("atleta"));
    const std::size_t colonna = buono.find(utf16("cavallo"));
    // A page of athletes (texts are stored compressed, one byte a letter).
    const std::size_t dati = buono.find("Bianchi Marco") / 4096 * 4096;
    if (catalogo > 16 * 4096 || colonna == std::string::npos || dati >= buono.size()) return {};
    std::string paginaDati = buono;
    paginaDati.replace(dati, 4096, std::string(4096, '\0'));

    using archivio::RifiutoAccess;
    return {
        {"a text", "nome;cognome\nRossi;Mario\n", RifiutoAccess::NonAccess, ""},
        {"an empty file", "", RifiutoAccess::NonAccess, ""},
        {"Access 97", sostituisci(0x14, std::string(1, '\0')), RifiutoAccess::Jet3, ""},
        {"Access 2007", sostituisci(0x14, "\x02"), RifiutoAccess::Accdb, ""},
        {"ACE", sostituisci(4, "Standard ACE DB"), RifiutoAccess::Accdb, ""},
        {"no table atleta", sostituisci(catalogo, utf16("atlete")), RifiutoAccess::SenzaTabella, ""},
        {"no column cavallo", sostituisci(colonna, utf16("cavalli")), RifiutoAccess::ColonnaMancante, "cavallo"},
        {"cavallo a number", sostituisci(descrizioni + 25 * 14, "\x07"), RifiutoAccess::TipoColonna, "cavallo"},
        {"AttivFis a text", sostituisci(descrizioni + 25 * 12, "\x0a"), RifiutoAccess::TipoColonna, "AttivFis"},
        {"cut inside a page", buono.substr(0, 100000), RifiutoAccess::Troncato, "100000"},
        {"cut at a page", buono.substr(0, 26 * 4096), RifiutoAccess::Troncato, ""},
        {"the first page only", buono.substr(0, 4096), RifiutoAccess::Troncato, ""},
        {"a page of athletes wiped", paginaDati, RifiutoAccess::Troncato, ""},
        // The catalogue's table says its page map lies out of the page:
        // libmdb reads out of bounds, and crashes.
        {"the catalogue's page map out of place", sostituisci(2 * 4096 + 55, "\x73"), RifiutoAccess::Danneggiato, "",
         true},
    };
}

}  // namespace prova
