// The athletes' tests: read back newest first by athlete row id, changed in
// place and never moved to another athlete, deleted with their athlete, kept
// by a backup, added to an older archive without touching `atleta`, never
// inherited by a new athlete.
#include "Archivio.h"
#include "CartellaProva.h"
#include "CopiaArchivio.h"
#include "SupportoArchivio.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace fs = std::filesystem;
using archivio::Archivio;
using archivio::Motivo;
using archivio::TestAtleta;

namespace {

const std::string Chiave(archivio::ChiaveArchivio);

// A test whose every value is its own, so that a value read into another
// field shows.
TestAtleta Di(std::int64_t atleta, const std::string& data, const std::string& segno) {
    TestAtleta t;
    t.atleta = atleta;
    t.data = data;
    t.fcmax = segno + ".fcmax";
    t.lthr = segno + ".lthr";
    t.ftp = segno + ".ftp";
    t.peso = segno + ".peso";
    t.note = segno + ".note";
    return t;
}

void Registra(Archivio& a, TestAtleta& t) {
    const auto e = a.RegistraTest(t, t.id);
    EXPECT_TRUE(e.ok()) << (e ? "" : e.errore().dettaglio);
}

std::vector<TestAtleta> Letti(const Archivio& a, std::int64_t atleta) {
    std::vector<TestAtleta> v;
    const auto e = a.LeggiTest(atleta, v);
    EXPECT_TRUE(e.ok()) << (e ? "" : e.errore().dettaglio);
    return v;
}

std::int64_t Aggiungi(Archivio& a, const std::string& nome) {
    std::int64_t id = 0;
    EXPECT_TRUE(a.AggiungiRiga(prova::RigaDi(nome), id).ok());
    return id;
}

std::string Conta(const fs::path& file, const std::string& dove = "1") {
    return prova::Sql(file, Chiave, "SELECT count(*) FROM atleta_test WHERE " + dove).at(0);
}

void Fallisce(const archivio::Esito& e, Motivo motivo) {
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, motivo);
}

}  // namespace

TEST(TestAtleti, SiLeggonoDalPiuRecenteConOgniCampoEAppartengonoAllaRigaNonAlNome) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    const std::int64_t primo = Aggiungi(a, "Rossi"), omonimo = Aggiungi(a, "Rossi");
    TestAtleta vecchio = Di(omonimo, "2024-03-01", "a"), mattina = Di(omonimo, "2024-05-10", "b"),
               sera = Di(omonimo, "2024-05-10", "c"), senzaData = Di(omonimo, "", "d"),
               altro = Di(primo, "2025-01-01", "e");
    senzaData.fcmax = senzaData.lthr = senzaData.ftp = "";
    senzaData.versione = 7;  // written in this version's format all the same
    for (TestAtleta* t : {&mattina, &vecchio, &senzaData, &sera, &altro}) Registra(a, *t);
    senzaData.versione = archivio::VersioneTest;

    for (const auto& [t, motivo] : std::vector<std::pair<TestAtleta, Motivo>>{
             {Di(999, "2024-01-01", "x"), Motivo::RigaMancante}, {Di(primo, "2024-02-30", "x"), Motivo::Altro}}) {
        SCOPED_TRACE(t.data);
        std::int64_t id = -1;
        Fallisce(a.RegistraTest(t, id), motivo);
        EXPECT_EQ(id, -1);
    }
    a.Chiudi();
    EXPECT_EQ(Conta(file), "5");
    // Each value in its own column, as another version of the program reads it.
    EXPECT_EQ(prova::Sql(file, Chiave,
                         "SELECT atleta, versione, data, fcmax, lthr, ftp, peso, note FROM atleta_test WHERE id = " +
                             std::to_string(vecchio.id)),
              std::vector<std::string>{std::to_string(omonimo) + "|1|2024-03-01|a.fcmax|a.lthr|a.ftp|a.peso|a.note"});
    EXPECT_EQ(Conta(file, "data IS NULL AND fcmax IS NULL AND lthr IS NULL AND ftp IS NULL AND peso IS NOT NULL"), "1");

    ASSERT_TRUE(a.Apri(file).ok());
    EXPECT_EQ(Letti(a, omonimo), (std::vector<TestAtleta>{sera, mattina, vecchio, senzaData}));
    EXPECT_EQ(Letti(a, primo), std::vector<TestAtleta>{altro});
    std::int64_t n = -1;
    ASSERT_TRUE(a.ContaTest(omonimo, n).ok());
    EXPECT_EQ(n, 4);

    ASSERT_TRUE(a.EliminaTest(vecchio.id).ok());
    EXPECT_EQ(Letti(a, omonimo), (std::vector<TestAtleta>{sera, mattina, senzaData}));
    Fallisce(a.EliminaTest(vecchio.id), Motivo::RigaMancante);
    ASSERT_TRUE(a.EliminaRiga(omonimo).ok());
    a.Chiudi();
    EXPECT_EQ(Conta(file), "1");
}

// A change rewrites the date, the values and the notes of that test only;
// it never reaches another athlete's test, nor one of a later version, which
// is read all the same.
TEST(TestAtleti, UnaModificaCambiaSoloQuelTestDiQuellAtleta) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi"), prova::RigaDi("Verdi")});
    ASSERT_TRUE(prova::Sql(file, Chiave,
                           "INSERT INTO atleta_test (id, atleta, versione, data, ftp) VALUES (50, 1, 2, '2026-01-01', "
                           "'310')")
                    .empty());
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    TestAtleta rossi = Di(1, "2024-01-01", "r"), verdi = Di(2, "2024-01-01", "v");
    Registra(a, rossi);
    Registra(a, verdi);
    const TestAtleta successivo = Letti(a, 1).at(0);
    EXPECT_EQ(std::tie(successivo.id, successivo.versione, successivo.ftp), std::make_tuple(50, 2, "310"));

    TestAtleta cambiato = Di(1, "2024-02-02", "n");
    cambiato.id = rossi.id;
    cambiato.lthr = "";
    ASSERT_TRUE(a.ModificaTest(cambiato).ok());

    TestAtleta altrui = cambiato, nessuno = cambiato, data = cambiato, recente = cambiato;
    altrui.id = verdi.id;
    nessuno.id = 999;
    data.data = "2024-13-01";
    recente.id = 50;
    for (const auto& [t, motivo] : std::vector<std::pair<TestAtleta, Motivo>>{{altrui, Motivo::RigaMancante},
                                                                              {nessuno, Motivo::RigaMancante},
                                                                              {data, Motivo::Altro},
                                                                              {recente, Motivo::TestPiuRecente}}) {
        SCOPED_TRACE(t.id);
        Fallisce(a.ModificaTest(t), motivo);
    }
    Fallisce(a.EliminaTest(50), Motivo::TestPiuRecente);
    EXPECT_EQ(Letti(a, 1), (std::vector<TestAtleta>{successivo, cambiato}));
    EXPECT_EQ(Letti(a, 2), std::vector<TestAtleta>{verdi});
    a.Chiudi();
    EXPECT_EQ(Conta(file, "id = " + std::to_string(rossi.id) + " AND lthr IS NULL"), "1");
}

// A backup restored keeps every test and every fitting with its athlete, and
// every athlete its row id, after an athlete in the middle was deleted.
TEST(TestAtleti, UnaCopiaRipristinataTieneOgniTestEOgniAssettoColSuoAtleta) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), copia = cartella.file("copia.dmg");
    struct Voci {
        std::string nome;
        std::vector<TestAtleta> test;
        std::vector<archivio::Assetto> assetti;
        bool operator==(const Voci&) const = default;
    };
    using Fotografia = std::map<std::int64_t, Voci>;
    auto fotografia = [](const Archivio& a) {
        std::vector<std::int64_t> id;
        std::vector<std::string> nomi;
        EXPECT_TRUE(a.ElencaRighe(id, nomi).ok());
        Fotografia f;
        for (std::size_t i = 0; i < id.size(); ++i) {
            std::vector<archivio::Assetto> assetti;
            EXPECT_TRUE(a.LeggiAssetti(id[i], assetti).ok());
            f[id[i]] = {nomi[i], Letti(a, id[i]), assetti};
        }
        return f;
    };
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    std::vector<std::int64_t> id;
    for (const char* nome : {"A", "B", "C", "D", "E"}) id.push_back(Aggiungi(a, nome));
    ASSERT_TRUE(a.EliminaRiga(id[2]).ok());
    for (std::int64_t atleta : {id[0], id[1], id[3], id[4], id[4]}) {
        TestAtleta t = Di(atleta, "2024-01-01", std::to_string(atleta));
        Registra(a, t);
        archivio::Assetto x;
        x.atleta = atleta;
        x.data = "2024-01-01";
        x.bici = std::to_string(atleta);
        std::int64_t nuovo = 0;
        ASSERT_TRUE(a.RegistraAssetto(x, nuovo).ok());
    }
    const Fotografia prima = fotografia(a);
    ASSERT_EQ(prima.size(), 4u);
    ASSERT_TRUE(a.CopiaIn(copia).ok());
    a.Chiudi();
    fs::path conservato;
    ASSERT_TRUE(archivio::RipristinaArchivio(file, copia, "2026-12-09 11.42", conservato).ok());
    ASSERT_TRUE(a.Apri(file).ok());
    EXPECT_EQ(fotografia(a), prima);
}

// An archive of an older version, without the tables of the fittings and of
// the tests, gets both when it is opened to be worked on, its athletes
// exactly as they were. Opened to be checked as a backup, it is never
// written: it has no tests, and none can be recorded.
TEST(TestAtleti, UnArchivioPrecedenteRiceveLaTabellaEGliAtletiNonCambiano) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("A", {{"peso", "70"}}), prova::RigaDi("B"),
                               prova::RigaDi("C", {{"AttivFis", "1"}, {"note", "x"}})});
    prova::Sql(file, Chiave, "DELETE FROM atleta WHERE rowid = 2; DROP TABLE atleta_test; DROP TABLE atleta_assetti;");
    std::string colonne = "rowid";
    for (std::string_view c : archivio::Colonne) colonne += ", quote(\"" + std::string(c) + "\")";
    auto atleti = [&] {
        auto righe = prova::Sql(file, Chiave, "SELECT " + colonne + " FROM atleta ORDER BY rowid");
        righe.push_back(prova::Sql(file, Chiave, "SELECT sql FROM sqlite_master WHERE name = 'atleta'").at(0));
        return righe;
    };
    const auto prima = atleti();
    const std::string byte = prova::LeggiByte(file);

    Archivio a;
    ASSERT_TRUE(archivio::VerificaCopia(file).ok());
    ASSERT_TRUE(a.ApriInLettura(file).ok());
    std::int64_t n = -1, id = 0;
    EXPECT_TRUE(Letti(a, 1).empty());
    EXPECT_TRUE(a.ContaTest(1, n).ok());
    EXPECT_EQ(n, 0);
    Fallisce(a.RegistraTest(Di(1, "2024-01-01", "x"), id), Motivo::SolaLettura);
    a.Chiudi();
    EXPECT_EQ(prova::LeggiByte(file), byte);

    ASSERT_TRUE(a.Apri(file).ok());
    a.Chiudi();
    EXPECT_EQ(
        prova::Sql(file, Chiave,
                   "SELECT name FROM sqlite_master WHERE tbl_name IN ('atleta_test', 'atleta_assetti') ORDER BY 1"),
        (std::vector<std::string>{"atleta_assetti", "atleta_assetti_atleta", "atleta_test", "atleta_test_atleta"}));
    EXPECT_EQ(prova::Sql(file, Chiave, "SELECT sql FROM sqlite_master WHERE name = 'atleta_test'").at(0),
              "CREATE TABLE atleta_test (id INTEGER PRIMARY KEY, atleta INTEGER NOT NULL, versione INTEGER NOT NULL, "
              "\"data\" TEXT, \"fcmax\" TEXT, \"lthr\" TEXT, \"ftp\" TEXT, \"peso\" TEXT, \"note\" TEXT)");
    EXPECT_EQ(atleti(), prima);
    EXPECT_TRUE(archivio::VerificaCopia(file).ok());
}

// An older version deleted athletes without their tests: the next athlete
// added, who takes the row id after the largest, does not get them.
TEST(TestAtleti, UnNuovoAtletaNonEreditaITestRimasti) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    const std::int64_t primo = Aggiungi(a, "Primo"), ultimo = Aggiungi(a, "Ultimo");
    for (std::int64_t id : {primo, ultimo, ultimo}) {
        TestAtleta t = Di(id, "2024-01-01", "x");
        Registra(a, t);
    }
    a.Chiudi();
    prova::Sql(file, Chiave, "DELETE FROM atleta WHERE rowid = " + std::to_string(ultimo));
    ASSERT_TRUE(a.Apri(file).ok());
    const std::int64_t nuovo = Aggiungi(a, "Nuovo");
    ASSERT_EQ(nuovo, ultimo);
    EXPECT_TRUE(Letti(a, nuovo).empty());
    EXPECT_EQ(Letti(a, primo).size(), 1u);
}
