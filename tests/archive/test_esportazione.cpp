// Taking the data away: the archive as a CSV text and back, and backups of
// the archive and restoring one.
#include "ArchivioCsv.h"
#include "CartellaProva.h"
#include "CopiaArchivio.h"
#include "SupportoArchivio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;
using archivio::FormatoCsv;
using archivio::Rifiuto;
using archivio::RifiutoFile;
using archivio::Riga;

namespace {

bool DataProva(std::string_view t) { return t == "20/12/1990" || t == "01/02/05"; }

// Rows that test every rule of the format at once.
std::vector<Riga> RigheDifficili() {
    Riga piena;
    for (int c = 0; c < archivio::NumeroColonne; ++c) piena[c] = "x" + std::to_string(c);
    for (int c = 0; c < archivio::NumeroColonne; ++c)
        if (archivio::ColonnaMisura(c)) piena[c] = "7" + std::to_string(c) + ".5";
    piena[*archivio::IndiceColonna("datanascita")] = "20/12/1990";
    piena[*archivio::IndiceColonna("Scadenza")] = "01/02/05";
    piena[*archivio::IndiceColonna("sesso")] = "F";
    piena[*archivio::IndiceColonna("TipoImpiego")] = "moderate";
    piena[archivio::ColonnaAttivFis] = "1";
    return {
        prova::RigaDi("Rossi \"il Toro\"; Mario, jr.", {{"note", "riga uno\nriga due\r\nriga \"tre\"; fine,"},
                                                        {"tel", "0422 123456"},
                                                        {"Tessera", "007123"},
                                                        {"cavallo", "82.5"},
                                                        {"peso", "70"},
                                                        {"pedali", "Look Kéo Blade — ß"}}),
        Riga(),
        piena,
        prova::RigaDi("  spazi  ", {{"myHS", "7,5 circa"}, {"note", "\"\""}, {"Categoria", "="}}),
    };
}

std::string Linea(const std::string& testo, std::size_t n) {
    std::size_t inizio = 0;
    for (std::size_t i = 1; i < n; ++i) inizio = testo.find('\n', inizio) + 1;
    return testo.substr(inizio, testo.find('\n', inizio) - inizio);
}

}  // namespace

// Written in either locale's form and read back, every column of every row
// comes back as it was.
TEST(Csv, OgniColonnaTornaComEra) {
    const auto righe = RigheDifficili();
    for (char decimale : {',', '.'}) {
        const FormatoCsv formato = FormatoCsv::PerDecimale(decimale);
        const std::string testo = archivio::TestoCsv(righe, formato);
        EXPECT_EQ(testo.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_EQ(Linea(testo, 1).substr(3, 17),
                  std::string("nome") + formato.separatore + "datanascita" + formato.separatore);
        const auto letta = archivio::LeggiCsv(testo, DataProva);
        EXPECT_EQ(letta.rifiuto, RifiutoFile::Nessuno);
        EXPECT_TRUE(letta.rifiutate.empty()) << letta.rifiutate.front().linea;
        EXPECT_TRUE(letta.righe == righe) << decimale;
    }
    // A spreadsheet in an Italian locale reads the measures with a comma,
    // and the leading zeros are in quotes.
    const std::string italiano = archivio::TestoCsv(righe, FormatoCsv::PerDecimale(','));
    EXPECT_NE(italiano.find(";82,5;"), std::string::npos);
    EXPECT_NE(italiano.find(";\"007123\";"), std::string::npos);
}

// A text with its columns in another order and LF line ends, as a
// spreadsheet may save it, reads the same.
TEST(Csv, ColonneInAltroOrdine) {
    std::string intestazione, riga;
    for (int c = archivio::NumeroColonne - 1; c >= 0; --c) {
        intestazione += std::string(archivio::Colonne[static_cast<std::size_t>(c)]) + (c ? "," : "\n");
        riga += std::string(c == 0 ? "Neri" : c == archivio::ColonnaAttivFis ? "1" : "") + (c ? "," : "\n");
    }
    const auto letta = archivio::LeggiCsv(intestazione + riga, DataProva);
    ASSERT_EQ(letta.righe.size(), 1u);
    EXPECT_TRUE(letta.righe[0] == prova::RigaDi("Neri", {{"AttivFis", "1"}}));
}

// Every line that cannot be added is told, with its line and the reason; the
// others are added as they are, a name that reads like SQL included.
TEST(Csv, LeRigheOstiliSonoRifiutateUnaAUna) {
    const std::string intestazione = archivio::TestoCsv({}, FormatoCsv::PerDecimale('.'));
    auto con = [&intestazione](std::initializer_list<std::pair<const char*, std::string>> campi) {
        return archivio::TestoCsv({prova::RigaDi("Atleta", campi)}, FormatoCsv::PerDecimale('.'))
            .substr(intestazione.size());
    };
    const std::string sql = "Robert'); DROP TABLE atleta;--";
    std::string testo = intestazione;                                       // line 1
    testo += "Rossi,troppo,poche\r\n";                                      // 2
    testo += con({{"cavallo", "72a"}});                                     // 3
    testo += con({{"datanascita", "31/02/2000"}});                          // 4
    testo += con({{"sesso", "m"}});                                         // 5
    testo += con({{"TipoImpiego", "sedentaria"}});                          // 6
    testo += "Ver\"di" + con({}).substr(8);                                 // 7: a stray quote
    testo += "\"" + std::string(20 << 20, 'n') + "\"" + con({}).substr(8);  // 8: 20 MB
    testo += con({{"nome", sql}, {"note", "due\nrighe"}});                  // 9-10
    testo += con({{"peso", "70,5"}});                                       // 11
    testo += "\"non chiusa," + con({}).substr(8);                           // 12: runs to the end
    const auto letta = archivio::LeggiCsv(testo, DataProva);
    ASSERT_EQ(letta.rifiuto, RifiutoFile::Nessuno);
    std::vector<std::pair<std::size_t, Rifiuto>> attese{
        {2, Rifiuto::Colonne},  {3, Rifiuto::Misura},     {4, Rifiuto::Data},        {5, Rifiuto::Sesso},
        {6, Rifiuto::Attivita}, {7, Rifiuto::Virgolette}, {8, Rifiuto::TroppoLunga}, {12, Rifiuto::Virgolette}};
    std::vector<std::pair<std::size_t, Rifiuto>> trovate;
    for (const auto& r : letta.rifiutate) trovate.emplace_back(r.linea, r.motivo);
    EXPECT_EQ(trovate, attese);
    EXPECT_EQ(letta.rifiutate[0].dettaglio, "3");
    EXPECT_EQ(letta.rifiutate[1].dettaglio, "cavallo");
    ASSERT_EQ(letta.righe.size(), 2u);
    EXPECT_EQ(letta.righe[0][archivio::ColonnaNome], sql);
    EXPECT_EQ(prova::CampoDi(letta.righe[1], "peso"), "70.5");
}

TEST(Csv, UnFileCheNonETestoOSenzaIntestazioneERifiutatoIntero) {
    EXPECT_EQ(archivio::LeggiCsv(std::string("PK\x03\x04\0\0binary", 12), DataProva).rifiuto, RifiutoFile::NonTesto);
    EXPECT_EQ(archivio::LeggiCsv("\xC3\x28 not UTF-8", DataProva).rifiuto, RifiutoFile::NonTesto);
    EXPECT_EQ(archivio::LeggiCsv("nome,cognome\nRossi,Mario\n", DataProva).rifiuto, RifiutoFile::Intestazione);
    EXPECT_EQ(archivio::LeggiCsv("", DataProva).rifiuto, RifiutoFile::Intestazione);
}

// A backup taken while another connection has the archive open opens with
// the key and holds every athlete; it is not readable without the key.
TEST(Copia, UnaCopiaPresaConLArchivioApertoLoContieneTutto) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    std::vector<Riga> righe = RigheDifficili();
    for (int i = 0; i < 200; ++i) righe.push_back(prova::RigaDi("Atleta " + std::to_string(i), {{"peso", "70"}}));
    prova::CreaArchivio(file, righe);
    archivio::Archivio finestra, copiatore;
    ASSERT_TRUE(finestra.Apri(file).ok());
    ASSERT_TRUE(copiatore.Apri(file).ok());
    const fs::path copia = cartella.file("copia.dmg");
    ASSERT_TRUE(copiatore.CopiaIn(copia).ok());
    EXPECT_TRUE(archivio::VerificaCopia(copia).ok());
    EXPECT_TRUE(prova::RigheNelFile(copia) == righe);
    EXPECT_EQ(prova::LeggiByte(copia).find("Atleta 1"), std::string::npos);
    EXPECT_EQ(prova::Contenuto(cartella.percorso()), (std::vector<std::string>{"copia.dmg", "tvp.dmg"}));
}

// Restoring a good backup replaces the archive and keeps the old one under a
// dated name; a damaged one, or no archive at all, is refused and changes
// nothing.
TEST(Copia, RipristinoControllato) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), copia = cartella.file("copia.dmg");
    prova::CreaArchivio(copia, {prova::RigaDi("Dalla copia")});
    prova::CreaArchivio(file, {prova::RigaDi("Attuale")});
    const std::string prima = prova::LeggiByte(file);

    const std::string buona = prova::LeggiByte(copia);
    const std::vector<std::pair<const char*, std::string>> guaste{
        {"truncated", buona.substr(0, buona.size() / 2)},
        {"damaged page", buona.substr(0, 1500) + std::string(100, 'x') + buona.substr(1600)},
        {"plain text", "nome;cognome\n"},
        {"empty", ""}};
    for (const auto& [nome, byte] : guaste) {
        const fs::path guasta = cartella.file(std::string("guasta-") + nome);
        prova::ScriviByte(guasta, byte);
        fs::path conservato;
        EXPECT_FALSE(archivio::RipristinaArchivio(file, guasta, "2026-12-09 11.42", conservato).ok()) << nome;
        EXPECT_EQ(prova::LeggiByte(file), prima) << nome;
        fs::remove(guasta);
    }
    EXPECT_EQ(prova::Contenuto(cartella.percorso()), (std::vector<std::string>{"copia.dmg", "tvp.dmg"}));

    fs::path conservato;
    ASSERT_TRUE(archivio::RipristinaArchivio(file, copia, "2026-12-09 11.42", conservato).ok());
    EXPECT_EQ(conservato, cartella.file("tvp 2026-12-09 11.42.dmg"));
    EXPECT_EQ(prova::LeggiByte(conservato), prima);
    const auto righe = prova::RigheNelFile(file);
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe[0][archivio::ColonnaNome], "Dalla copia");
    EXPECT_EQ(archivio::NomeConservato(file, "2026-12-09 11.42"), cartella.file("tvp 2026-12-09 11.42 (2).dmg"));
}
