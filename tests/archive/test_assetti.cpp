// The athletes' fittings: recorded and read back by athlete row id, deleted
// with their athlete, never inherited by a new one nor moved to another by a
// backup, the table added to an older archive without touching `atleta`, and
// tables of that name that are not the program's, or of a later version.
#include "Archivio.h"
#include "CartellaProva.h"
#include "CopiaArchivio.h"
#include "SupportoArchivio.h"

#include <gtest/gtest.h>

#include <map>

namespace fs = std::filesystem;
using archivio::Archivio;
using archivio::Assetto;
using archivio::Motivo;

namespace {

const std::string Chiave(archivio::ChiaveArchivio);

// A fitting whose every text is its own, so that a value read into another
// field shows.
Assetto Di(std::int64_t atleta, const std::string& data, const std::string& segno) {
    Assetto a;
    a.atleta = atleta;
    a.data = data;
    a.disciplina = "gravel";
    int k = 0;
    auto riempi = [&](std::string& v) { v = segno + "." + std::to_string(k++); };
    riempi(a.bici);
    for (auto& v : a.misure) riempi(v);
    for (auto& v : a.risultati) riempi(v);
    for (auto& v : a.propri) riempi(v);
    for (auto& v : a.telaio) riempi(v);
    riempi(a.note);
    return a;
}

void Registra(Archivio& a, Assetto& x) {
    const auto e = a.RegistraAssetto(x, x.id);
    EXPECT_TRUE(e.ok()) << (e ? "" : e.errore().dettaglio);
}

std::vector<Assetto> Assetti(const Archivio& a, std::int64_t atleta) {
    std::vector<Assetto> v;
    const auto e = a.LeggiAssetti(atleta, v);
    EXPECT_TRUE(e.ok()) << (e ? "" : e.errore().dettaglio);
    return v;
}

std::int64_t Aggiungi(Archivio& a, const std::string& nome) {
    std::int64_t id = 0;
    EXPECT_TRUE(a.AggiungiRiga(prova::RigaDi(nome), id).ok());
    return id;
}

std::string Conta(const fs::path& file, const std::string& dove = "1") {
    return prova::Sql(file, Chiave, "SELECT count(*) FROM atleta_assetti WHERE " + dove).at(0);
}

// The definition the program gives the table, as SQLite keeps it.
std::string Definizione(const fs::path& file) {
    return prova::Sql(file, Chiave, "SELECT sql FROM sqlite_master WHERE name = 'atleta_assetti'").at(0);
}

std::string Sostituito(std::string testo, const std::string& da, const std::string& a) {
    const auto i = testo.find(da);
    EXPECT_NE(i, std::string::npos) << da;
    return i == std::string::npos ? testo : testo.replace(i, da.size(), a);
}

}  // namespace

TEST(Assetti, SiLeggonoDalPiuRecenteSiEliminanoEAppartengonoAllaRigaNonAlNome) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    const std::int64_t primo = Aggiungi(a, "Rossi"), omonimo = Aggiungi(a, "Rossi"), verdi = Aggiungi(a, "Verdi");
    Assetto vecchio = Di(omonimo, "2024-03-01", "a"), mattina = Di(omonimo, "2024-05-10", "b"),
            sera = Di(omonimo, "2024-05-10", "c"), senzaData = Di(omonimo, "", "d"),
            altro = Di(primo, "2025-01-01", "e");
    senzaData.telaio = {};
    senzaData.versione = 7;  // written in this version's format all the same
    for (Assetto* x : {&mattina, &vecchio, &senzaData, &sera, &altro}) Registra(a, *x);
    senzaData.versione = archivio::VersioneAssetti;

    Assetto data = Di(verdi, "10/05/2024", "x"), giorno = Di(verdi, "2024-02-30", "x"), disciplina = Di(verdi, "", "x");
    disciplina.disciplina = "ciclocross";
    for (const auto& [x, motivo] :
         std::vector<std::pair<Assetto, Motivo>>{{Di(999, "2024-01-01", "x"), Motivo::RigaMancante},
                                                 {data, Motivo::Altro},
                                                 {giorno, Motivo::Altro},
                                                 {disciplina, Motivo::Altro}}) {
        std::int64_t id = -1;
        const auto e = a.RegistraAssetto(x, id);
        ASSERT_FALSE(e.ok()) << x.data << " " << x.disciplina;
        EXPECT_EQ(e.errore().motivo, motivo);
        EXPECT_EQ(id, -1);
    }
    a.Chiudi();
    EXPECT_EQ(Conta(file), "5");
    // An empty text is stored without value, as in `atleta`.
    EXPECT_EQ(Conta(file, "data IS NULL AND stack IS NULL AND morsetto IS NULL"), "1");

    ASSERT_TRUE(a.Apri(file).ok());
    EXPECT_EQ(Assetti(a, omonimo), (std::vector<Assetto>{sera, mattina, vecchio, senzaData}));
    EXPECT_EQ(Assetti(a, primo), std::vector<Assetto>{altro});
    EXPECT_TRUE(Assetti(a, verdi).empty());
    std::int64_t n = -1;
    ASSERT_TRUE(a.ContaAssetti(omonimo, n).ok());
    EXPECT_EQ(n, 4);

    ASSERT_TRUE(a.EliminaAssetto(vecchio.id).ok());
    EXPECT_EQ(Assetti(a, omonimo), (std::vector<Assetto>{sera, mattina, senzaData}));
    const auto e = a.EliminaAssetto(vecchio.id);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::RigaMancante);
    ASSERT_TRUE(a.EliminaRiga(omonimo).ok());
    a.Chiudi();
    EXPECT_EQ(Conta(file), "1");
}

// An older version deleted athletes without their fittings. The next athlete
// added takes the row id after the largest, which such fittings may name:
// they are gone before it is added, by whichever way it is added.
TEST(Assetti, UnNuovoAtletaNonEreditaGliAssettiRimasti) {
    using Modo = std::function<void(Archivio&)>;
    const std::vector<std::pair<const char*, Modo>> modi{
        {"AggiungiRiga", [](Archivio& a) { Aggiungi(a, "Nuovo"); }},
        {"AggiungiRighe", [](Archivio& a) { ASSERT_TRUE(a.AggiungiRighe({prova::RigaDi("Nuovo")}).ok()); }},
        {"AggiungiInTransazione", [](Archivio& a) {
             ASSERT_TRUE(a.AggiungiInTransazione([](const Archivio::Aggiungi& aggiungi, bool& conferma) {
                              std::int64_t id = 0;
                              conferma = true;
                              return aggiungi(prova::RigaDi("Nuovo"), id);
                          }).ok());
         }}};
    for (const auto& [nome, aggiungi] : modi) {
        for (const bool tutti : {false, true}) {
            SCOPED_TRACE(std::string(nome) + (tutti ? ", every athlete deleted" : ", the last one deleted"));
            CartellaProva cartella(false);
            const fs::path file = cartella.file("tvp.dmg");
            Archivio a;
            ASSERT_TRUE(a.Apri(file).ok());
            const std::int64_t primo = Aggiungi(a, "Primo"), secondo = Aggiungi(a, "Secondo"),
                               ultimo = Aggiungi(a, "Ultimo");
            for (std::int64_t id : {primo, secondo, ultimo, ultimo}) {
                Assetto x = Di(id, "2024-01-01", "x");
                Registra(a, x);
            }
            a.Chiudi();
            prova::Sql(file, Chiave,
                       tutti ? "DELETE FROM atleta" : "DELETE FROM atleta WHERE rowid = " + std::to_string(ultimo));
            ASSERT_TRUE(a.Apri(file).ok());
            aggiungi(a);
            std::vector<std::int64_t> id;
            std::vector<std::string> nomi;
            ASSERT_TRUE(a.ElencaRighe(id, nomi).ok());
            ASSERT_EQ(nomi.back(), "Nuovo");
            EXPECT_TRUE(Assetti(a, id.back()).empty());
            EXPECT_EQ(Assetti(a, primo).size(), tutti ? 0u : 1u);
            EXPECT_EQ(Assetti(a, secondo).size(), tutti ? 0u : 1u);
        }
    }
}

// An archive of an older version gets the table when it is opened to be
// worked on, and its athletes stay exactly as they were, row ids included.
// Opened read-only, or to be checked as a backup, it is never written: it
// has no fittings, and none can be recorded.
TEST(Assetti, UnArchivioPrecedenteRiceveLaTabellaEGliAtletiNonCambiano) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("A", {{"peso", "70"}}), prova::RigaDi("B"),
                               prova::RigaDi("C", {{"AttivFis", "1"}, {"note", "x"}})});
    prova::Sql(file, Chiave, "DELETE FROM atleta WHERE rowid = 2; DROP TABLE atleta_assetti;");
    std::string colonne = "rowid";
    for (std::string_view c : archivio::Colonne) colonne += ", quote(\"" + std::string(c) + "\")";
    auto atleti = [&] {
        auto righe = prova::Sql(file, Chiave, "SELECT " + colonne + " FROM atleta ORDER BY rowid");
        righe.push_back(prova::Sql(file, Chiave, "SELECT sql FROM sqlite_master WHERE name = 'atleta'").at(0));
        return righe;
    };
    const auto prima = atleti();
    ASSERT_EQ(prima.size(), 3u);
    const std::string byte = prova::LeggiByte(file);

    auto nonScrive = [&](Archivio& a) {
        std::int64_t n = -1, id = 0;
        EXPECT_TRUE(Assetti(a, 1).empty());
        EXPECT_TRUE(a.ContaAssetti(1, n).ok());
        EXPECT_EQ(n, 0);
        const auto e = a.RegistraAssetto(Di(1, "2024-01-01", "x"), id);
        ASSERT_FALSE(e.ok());
        EXPECT_EQ(e.errore().motivo, Motivo::SolaLettura);
        a.Chiudi();
        EXPECT_EQ(prova::LeggiByte(file), byte);
    };
    Archivio a;
    ASSERT_TRUE(archivio::VerificaCopia(file).ok());
    ASSERT_TRUE(a.ApriInLettura(file).ok());
    nonScrive(a);
    {
        prova::SolaLettura blocco(file);
        if (blocco.riuscito()) {
            ASSERT_TRUE(a.Apri(file).ok());
            nonScrive(a);
        }
    }

    // Nothing is written into a damaged file (here a note's page).
    const fs::path guasto = cartella.file("guasto.dmg");
    std::vector<archivio::Riga> righe;
    for (int g = 1; g <= 40; ++g) righe.push_back(prova::RigaGenerazione(g));
    prova::CreaArchivio(guasto, righe);
    prova::Sql(guasto, Chiave, "DROP TABLE atleta_assetti");
    std::string danneggiato = prova::LeggiByte(guasto);
    for (std::size_t i = danneggiato.size() / 2; i < danneggiato.size() / 2 + 64; ++i) danneggiato[i] ^= 0x5a;
    prova::ScriviByte(guasto, danneggiato);
    if (a.Apri(guasto)) a.Chiudi();
    EXPECT_EQ(prova::LeggiByte(guasto), danneggiato);
    // Nor into one that opens and reads its athletes, but fails SQLite's
    // quick check: a table's pages left behind by its removal.
    const fs::path orfano = cartella.file("orfano.dmg");
    prova::CreaArchivio(orfano, {prova::RigaDi("Rossi")});
    prova::Sql(orfano, Chiave,
               "DROP TABLE atleta_assetti; CREATE TABLE via(x); INSERT INTO via VALUES (zeroblob(20000)); "
               "PRAGMA writable_schema = ON; DELETE FROM sqlite_master WHERE name = 'via'; "
               "PRAGMA writable_schema = OFF;");
    const std::string orfanoPrima = prova::LeggiByte(orfano);
    ASSERT_TRUE(a.Apri(orfano).ok());
    EXPECT_FALSE(a.Verifica().ok());
    a.Chiudi();
    EXPECT_EQ(prova::LeggiByte(orfano), orfanoPrima);

    ASSERT_TRUE(a.Apri(file).ok());
    a.Chiudi();
    EXPECT_EQ(prova::Sql(file, Chiave, "SELECT name FROM sqlite_master WHERE tbl_name = 'atleta_assetti' ORDER BY 1"),
              (std::vector<std::string>{"atleta_assetti", "atleta_assetti_atleta"}));
    EXPECT_EQ(atleti(), prima);
    EXPECT_TRUE(archivio::VerificaCopia(file).ok());
}

// A table of that name that is not the program's: the fittings cannot be
// read or written, and say why; the athletes are worked on as ever, and the
// table is never written.
TEST(Assetti, UnaTabellaNonDelProgrammaFermaSoloGliAssetti) {
    struct Caso {
        const char* nome;
        std::string da, a;
        Motivo motivo;
        std::string dettaglio;
        std::string righe = "(id, atleta, versione) VALUES (1, 1, 1), (2, 99, 1)";
    };
    const std::vector<Caso> casi{
        {"a column missing", "\"spalle\" TEXT, ", "", Motivo::ColonnaMancante, "atleta_assetti.spalle"},
        {"id missing", "id INTEGER PRIMARY KEY, ", "", Motivo::ColonnaMancante, "atleta_assetti.id",
         "(atleta, versione) VALUES (1, 1), (99, 1)"},
        {"a measure stored as a number", "\"cavallo\" TEXT", "\"cavallo\" NUMERIC", Motivo::TabellaEstranea,
         "atleta_assetti.cavallo"},
        {"the date stored as a number", "\"data\" TEXT", "\"data\" REAL", Motivo::TabellaEstranea,
         "atleta_assetti.data"},
        {"the athlete as a text", "atleta INTEGER", "atleta TEXT", Motivo::TabellaEstranea, "atleta_assetti.atleta"},
        {"id not the row id", "id INTEGER PRIMARY KEY", "id TEXT PRIMARY KEY", Motivo::TabellaEstranea,
         "atleta_assetti.id"},
        {"id no key at all", "id INTEGER PRIMARY KEY", "id INTEGER", Motivo::TabellaEstranea, "atleta_assetti.id"},
        {"without row ids", "\"note\" TEXT)", "\"note\" TEXT) WITHOUT ROWID", Motivo::TabellaEstranea,
         "atleta_assetti.id"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg");
        prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
        const std::string tabella = Sostituito(Definizione(file), caso.da, caso.a);
        ASSERT_EQ(prova::Sql(file, Chiave,
                             "DROP TABLE atleta_assetti; " + tabella + "; INSERT INTO atleta_assetti " + caso.righe),
                  std::vector<std::string>{});
        const auto oggetti = [&file] {
            return prova::Sql(file, Chiave, "SELECT name FROM sqlite_master WHERE tbl_name = 'atleta_assetti'");
        };
        const auto prima = oggetti();
        Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        std::vector<Assetto> v;
        std::int64_t n = 0, id = 0;
        for (const archivio::Esito& e : {a.LeggiAssetti(1, v), a.ContaAssetti(1, n),
                                         a.RegistraAssetto(Di(1, "2024-01-01", "x"), id), a.EliminaAssetto(1)}) {
            ASSERT_FALSE(e.ok());
            EXPECT_EQ(e.errore().motivo, caso.motivo);
            EXPECT_EQ(e.errore().dettaglio, caso.dettaglio);
        }
        EXPECT_GT(Aggiungi(a, "Verdi"), 1);
        EXPECT_TRUE(a.EliminaRiga(1).ok());
        a.Chiudi();
        EXPECT_EQ(Definizione(file), tabella);
        EXPECT_EQ(oggetti(), prima);
        EXPECT_EQ(Conta(file), "2");
    }
}

// A later version's table: more columns, in another order. Its rows are
// read, those of its own format are never deleted, and this version's
// fittings are still recorded there.
// Declared types that keep a text as written, and an athlete's column of
// another integer type: the program's own table, written by another hand.
TEST(Assetti, UnaTabellaScrittaAltrimentiSiLeggeESiScrive) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    std::string tabella = Definizione(file);
    for (const auto& [da, a] : std::map<std::string, std::string>{{"atleta INTEGER", "atleta BIGINT"},
                                                                  {"\"data\" TEXT", "\"data\" VARCHAR(10)"},
                                                                  {"\"cavallo\" TEXT", "\"cavallo\" CLOB"},
                                                                  {"\"spalle\" TEXT", "\"spalle\" BLOB"},
                                                                  {"\"note\" TEXT", "\"note\""}})
        tabella = Sostituito(tabella, da, a);
    ASSERT_EQ(prova::Sql(file, Chiave, "DROP TABLE atleta_assetti; " + tabella), std::vector<std::string>{});
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    Assetto x = Di(1, "2024-01-01", "x");
    Registra(a, x);
    EXPECT_EQ(Assetti(a, 1), std::vector<Assetto>{x});
}

TEST(Assetti, UnaTabellaDiUnaVersioneSuccessivaSiLegge) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    const std::string numeri = "atleta INTEGER NOT NULL, versione INTEGER NOT NULL";
    const std::string tabella = Sostituito(Sostituito(Definizione(file), numeri + ", ", "potenza TEXT, "),
                                           "\"note\" TEXT", "\"note\" TEXT, " + numeri);
    ASSERT_TRUE(prova::Sql(file, Chiave,
                           "DROP TABLE atleta_assetti; " + tabella +
                               "; INSERT INTO atleta_assetti (id, atleta, versione, data, cavallo, note, potenza) "
                               "VALUES (10, 1, 2, '2025-06-01', '85', 'nuova', '300 W'), "
                               "(11, 1, 1, '2024-01-01', NULL, 'vecchia', NULL);")
                    .empty());
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    const auto lette = Assetti(a, 1);
    ASSERT_EQ(lette.size(), 2u);
    EXPECT_EQ(lette[0].id, 10);
    EXPECT_EQ(lette[0].versione, 2);
    EXPECT_EQ(lette[0].data, "2025-06-01");
    EXPECT_EQ(lette[0].misure[archivio::CampoMisura::Cavallo], "85");
    EXPECT_EQ(lette[0].note, "nuova");
    EXPECT_EQ(lette[1].note, "vecchia");
    const auto e = a.EliminaAssetto(10);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::AssettoPiuRecente);
    EXPECT_EQ(e.errore().dettaglio, "2");  // the later version it was written by
    EXPECT_TRUE(a.EliminaAssetto(11).ok());
    Assetto nuovo = Di(1, "2026-01-01", "n");
    Registra(a, nuovo);
    EXPECT_EQ(Assetti(a, 1), (std::vector<Assetto>{nuovo, lette[0]}));
}

// The fittings' table gone behind an open archive: a change or a delete finds
// no such fitting, and the first fitting recorded makes the table again.
TEST(Assetti, SenzaLaTabellaNessunAssettoELaPrimaRegistrazioneLaRifa) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    ASSERT_EQ(prova::Sql(file, Chiave, "DROP TABLE atleta_assetti"), std::vector<std::string>{});
    const auto e = a.EliminaAssetto(1);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::RigaMancante);
    Assetto x = Di(1, "2024-01-01", "x");
    Registra(a, x);
    EXPECT_EQ(Assetti(a, 1), std::vector<Assetto>{x});
    // Nor without an archive open.
    a.Chiudi();
    std::vector<Assetto> v;
    std::int64_t n = 0, id = 0;
    for (const archivio::Esito& e :
         {a.LeggiAssetti(1, v), a.ContaAssetti(1, n), a.RegistraAssetto(x, id), a.EliminaAssetto(x.id)})
        EXPECT_EQ(e ? "" : e.errore().dettaglio, "archive not open");
}
