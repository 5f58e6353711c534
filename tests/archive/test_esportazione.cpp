// Taking the data away: the archive as a CSV text and back, and backups of
// the archive and restoring one.
#include "ArchivioCsv.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "CopiaArchivio.h"
#include "FileSistema.h"
#include "SupportoArchivio.h"

#include <gtest/gtest.h>

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>
#ifndef _WIN32
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using archivio::FormatoCsv;
using archivio::Motivo;
using archivio::Rifiuto;
using archivio::RifiutoFile;
using archivio::Riga;

namespace {

// Rows that test every rule of the format at once.
std::vector<Riga> RigheDifficili() {
    Riga piena;
    for (int c = 0; c < archivio::NumeroColonne; ++c) piena[c] = "x" + std::to_string(c);
    for (int c = 0; c < archivio::NumeroColonne; ++c)
        if (archivio::ColonnaMisura(c)) piena[c] = "7" + std::to_string(c) + ".5";
    piena[*archivio::IndiceColonna("datanascita")] = "1990-12-20";  // dates as the program stores them
    piena[*archivio::IndiceColonna("Scadenza")] = "2005-02-01";
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
        piena,
        prova::RigaDi("  spazi  ", {{"myHS", "7,5 circa"}, {"note", "\"\""}, {"Categoria", "="}}),
    };
}

// Dates read and written as a region does while it lives; then the
// program's defaults again (day, month, year).
class Regione {
public:
    Regione(Calendario::OrdineData ordine, char separatore) { Installa(ordine, separatore); }
    ~Regione() { Installa(Calendario::OrdineData::GiornoMeseAnno, '/'); }

private:
    static void Installa(Calendario::OrdineData ordine, char separatore) {
        Calendario::ImpostaServizi(
            {nullptr, [ordine](std::string_view t) { return Calendario::LeggiDataNumerica(t, ordine); },
             [ordine, separatore](const Calendario::Data& d) {
                 char s[16];
                 if (ordine == Calendario::OrdineData::MeseGiornoAnno)
                     std::snprintf(s, sizeof s, "%d%c%d%c%04d", d.mese, separatore, d.giorno, separatore, d.anno);
                 else
                     std::snprintf(s, sizeof s, "%02d%c%02d%c%04d", d.giorno, separatore, d.mese, separatore, d.anno);
                 return std::string(s);
             }});
    }
};

// The text of a CSV file of the given rows, in the Italian form.
std::string Csv(const std::vector<Riga>& righe) { return archivio::TestoCsv(righe, FormatoCsv::PerDecimale(',')); }

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
        const auto letta = archivio::LeggiCsv(testo);
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
    const auto letta = archivio::LeggiCsv(intestazione + riga);
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
    testo += con({{"nome", " "}});                                          // 12: no name
    std::string breve = con({{"Scadenza", "X"}});
    testo += breve.replace(breve.find("\"X\""), 3, "20/12/25");  // 13: 1925 or 2025?
    testo += "\"non chiusa," + con({}).substr(8);                // 14: runs to the end
    const auto letta = archivio::LeggiCsv(testo);
    ASSERT_EQ(letta.rifiuto, RifiutoFile::Nessuno);
    std::vector<std::pair<std::size_t, Rifiuto>> attese{
        {2, Rifiuto::Colonne},        {3, Rifiuto::Misura},     {4, Rifiuto::Data},        {5, Rifiuto::Sesso},
        {6, Rifiuto::Attivita},       {7, Rifiuto::Virgolette}, {8, Rifiuto::TroppoLunga}, {12, Rifiuto::SenzaNome},
        {13, Rifiuto::DataAnnoBreve}, {14, Rifiuto::Virgolette}};
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
    EXPECT_EQ(archivio::LeggiCsv(std::string("PK\x03\x04\0\0binary", 12)).rifiuto, RifiutoFile::NonTesto);
    EXPECT_EQ(archivio::LeggiCsv("\xC3\x28 not UTF-8").rifiuto, RifiutoFile::NonTesto);
    EXPECT_EQ(archivio::LeggiCsv("nome,cognome\nRossi,Mario\n").rifiuto, RifiutoFile::Intestazione);
    EXPECT_EQ(archivio::LeggiCsv("").rifiuto, RifiutoFile::Intestazione);
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

// A date means one day in the CSV and in the archive, whatever the regional
// settings of the machine that wrote the file and of the one that reads it:
// ISO in the file and in the archive, a two-digit year refused. What the
// earlier releases stored, day first, is that day under every setting.
TEST(Csv, LeDateSonoIsoNelFileENellArchivio) {
    using Calendario::OrdineData;
    const std::vector<Riga> righe{
        prova::RigaDi("Rossi", {{"datanascita", "15/03/1988"}, {"Scadenza", "ieri"}}),
        prova::RigaDi("Verdi", {{"datanascita", "1990-12-31"}, {"Scadenza", "07/09/1995"}}),
        prova::RigaDi("Bianchi", {{"datanascita", "7/4/1990"}, {"Scadenza", "12/31/2027"}}),
    };
    std::string testo;
    for (const auto& [ordine, separatore] :
         {std::pair{OrdineData::GiornoMeseAnno, '/'}, std::pair{OrdineData::MeseGiornoAnno, '/'},
          std::pair{OrdineData::GiornoMeseAnno, '.'}, std::pair{OrdineData::AnnoMeseGiorno, '-'}}) {
        Regione regione(ordine, separatore);
        const std::string scritto = Csv(righe);
        if (testo.empty()) testo = scritto;
        EXPECT_EQ(scritto, testo) << separatore;  // the same file under every setting
        EXPECT_NE(testo.find(";\"1988-03-15\";"), std::string::npos);
        EXPECT_NE(testo.find(";\"ieri\";"), std::string::npos);  // no date: as it is stored
        EXPECT_NE(testo.find(";\"1990-12-31\";"), std::string::npos);
        EXPECT_NE(testo.find(";\"1995-09-07\";"), std::string::npos);
        EXPECT_NE(testo.find(";\"1990-04-07\";"), std::string::npos);  // 7 April
        EXPECT_NE(testo.find(";\"2027-12-31\";"), std::string::npos);  // no month 31: month first
    }
    // A line whose birth date is typed as given.
    auto conData = [](const std::string& data) {
        std::string t = Csv({prova::RigaDi("Neri", {{"datanascita", "DATA"}})});
        return t.replace(t.find("\"DATA\""), 6, data);
    };
    struct Caso {
        OrdineData ordine;
        char separatore;
        const char* propria;  // 15 March 1988 in the region's form
        const char* breve;    // the same with a two-digit year
    };
    for (const Caso& c : {Caso{OrdineData::GiornoMeseAnno, '/', "15/3/1988", "15/3/88"},
                          Caso{OrdineData::MeseGiornoAnno, '/', "3/15/1988", "3/15/88"},
                          Caso{OrdineData::GiornoMeseAnno, '.', "15.03.1988", "15.03.88"}}) {
        SCOPED_TRACE(c.propria);
        Regione regione(c.ordine, c.separatore);
        const auto letta = archivio::LeggiCsv(testo);
        ASSERT_EQ(letta.righe.size(), 2u);
        EXPECT_EQ(prova::CampoDi(letta.righe[0], "datanascita"), "1990-12-31");
        EXPECT_EQ(prova::CampoDi(letta.righe[0], "Scadenza"), "1995-09-07");
        EXPECT_EQ(prova::CampoDi(letta.righe[1], "datanascita"), "1990-04-07");
        EXPECT_EQ(prova::CampoDi(letta.righe[1], "Scadenza"), "2027-12-31");
        ASSERT_EQ(letta.rifiutate.size(), 1u);  // Rossi's "ieri"
        EXPECT_EQ(letta.rifiutate[0].motivo, Rifiuto::Data);

        const auto propria = archivio::LeggiCsv(conData(c.propria));
        ASSERT_EQ(propria.righe.size(), 1u);
        EXPECT_EQ(prova::CampoDi(propria.righe[0], "datanascita"), "1988-03-15");
        const auto breve = archivio::LeggiCsv(conData(c.breve));
        ASSERT_EQ(breve.rifiutate.size(), 1u);
        EXPECT_EQ(breve.rifiutate[0].motivo, Rifiuto::DataAnnoBreve);
        EXPECT_EQ(breve.rifiutate[0].dettaglio, "datanascita");
    }
}

namespace {

std::vector<Riga> Righe(const fs::path& file) { return prova::RigheNelFile(file); }

archivio::RiepilogoImportazione Importa(const fs::path& archivioFile, const fs::path& csv) {
    archivio::Archivio a;
    EXPECT_TRUE(a.Apri(archivioFile).ok());
    archivio::RiepilogoImportazione fatto;
    const archivio::Esito e = archivio::ImportaCsv(a, csv, fatto);
    EXPECT_TRUE(e.ok()) << (e ? "" : e.errore().dettaglio);
    return fatto;
}

}  // namespace

// The same file imported twice adds its athletes once: a line the same in
// every column as an athlete already there (a date by the day it names), or
// as an earlier line, is counted and skipped; one column apart is another
// athlete. The preview counts as the import does and writes nothing.
TEST(Importazione, DueVolteAggiungeUnaVolta) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), csv = cartella.file("atleti.csv");
    const Riga rossi = prova::RigaDi("Rossi", {{"datanascita", "15/03/1988"}, {"peso", "70.5"}});
    prova::CreaArchivio(file, {rossi});
    Riga rossiIso = rossi;
    rossiIso[*archivio::IndiceColonna("datanascita")] = "1988-03-15";
    const Riga bianchi = prova::RigaDi("Bianchi", {{"note", "prima visita"}});
    const Riga bianchiAltro = prova::RigaDi("Bianchi", {{"note", "seconda visita"}});
    cartella.scrivi("atleti.csv", Csv({rossiIso, bianchi, bianchi, bianchiAltro}));

    const std::string prima = prova::LeggiByte(file);
    archivio::RiepilogoImportazione anteprima;
    {
        archivio::Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        ASSERT_TRUE(archivio::AnteprimaCsv(a, csv, anteprima).ok());
    }
    EXPECT_EQ(prova::LeggiByte(file), prima);
    EXPECT_FALSE(anteprima.scritto);
    EXPECT_EQ(anteprima.aggiunti, 2u);
    EXPECT_EQ(anteprima.giaPresenti, 2u);

    const auto primaVolta = Importa(file, csv);
    EXPECT_TRUE(primaVolta.scritto);
    EXPECT_EQ(primaVolta.aggiunti, 2u);
    EXPECT_EQ(primaVolta.giaPresenti, 2u);
    EXPECT_TRUE(Righe(file) == (std::vector<Riga>{rossi, bianchi, bianchiAltro}));

    const auto secondaVolta = Importa(file, csv);
    EXPECT_FALSE(secondaVolta.scritto);
    EXPECT_EQ(secondaVolta.aggiunti, 0u);
    EXPECT_EQ(secondaVolta.giaPresenti, 4u);
    EXPECT_EQ(Righe(file).size(), 3u);
}

// All or none: one refused line and nothing is added; the line mended, the
// whole file is. A line without a name is refused, and a file
// of nothing but empty records adds nothing, however long: every refusal is
// counted, a hundred are listed.
TEST(Importazione, RigheRifiutateContateEPoliticaTuttoONiente) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), csv = cartella.file("atleti.csv");
    prova::CreaArchivio(file, {});
    cartella.scrivi("atleti.csv",
                    Csv({prova::RigaDi("Rossi"), prova::RigaDi("Verdi", {{"sesso", "m"}}), prova::RigaDi("Neri")}));
    auto fatto = Importa(file, csv);
    EXPECT_FALSE(fatto.scritto);
    EXPECT_EQ(fatto.rifiutate, 1u);
    ASSERT_EQ(fatto.elencate.size(), 1u);
    EXPECT_EQ(fatto.elencate[0].linea, 3u);
    EXPECT_TRUE(Righe(file).empty());
    cartella.scrivi("atleti.csv",
                    Csv({prova::RigaDi("Rossi"), prova::RigaDi("Verdi", {{"sesso", "M"}}), prova::RigaDi("Neri")}));
    fatto = Importa(file, csv);
    EXPECT_TRUE(fatto.scritto);
    EXPECT_EQ(fatto.aggiunti, 3u);
    EXPECT_EQ(Righe(file).size(), 3u);

    std::string vuote = Csv({});
    const std::string vuota = std::string(archivio::NumeroColonne - 1, ';') + "\r\n";
    for (int i = 0; i < 200000; ++i) vuote += vuota;
    cartella.scrivi("vuote.csv", vuote);
    fatto = Importa(file, cartella.file("vuote.csv"));
    EXPECT_FALSE(fatto.scritto);
    EXPECT_EQ(fatto.aggiunti, 0u);
    EXPECT_EQ(fatto.rifiutate, 200000u);
    EXPECT_EQ(fatto.elencate.size(), archivio::RifiutateElencate);
    EXPECT_EQ(fatto.elencate.back().motivo, Rifiuto::SenzaNome);
    EXPECT_EQ(Righe(file).size(), 3u);
}

// An import refused, a row at a time or the file whole, leaves the open
// archive as it was and ready: the athlete, the fitting and the test written
// next on the same connection are kept.
TEST(Importazione, UnaScritturaDopoUnImportazioneRifiutata) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    cartella.scrivi("riga.csv", Csv({prova::RigaDi("Verdi"), prova::RigaDi("Neri", {{"sesso", "m"}})}));
    cartella.scrivi("binario.csv", std::string("PK\x03\x04\0\0binary", 12));
    for (const char* nome : {"riga.csv", "binario.csv"}) {
        SCOPED_TRACE(nome);
        archivio::Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        archivio::RiepilogoImportazione fatto;
        const archivio::Esito e = archivio::ImportaCsv(a, cartella.file(nome), fatto);
        EXPECT_TRUE(!e.ok() || fatto.rifiutate > 0 || fatto.rifiuto != RifiutoFile::Nessuno);
        EXPECT_FALSE(fatto.scritto);
        std::int64_t id = 0, assetto = 0, test = 0;
        ASSERT_TRUE(a.AggiungiRiga(prova::RigaDi("Bianchi"), id).ok());
        archivio::Assetto f;
        f.atleta = id;
        f.data = "2026-03-01";
        f.misure[archivio::CampoMisura::Cavallo] = "80";
        ASSERT_TRUE(a.RegistraAssetto(f, assetto).ok());
        archivio::TestAtleta t;
        t.atleta = id;
        t.data = "2026-03-02";
        t.ftp = "250";
        ASSERT_TRUE(a.RegistraTest(t, test).ok());
        a.Chiudi();

        archivio::Archivio b;
        ASSERT_TRUE(b.Apri(file).ok());
        archivio::Riga riga;
        ASSERT_TRUE(b.LeggiRiga(id, riga).ok());
        EXPECT_EQ(riga[archivio::ColonnaNome], "Bianchi");
        std::vector<archivio::Assetto> assetti;
        std::vector<archivio::TestAtleta> tutti;
        ASSERT_TRUE(b.LeggiAssetti(id, assetti).ok());
        ASSERT_TRUE(b.LeggiTest(id, tutti).ok());
        ASSERT_EQ(assetti.size(), 1u);
        EXPECT_EQ(assetti[0].misure[archivio::CampoMisura::Cavallo], "80");
        ASSERT_EQ(tutti.size(), 1u);
        EXPECT_EQ(tutti[0].ftp, "250");
    }
    EXPECT_EQ(Righe(file).size(), 3u);  // Rossi and two Bianchi, neither Verdi nor Neri
}

// Only a file is read: a folder, a pipe (which would wait for a writer for
// ever) and a file over the limit are refused before anything is read, each
// with its own reason, and the archive is not touched.
TEST(Importazione, SoloUnFileEntroIlLimite) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    const std::string prima = prova::LeggiByte(file);
    fs::create_directory(cartella.file("cartella.csv"));
#ifdef _WIN32
    constexpr bool tubi = false;  // no named pipe in a folder on Windows
#else
    constexpr bool tubi = true;
    ASSERT_EQ(::mkfifo(cartella.file("tubo.csv").c_str(), 0600), 0);
#endif
    cartella.scrivi("enorme.csv", "");
    fs::resize_file(cartella.file("enorme.csv"), archivio::LunghezzaMassimaFileCsv + 1);
    for (const auto& [nome, motivo] :
         {std::pair{"cartella.csv", Motivo::NonUnFile}, std::pair{"tubo.csv", Motivo::NonUnFile},
          std::pair{"enorme.csv", Motivo::TroppoGrande}, std::pair{"assente.csv", Motivo::FileMancante},
          std::pair{"manca/assente.csv", Motivo::Inesistente}}) {
        SCOPED_TRACE(nome);
        if (!tubi && std::string_view(nome) == "tubo.csv") continue;
        archivio::Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        archivio::RiepilogoImportazione fatto;
        const archivio::Esito e = archivio::ImportaCsv(a, cartella.file(nome), fatto);
        ASSERT_FALSE(e.ok());
        EXPECT_EQ(e.errore().motivo, motivo);
        EXPECT_TRUE(fatto.erroreDelFile);
    }
    EXPECT_EQ(prova::LeggiByte(file), prima);
}

// The open archive is never the target of a backup or an export, nor the
// source of a restore, by whatever path it is reached: a link to its folder,
// a second name of the file.
TEST(Copia, LArchivioApertoNonEMaiDestinazioneNeFonte) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    // Where no link can be made (Wine; Windows without the right to), the
    // same folder spelt another way.
    std::error_code senzaLink;
    fs::create_directory_symlink(cartella.percorso(), cartella.file("lnk"), senzaLink);
    fs::create_hard_link(file, cartella.file("altro nome.dmg"));
    const std::string prima = prova::LeggiByte(file);
    archivio::Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    const fs::path perAltraVia = (senzaLink ? cartella.file("sotto") / ".." : cartella.file("lnk")) / "tvp.dmg";
    if (senzaLink) fs::create_directory(cartella.file("sotto"));
    auto e = a.CopiaIn(perAltraVia);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::StessoArchivio);
    std::size_t quanti = 0;
    e = archivio::EsportaCsv(a, perAltraVia, FormatoCsv::PerDecimale('.'), quanti);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::StessoArchivio);
    a.Chiudi();
    fs::path conservato;
    e = archivio::RipristinaArchivio(file, cartella.file("altro nome.dmg"), "2026-12-09 11.42", conservato);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::StessoArchivio);
    EXPECT_EQ(prova::LeggiByte(file), prima);
    EXPECT_EQ(prova::Contenuto(cartella.percorso()),
              (std::vector<std::string>{"altro nome.dmg", senzaLink ? "sotto" : "lnk", "tvp.dmg"}));
}

// A journal left beside the archive by a program that ended without
// finishing (empty, or with nothing in it to undo) keeps no one out: it is
// dealt with as SQLite would, and the restore goes on. One that belongs to
// another program's write under way refuses the restore, and changes
// nothing.
TEST(Copia, UnGiornaleRimastoNonFermaIlRipristino) {
    struct Caso {
        const char* nome;
        std::string giornale;
    };
    for (const Caso& caso : {Caso{"empty", ""}, Caso{"cleared header", std::string(4096, '\0')}}) {
        SCOPED_TRACE(caso.nome);
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg"), copia = cartella.file("copia.dmg");
        prova::CreaArchivio(file, {prova::RigaDi("Attuale")});
        prova::CreaArchivio(copia, {prova::RigaDi("Dalla copia")});
        prova::ScriviByte(cartella.file("tvp.dmg-journal"), caso.giornale);
        fs::path conservato;
        const archivio::Esito e = archivio::RipristinaArchivio(file, copia, "2026-12-09 11.42", conservato);
        ASSERT_TRUE(e.ok()) << e.errore().dettaglio;
        EXPECT_FALSE(fs::exists(cartella.file("tvp.dmg-journal")));
        EXPECT_EQ(Righe(file).at(0)[archivio::ColonnaNome], "Dalla copia");
        EXPECT_EQ(Righe(conservato).at(0)[archivio::ColonnaNome], "Attuale");
    }

    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), copia = cartella.file("copia.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Attuale")});
    prova::CreaArchivio(copia, {prova::RigaDi("Dalla copia")});
    sqlite3* altro = nullptr;
    ASSERT_EQ(sqlite3_open_v2(sistema::NomeStretto(file).c_str(), &altro, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(altro, (archivio::SqlChiave() + " BEGIN IMMEDIATE; UPDATE atleta SET nome = 'X';").c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_TRUE(fs::exists(cartella.file("tvp.dmg-journal")));
    const std::string prima = prova::LeggiByte(file);
    const int attesa = archivio::Archivio::AttesaBloccoMs;
    archivio::Archivio::AttesaBloccoMs = 100;
    fs::path conservato;
    const archivio::Esito e = archivio::RipristinaArchivio(file, copia, "2026-12-09 11.42", conservato);
    archivio::Archivio::AttesaBloccoMs = attesa;
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::InUso);
    EXPECT_TRUE(fs::exists(cartella.file("tvp.dmg-journal")));
    sqlite3_exec(altro, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(altro);
    EXPECT_EQ(prova::LeggiByte(file), prima);
    EXPECT_EQ(Righe(file).at(0)[archivio::ColonnaNome], "Attuale");
    EXPECT_EQ(prova::Contenuto(cartella.percorso()), (std::vector<std::string>{"copia.dmg", "tvp.dmg"}));
}

// A backup that meets a full disk says so, whatever the moment it meets it,
// and leaves nothing behind: no file may grow past a limit, as on a full
// disk; and, where this system lets the test mount one, a small disk that
// fills up.
TEST(Copia, UnaCopiaSuUnDiscoPienoLoDice) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no per-process limit on a file's size, nor a small disk a test can mount";
#else
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    std::vector<Riga> righe;
    for (int i = 0; i < 200; ++i)
        righe.push_back(prova::RigaDi("Atleta " + std::to_string(i), {{"note", std::string(300, 'n')}}));
    prova::CreaArchivio(file, righe);
    archivio::Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    for (rlim_t limite : {rlim_t(0), rlim_t(1500), rlim_t(30000)}) {
        SCOPED_TRACE(limite);
        rlimit vecchio{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &vecchio), 0);
        auto segnale = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = vecchio;
        r.rlim_cur = limite;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &r), 0);
        const archivio::Esito e = a.CopiaIn(cartella.file("copia.dmg"));
        ::setrlimit(RLIMIT_FSIZE, &vecchio);
        std::signal(SIGXFSZ, segnale);
        ASSERT_FALSE(e.ok());
        EXPECT_EQ(e.errore().motivo, Motivo::DiscoPieno) << e.errore().dettaglio;
        EXPECT_EQ(prova::Contenuto(cartella.percorso()), std::vector<std::string>{"tvp.dmg"});
    }
    const fs::path piccolo = cartella.file("piccolo");
    fs::create_directory(piccolo);
    if (::mount("tovarin-prova", piccolo.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no small disk can be mounted here";
    const archivio::Esito e = a.CopiaIn(piccolo / "copia.dmg");
    const auto rimasti = prova::Contenuto(piccolo);
    ::umount(piccolo.c_str());
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::DiscoPieno) << e.errore().dettaglio;
    EXPECT_TRUE(rimasti.empty());
#endif
}

// A named pipe, a folder or a device is no backup: it is refused at once,
// never opened (a pipe would wait for a writer for ever), and no backup is
// written over one either.
TEST(Copia, UnaPipeNonEUnaCopia) {
#ifdef _WIN32
    GTEST_SKIP() << "no named pipe in a folder on Windows";
#else
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), tubo = cartella.file("tubo.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Attuale")});
    ASSERT_EQ(::mkfifo(tubo.c_str(), 0600), 0);
    fs::create_directory(cartella.file("cartella.dmg"));
    const std::string prima = prova::LeggiByte(file);
    for (const fs::path& sbagliato : {tubo, cartella.file("cartella.dmg"), fs::path("/dev/null")}) {
        SCOPED_TRACE(sbagliato.string());
        fs::path conservato;
        archivio::Esito e = archivio::RipristinaArchivio(file, sbagliato, "2026-12-09 11.42", conservato);
        ASSERT_FALSE(e.ok());
        EXPECT_EQ(e.errore().motivo, Motivo::NonUnFile);
        e = archivio::VerificaCopia(sbagliato);
        ASSERT_FALSE(e.ok());
        EXPECT_EQ(e.errore().motivo, Motivo::NonUnFile);
    }
    archivio::Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    const archivio::Esito e = a.CopiaIn(tubo);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::NonUnFile);
    a.Chiudi();
    EXPECT_TRUE(fs::is_fifo(tubo));
    EXPECT_EQ(prova::LeggiByte(file), prima);
    EXPECT_EQ(prova::Contenuto(cartella.percorso()), (std::vector<std::string>{"cartella.dmg", "tubo.dmg", "tvp.dmg"}));
#endif
}

// A restore is one step: the archive's name is never without a file (it is
// never moved away or deleted, only replaced in one rename), so a program
// stopped at any moment leaves the old archive or the new one.
TEST(Copia, IlRipristinoNonLasciaMaiSenzaArchivio) {
#ifdef _WIN32
    GTEST_SKIP() << "no inotify on Windows to watch the archive's name during the restore";
#else
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), copia = cartella.file("copia.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Attuale")});
    prova::CreaArchivio(copia, {prova::RigaDi("Dalla copia")});
    const int osservatore = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(osservatore, 0);
    ASSERT_GE(::inotify_add_watch(osservatore, cartella.percorso().c_str(), IN_MOVED_FROM | IN_DELETE), 0);
    fs::path conservato;
    ASSERT_TRUE(archivio::RipristinaArchivio(file, copia, "2026-12-09 11.42", conservato).ok());
    std::vector<std::string> via;
    alignas(inotify_event) char buf[8192];
    for (ssize_t n; (n = ::read(osservatore, buf, sizeof buf)) > 0;)
        for (char* p = buf; p < buf + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
            via.emplace_back(reinterpret_cast<inotify_event*>(p)->name);
    ::close(osservatore);
    EXPECT_EQ(std::count(via.begin(), via.end(), "tvp.dmg"), 0);
    EXPECT_EQ(Righe(file)[0][archivio::ColonnaNome], "Dalla copia");
    EXPECT_EQ(Righe(conservato)[0][archivio::ColonnaNome], "Attuale");
#endif
}

// What a run cut short leaves behind (the temporary file of a backup, an
// export, a restore or the settings, and its journal) is removed at the next
// start: in the program's folder, and wherever the registry noted one. A
// file of a run still going, a link and another name are left alone.
TEST(Copia, IProvvisoriAbbandonatiSonoRimossiAllAvvio) {
#ifdef _WIN32
    GTEST_SKIP() << "no fork() on Windows; FileSistemaWindows.ProvvisoriAbbandonati checks the same there";
#else
    CartellaProva dati(false), altrove(false);
    sistema::ImpostaRegistroProvvisori(dati.file("provvisori.lst"));
    sistema::ErroreFile errore;
    // A run killed after making its files: a child that ends at once.
    const pid_t figlio = ::fork();
    if (figlio == 0) {
        sistema::CreaFileAccanto(dati.file("tvp.dmg"), errore);
        const auto esportazione = sistema::CreaFileAccanto(altrove.file("atleti.csv"), errore);
        if (esportazione) std::ofstream(esportazione->string() + "-journal") << "j";
        ::_exit(0);
    }
    int stato = 0;
    ASSERT_EQ(::waitpid(figlio, &stato, 0), figlio);
    const auto mio = sistema::CreaFileAccanto(altrove.file("copia.dmg"), errore);  // this run's, still in use
    ASSERT_TRUE(mio);
    fs::create_symlink(altrove.file("copia.dmg"), dati.file("LangSetting.ini.tmp-1-abcdef"));
    dati.scrivi("tvp.dmg.tmp-note", "not ours");
    ASSERT_EQ(prova::Contenuto(altrove.percorso()).size(), 3u)
        << ::testing::PrintToString(prova::Contenuto(altrove.percorso()));

    EXPECT_EQ(sistema::RimuoviProvvisoriAbbandonati({dati.percorso()}), 3u);
    EXPECT_EQ(prova::Contenuto(altrove.percorso()), std::vector<std::string>{mio->filename().string()});
    EXPECT_EQ(prova::Contenuto(dati.percorso()),
              (std::vector<std::string>{"LangSetting.ini.tmp-1-abcdef", "provvisori.lst", "tvp.dmg.tmp-note"}));
    sistema::ImpostaRegistroProvvisori({});
#endif
}

// A phone number in the international form is written as it is: a "+"
// followed by digits, spaces and dashes only is no formula. Anything else
// that starts as a formula keeps its apostrophe; all come back as they were.
TEST(Csv, UnNumeroDiTelefonoSenzaApostrofo) {
    const std::vector<std::pair<std::string, bool>> casi{
        {"+353 1 234 5678", false},
        {"+39-0422-123456", false},
        {"+39", false},
        {"+", true},
        {"+ ", true},
        {"+39 0422 1234A", true},
        {"+39(0422)123456", true},
        {"+39 0422\t123", true},
        {"+1+1", true},
        {"+39 0422 =SUM(A1)", true},
        {"'+39 0422", true},
        {"-39 0422", true},
        {"=39", true},
    };
    std::vector<Riga> righe;
    for (const auto& [testo, apostrofo] : casi) righe.push_back(prova::RigaDi("Atleta", {{"tel", testo}}));
    const std::string csv = Csv(righe);
    for (const auto& [testo, apostrofo] : casi)
        EXPECT_NE(csv.find("\"" + std::string(apostrofo ? "'" : "") + testo + "\""), std::string::npos) << testo;
    const auto letta = archivio::LeggiCsv(csv);
    ASSERT_EQ(letta.righe.size(), righe.size());
    for (std::size_t i = 0; i < righe.size(); ++i) EXPECT_TRUE(letta.righe[i] == righe[i]) << casi[i].first;
}

// No cell becomes a formula in a spreadsheet: a text starting as one is
// written after an apostrophe, and comes back as it was, apostrophes of its
// own included.
TEST(Csv, NessunaCellaDiventaUnaFormula) {
    const std::vector<std::pair<std::string, std::string>> casi{
        {"=HYPERLINK(\"http://x\",\"click\")", "'=HYPERLINK"},
        {"+39 0422 123456 =1", "'+39"},
        {"-", "'-"},
        {"@rossi", "'@rossi"},
        {"\tdopo un tab", "'\t"},
        {"\rdopo un ritorno", "'\r"},
        {"'=gia' con apostrofo", "''="},
        {"'apostrofo", "'apostrofo"},
        {"'", "'\""},
    };
    std::vector<Riga> righe;
    for (const auto& [testo, atteso] : casi)
        righe.push_back(prova::RigaDi("Atleta", {{"note", testo}, {"Societa", testo}}));
    const std::string csv = Csv(righe);
    for (const auto& [testo, atteso] : casi) EXPECT_NE(csv.find("\"" + atteso), std::string::npos) << testo;
    const auto letta = archivio::LeggiCsv(csv);
    ASSERT_EQ(letta.righe.size(), righe.size());
    for (std::size_t i = 0; i < righe.size(); ++i) EXPECT_TRUE(letta.righe[i] == righe[i]) << casi[i].first;
}
