// The archive file: creation, encryption, files that must not be opened (and
// must not be touched), rows in table order, failed writes, and a writer
// killed in the middle of its writes.
#include "Archivio.h"
#include "CartellaProva.h"
#include "CopiaArchivio.h"
#include "SupportoArchivio.h"

#include <gtest/gtest.h>

#include <sqlcipher/sqlite3.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef SCRITTORE_ARCHIVIO
#error "SCRITTORE_ARCHIVIO must name the helper program"
#endif

extern char** environ;

namespace fs = std::filesystem;
using archivio::Archivio;
using archivio::Motivo;
using archivio::Riga;

namespace {

const std::string Chiave(archivio::ChiaveArchivio);

std::vector<std::string> Nomi(const Archivio& a) {
    std::vector<std::int64_t> id;
    std::vector<std::string> nomi;
    auto e = a.ElencaRighe(id, nomi);
    EXPECT_TRUE(e.ok()) << (e ? "" : e.errore().dettaglio);
    return nomi;
}

Riga Leggi(const Archivio& a, std::int64_t id) {
    Riga r;
    auto e = a.LeggiRiga(id, r);
    EXPECT_TRUE(e.ok()) << (e ? "" : e.errore().dettaglio);
    return r;
}

// The text with its one `da` replaced by `a`.
std::string Sostituisci(std::string testo, const std::string& da, const std::string& a) {
    const auto dove = testo.find(da);
    EXPECT_NE(dove, std::string::npos) << da;
    if (dove != std::string::npos) testo.replace(dove, da.size(), a);
    return testo;
}

std::vector<std::int64_t> Id(const Archivio& a) {
    std::vector<std::int64_t> id;
    std::vector<std::string> nomi;
    EXPECT_TRUE(a.ElencaRighe(id, nomi).ok());
    return id;
}

}  // namespace

TEST(Archivio, PrimoAvvioCreaIlFileConLaTabellaVuotaSoloPerIlProprietario) {
    CartellaProva cartella;
    const fs::path file = cartella.file("tvp.dmg");
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    EXPECT_TRUE(a.creato());
    EXPECT_TRUE(Nomi(a).empty());
    a.Chiudi();

    struct stat s {};
    ASSERT_EQ(::stat(file.c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 0777, 0600u);
    // Nothing but the archive is left next to the language files.
    EXPECT_EQ(prova::Contenuto(cartella.percorso()),
              (std::vector<std::string>{"english.lng", "italian.lng", "tvp.dmg"}));

    // The 34 columns, spelled as the program names them, in order; only the
    // yes/no column is not text.
    std::vector<std::string> attese;
    for (std::size_t i = 0; i < archivio::Colonne.size(); ++i)
        attese.push_back(std::to_string(i) + "|" + std::string(archivio::Colonne[i]) +
                         (archivio::Colonne[i] == "AttivFis" ? "|INTEGER|1|0|0" : "|TEXT|0||0"));
    EXPECT_EQ(prova::Sql(file, Chiave, "PRAGMA table_info(atleta)"), attese);
    EXPECT_EQ(prova::Sql(file, Chiave, "SELECT count(*) FROM atleta"), std::vector<std::string>{"0"});
}

TEST(Archivio, IlFileECifratoESiApreSoloConLaChiave) {
    CartellaProva cartella;
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi Mario", {{"note", "scheda riservata"}})});

    const std::string byte = prova::LeggiByte(file);
    ASSERT_GE(byte.size(), 1024u);
    EXPECT_NE(byte.substr(0, 16), std::string("SQLite format 3\0", 16));
    EXPECT_EQ(byte.find("Rossi Mario"), std::string::npos);
    EXPECT_EQ(byte.find("riservata"), std::string::npos);
    EXPECT_EQ(byte.find("atleta"), std::string::npos);

    EXPECT_EQ(prova::Sql(file, Chiave, "SELECT nome FROM atleta"), std::vector<std::string>{"Rossi Mario"});
    EXPECT_EQ(prova::Sql(file, "", "SELECT nome FROM atleta")[0].rfind("ERRORE", 0), 0u);
    EXPECT_EQ(prova::Sql(file, "quintobarlE", "SELECT nome FROM atleta")[0].rfind("ERRORE", 0), 0u);
}

TEST(Archivio, IFileCheNonSiApronoVengonoSegnalatiELasciatiIntatti) {
    struct Caso {
        const char* nome;
        std::function<void(const fs::path&)> prepara;
        std::vector<Motivo> motivi;  // any of these
    };
    auto archivioConRighe = [](const fs::path& f, int righe) {
        std::vector<Riga> r;
        for (int i = 0; i < righe; ++i) r.push_back(prova::RigaGenerazione(i + 1));
        prova::CreaArchivio(f, r);
    };
    const std::vector<Caso> casi{
        // A file the fixed key does not open, of whole pages and not a plain
        // SQLite file, is told only as one locked by a passphrase (the
        // passphrase given then fails: wrong, or not an archive).
        {"another password",
         [](const fs::path& f) { prova::Sql(f, "altrapassword", "CREATE TABLE atleta(nome TEXT)"); },
         {Motivo::PassphraseRichiesta}},
        {"plain SQLite file",
         [](const fs::path& f) { prova::Sql(f, "", "CREATE TABLE atleta(nome TEXT); INSERT INTO atleta VALUES('x')"); },
         {Motivo::NonArchivio}},
        {"text file",
         [](const fs::path& f) { prova::ScriviByte(f, "nome;cavallo\nRossi;85\n"); },
         {Motivo::NonArchivio}},
        {"random bytes",
         [](const fs::path& f) {
             std::string b(8192, '\0');
             std::uint32_t x = 12345;
             for (char& c : b) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
             prova::ScriviByte(f, b);
         },
         {Motivo::PassphraseRichiesta}},
        // Not a whole number of pages: no encrypted database.
        {"random bytes, pages cut",
         [](const fs::path& f) {
             std::string b(8000, '\0');
             std::uint32_t x = 12345;
             for (char& c : b) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
             prova::ScriviByte(f, b);
         },
         {Motivo::NonArchivio}},
        {"first page damaged",
         [&](const fs::path& f) {
             archivioConRighe(f, 3);
             std::string b = prova::LeggiByte(f);
             for (std::size_t i = 200; i < 260; ++i) b[i] = static_cast<char>(b[i] ^ 0x5a);
             prova::ScriviByte(f, b);
         },
         {Motivo::NonArchivio, Motivo::Danneggiato, Motivo::PassphraseRichiesta}},
        {"a row page damaged",
         [&](const fs::path& f) {
             archivioConRighe(f, 40);
             std::string b = prova::LeggiByte(f);
             const std::size_t meta = b.size() / 2;
             for (std::size_t i = meta; i < meta + 64; ++i) b[i] = static_cast<char>(b[i] ^ 0xff);
             prova::ScriviByte(f, b);
         },
         {Motivo::NonArchivio, Motivo::Danneggiato}},
        {"cut short",
         [&](const fs::path& f) {
             archivioConRighe(f, 40);
             std::string b = prova::LeggiByte(f);
             prova::ScriviByte(f, b.substr(0, b.size() / 3 + 17));
         },
         {Motivo::NonArchivio, Motivo::Danneggiato}},
        {"no athlete table",
         [](const fs::path& f) { prova::Sql(f, Chiave, "CREATE TABLE altro(nome TEXT)"); },
         {Motivo::SenzaTabella}},
        {"empty file", [](const fs::path& f) { prova::ScriviByte(f, ""); }, {Motivo::SenzaTabella}},
        {"a column missing",
         [](const fs::path& f) {
             std::string sql = "CREATE TABLE atleta(";
             for (std::size_t i = 0; i < archivio::Colonne.size(); ++i)
                 if (archivio::Colonne[i] != "TipoImpiego")
                     sql += (i ? ", \"" : "\"") + std::string(archivio::Colonne[i]) + "\"";
             prova::Sql(f, Chiave, sql + ")");
         },
         {Motivo::ColonnaMancante}},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg");
        caso.prepara(file);
        const std::string prima = prova::LeggiByte(file);
        const auto contenutoPrima = prova::Contenuto(cartella.percorso());

        Archivio a;
        archivio::Esito esito = a.Apri(file);
        // The record set reads every name at once, the card each row whole: a
        // damaged row page shows there.
        if (esito) {
            std::vector<std::int64_t> id;
            std::vector<std::string> nomi;
            std::vector<Riga> righe;
            esito = a.ElencaRighe(id, nomi);
            if (esito) esito = a.LeggiTutte(righe);
        }
        ASSERT_FALSE(esito.ok());
        EXPECT_NE(std::find(caso.motivi.begin(), caso.motivi.end(), esito.errore().motivo), caso.motivi.end())
            << "motive " << static_cast<int>(esito.errore().motivo) << ": " << esito.errore().dettaglio;
        if (esito.errore().motivo == Motivo::ColonnaMancante) {
            EXPECT_EQ(esito.errore().dettaglio, "TipoImpiego");
        }
        a.Chiudi();
        EXPECT_FALSE(a.aperto());
        EXPECT_EQ(prova::LeggiByte(file), prima);
        EXPECT_EQ(prova::Contenuto(cartella.percorso()), contenutoPrima);
    }
}

TEST(Archivio, UnFileBloccatoDaUnAltroProgrammaVieneSegnalatoENonToccato) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    const std::string prima = prova::LeggiByte(file);

    sqlite3* altro = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &altro, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(altro, (archivio::SqlChiave() + " BEGIN EXCLUSIVE; UPDATE atleta SET nome = 'X';").c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const int attesa = Archivio::AttesaBloccoMs;
    Archivio::AttesaBloccoMs = 100;
    Archivio a;
    archivio::Esito esito = a.Apri(file);
    Archivio::AttesaBloccoMs = attesa;
    ASSERT_FALSE(esito.ok());
    EXPECT_EQ(esito.errore().motivo, Motivo::InUso);
    sqlite3_exec(altro, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(altro);
    EXPECT_EQ(prova::LeggiByte(file), prima);
}

TEST(Archivio, LeRigheRestanoNellOrdineDiInserimento) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    std::map<std::string, std::int64_t> id;
    for (const char* nome : {"Zanetti", "Bianchi", "Conti"})
        ASSERT_TRUE(a.AggiungiRiga(prova::RigaDi(nome), id[nome]).ok());
    // Deleting the last row and adding another: the new one still comes last.
    ASSERT_TRUE(a.EliminaRiga(id["Conti"]).ok());
    ASSERT_TRUE(a.AggiungiRiga(prova::RigaDi("Amato"), id["Amato"]).ok());
    ASSERT_TRUE(a.EliminaRiga(id["Zanetti"]).ok());
    ASSERT_TRUE(a.AggiungiRiga(prova::RigaDi("Bianchi"), id["Bianchi2"]).ok());
    a.Chiudi();
    ASSERT_TRUE(a.Apri(file).ok());
    EXPECT_FALSE(a.creato());
    EXPECT_EQ(Nomi(a), (std::vector<std::string>{"Bianchi", "Amato", "Bianchi"}));
}

TEST(Archivio, ITestiTornanoComeSonoStatiScritti) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    const std::vector<std::pair<std::string, std::string>> casi{
        {"nome", "D'Alessandro \"Sandro\""},
        {"nome", "Ünal Çelik 李"},
        {"note", "prima riga\nseconda riga\r\n\tterza"},
        {"cavallo", "72,5"},
        {"peso", " 68.40 "},
        {"Email", "a@b.it; DROP TABLE atleta;--"},
        {"sesso", ""},
        {"AttivFis", "1"},
        {"AttivFis", "0"},
    };
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    std::vector<std::int64_t> id;
    for (const auto& [colonna, valore] : casi) {
        Riga r = prova::RigaDi("x");
        r[*archivio::IndiceColonna(colonna)] = valore;
        std::int64_t nuovo = 0;
        ASSERT_TRUE(a.AggiungiRiga(r, nuovo).ok());
        id.push_back(nuovo);
    }
    a.Chiudi();
    ASSERT_TRUE(a.Apri(file).ok());
    for (std::size_t i = 0; i < casi.size(); ++i) {
        SCOPED_TRACE(casi[i].first + " = " + casi[i].second);
        EXPECT_EQ(Leggi(a, id[i])[*archivio::IndiceColonna(casi[i].first)], casi[i].second);
    }
    a.Chiudi();
    // In the file an empty text holds no value, and the yes/no is a number.
    EXPECT_EQ(prova::Sql(file, Chiave, "SELECT count(*) FROM atleta WHERE sesso IS NULL"),
              std::vector<std::string>{std::to_string(casi.size())});
    EXPECT_EQ(prova::Sql(file, Chiave,
                         "SELECT typeof(AttivFis) || AttivFis FROM atleta WHERE rowid = " + std::to_string(id[7])),
              std::vector<std::string>{"integer1"});
}

TEST(Archivio, ScriviCampiCambiaSoloLeColonneDate) {
    CartellaProva cartella(false);
    Archivio a;
    ASSERT_TRUE(a.Apri(cartella.file("tvp.dmg")).ok());
    std::int64_t id = 0, altro = 0;
    ASSERT_TRUE(a.AggiungiRiga(prova::RigaDi("Rossi", {{"peso", "70"}, {"cavallo", "85"}}), id).ok());
    ASSERT_TRUE(a.AggiungiRiga(prova::RigaDi("Verdi", {{"peso", "60"}}), altro).ok());
    ASSERT_TRUE(a.ScriviCampi(id, {{*archivio::IndiceColonna("peso"), "71.5"}, {archivio::ColonnaAttivFis, "1"}}).ok());
    Riga r = Leggi(a, id);
    EXPECT_EQ(r[*archivio::IndiceColonna("peso")], "71.5");
    EXPECT_EQ(r[*archivio::IndiceColonna("cavallo")], "85");
    EXPECT_EQ(r[archivio::ColonnaAttivFis], "1");
    EXPECT_EQ(Leggi(a, altro)[*archivio::IndiceColonna("peso")], "60");
    // A row that is gone is reported, not silently skipped.
    ASSERT_TRUE(a.EliminaRiga(id).ok());
    auto esito = a.ScriviCampi(id, {{*archivio::IndiceColonna("peso"), "72"}});
    ASSERT_FALSE(esito.ok());
    EXPECT_EQ(esito.errore().motivo, Motivo::RigaMancante);
    EXPECT_EQ(Id(a), std::vector<std::int64_t>{altro});
}

TEST(Archivio, UnArchivioDiSolaLetturaSiLeggeMaLaScritturaVieneRifiutata) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi", {{"peso", "70"}})});
    const std::string prima = prova::LeggiByte(file);
    prova::SolaLettura blocco(file);
    if (!blocco.riuscito()) GTEST_SKIP() << "this file system cannot make the file read-only";

    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    EXPECT_TRUE(a.solaLettura());
    EXPECT_EQ(Nomi(a), std::vector<std::string>{"Rossi"});
    auto esito = a.ScriviCampi(Id(a)[0], {{*archivio::IndiceColonna("peso"), "71"}});
    ASSERT_FALSE(esito.ok());
    EXPECT_EQ(esito.errore().motivo, Motivo::SolaLettura);
    std::int64_t id = 0;
    EXPECT_FALSE(a.AggiungiRiga(prova::RigaDi("Verdi"), id).ok());
    EXPECT_FALSE(a.EliminaRiga(Id(a)[0]).ok());
    EXPECT_EQ(Leggi(a, Id(a)[0])[*archivio::IndiceColonna("peso")], "70");
    EXPECT_EQ(prova::LeggiByte(file), prima);
    // Made writable again while open: the next write goes in.
    blocco.Rilascia();
    ASSERT_TRUE(a.ScriviCampi(Id(a)[0], {{*archivio::IndiceColonna("peso"), "71"}}).ok());
    EXPECT_FALSE(a.solaLettura());
    EXPECT_EQ(Leggi(a, Id(a)[0])[*archivio::IndiceColonna("peso")], "71");
}

// A file that becomes read-only while the program has it open: the refused
// write leaves nothing beside it (no journal) that would keep the next start
// from reading it.
TEST(Archivio, UnaScritturaRifiutataNonImpedisceDiRiaprirlo) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi", {{"peso", "70"}})});
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    prova::SolaLettura blocco(file);
    if (!blocco.riuscito()) GTEST_SKIP() << "this file system cannot make the file read-only";
    auto esito = a.ScriviCampi(Id(a)[0], {{*archivio::IndiceColonna("peso"), "71"}});
    ASSERT_FALSE(esito.ok());
    EXPECT_EQ(esito.errore().motivo, Motivo::SolaLettura);
    a.Chiudi();
    EXPECT_EQ(prova::Contenuto(cartella.percorso()), std::vector<std::string>{"tvp.dmg"});
    Archivio b;
    ASSERT_TRUE(b.Apri(file).ok());
    EXPECT_EQ(Leggi(b, Id(b)[0])[*archivio::IndiceColonna("peso")], "70");
}

TEST(Archivio, ADiscoPienoLaScritturaFallisceEIlFileResta) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi", {{"peso", "70"}})});
    const std::string prima = prova::LeggiByte(file);
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    const std::int64_t id = Id(a)[0];

    // No file of this process may grow: the journal cannot be written, as on
    // a full disk.
    rlimit vecchio{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &vecchio), 0);
    auto segnale = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = vecchio;
    limite.rlim_cur = 0;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
    auto esito = a.ScriviCampi(id, {{*archivio::IndiceColonna("note"), std::string(20000, 'n')}});
    ::setrlimit(RLIMIT_FSIZE, &vecchio);
    std::signal(SIGXFSZ, segnale);

    ASSERT_FALSE(esito.ok());
    EXPECT_EQ(esito.errore().motivo, Motivo::DiscoPieno) << esito.errore().dettaglio;
    EXPECT_EQ(Leggi(a, id)[*archivio::IndiceColonna("note")], "");
    a.Chiudi();
    EXPECT_EQ(prova::LeggiByte(file), prima);
    EXPECT_EQ(prova::Sql(file, Chiave, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
}

TEST(Archivio, UnaCartellaInesistenteNonCreaNulla) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("manca") / "tvp.dmg";
    Archivio a;
    auto esito = a.Apri(file);
    ASSERT_FALSE(esito.ok());
    EXPECT_EQ(esito.errore().motivo, Motivo::Inesistente);
    EXPECT_TRUE(prova::Contenuto(cartella.percorso()).empty());
}

TEST(Archivio, UnaCartellaDiSolaLetturaNonPermetteDiCrearloENonLasciaResidui) {
    CartellaProva cartella(false);
    prova::SolaLettura blocco(cartella.percorso());
    if (!blocco.riuscito()) GTEST_SKIP() << "this file system cannot make the folder read-only";
    Archivio a;
    auto esito = a.Apri(cartella.file("tvp.dmg"));
    ASSERT_FALSE(esito.ok());
    EXPECT_TRUE(esito.errore().motivo == Motivo::AccessoNegato || esito.errore().motivo == Motivo::SolaLettura)
        << static_cast<int>(esito.errore().motivo);
    blocco.Rilascia();
    EXPECT_TRUE(prova::Contenuto(cartella.percorso()).empty());
}

// A writer killed at an arbitrary moment: the file passes the integrity check,
// every write it reported is there, and no row or fitting is half old, half
// new, or with another athlete.
TEST(Archivio, UnoScrittoreUccisoNonLasciaRigheAMetaNePerdeScrittureCompiute) {
    // Rounds stop after different numbers of writes, so that the kill falls
    // into a new row as well as into the rewriting of an old one (every third
    // write), and a little later each time.
    const std::array<int, 4> dopo{20, 31, 44, 62};
    for (int giro = 1; giro <= static_cast<int>(dopo.size()); ++giro) {
        SCOPED_TRACE("round " + std::to_string(giro));
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg");
        int tubo[2];
        ASSERT_EQ(::pipe(tubo), 0);
        posix_spawn_file_actions_t azioni;
        posix_spawn_file_actions_init(&azioni);
        posix_spawn_file_actions_adddup2(&azioni, tubo[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&azioni, tubo[0]);
        std::string programma = SCRITTORE_ARCHIVIO, percorso = file.string();
        char* argomenti[] = {programma.data(), percorso.data(), nullptr};
        pid_t figlio = 0;
        ASSERT_EQ(posix_spawn(&figlio, programma.c_str(), &azioni, nullptr, argomenti, environ), 0);
        posix_spawn_file_actions_destroy(&azioni);
        ::close(tubo[1]);

        // Let it complete a number of writes that differs every round, then
        // kill it wherever it is.
        const int bersaglio = dopo[static_cast<std::size_t>(giro - 1)];
        std::map<std::int64_t, int> riportate;
        std::vector<std::pair<std::int64_t, int>> aggiunte;  // rows added with their fitting
        std::string resto;
        int completate = 0;
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (completate < bersaglio && std::chrono::steady_clock::now() < limite) {
            pollfd p{tubo[0], POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0) continue;
            char buf[4096];
            const ssize_t n = ::read(tubo[0], buf, sizeof buf);
            if (n <= 0) break;
            resto.append(buf, static_cast<std::size_t>(n));
            for (std::size_t a; (a = resto.find('\n')) != std::string::npos; resto.erase(0, a + 1)) {
                long long id = 0;
                int g = 0;
                ASSERT_EQ(std::sscanf(resto.substr(0, a).c_str(), "%lld %d", &id, &g), 2);
                riportate[id] = g;
                if (g % 3 != 0) aggiunte.emplace_back(id, g);
                ++completate;
            }
        }
        ::usleep(static_cast<useconds_t>(2000 * (giro - 1)));
        ::kill(figlio, SIGKILL);
        int stato = 0;
        ::waitpid(figlio, &stato, 0);
        ::close(tubo[0]);
        ASSERT_TRUE(WIFSIGNALED(stato)) << "the writer ended on its own";
        ASSERT_GE(completate, bersaglio);

        // The program's own opening finds the interrupted write and undoes it.
        Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        std::vector<std::int64_t> id;
        std::vector<std::string> nomi;
        ASSERT_TRUE(a.ElencaRighe(id, nomi).ok());
        std::map<std::int64_t, int> trovate;
        std::map<std::int64_t, std::vector<int>> assetti;
        for (std::int64_t i : id) {
            Riga r;
            ASSERT_TRUE(a.LeggiRiga(i, r).ok());
            auto g = prova::GenerazioneDi(r);
            ASSERT_TRUE(g.has_value()) << "row " << i << " is half written";
            trovate[i] = *g;
            std::vector<archivio::Assetto> v;
            ASSERT_TRUE(a.LeggiAssetti(i, v).ok());
            for (const auto& x : v) {
                auto gx = prova::GenerazioneDi(x);
                ASSERT_TRUE(gx.has_value()) << "a fitting of row " << i << " is half written";
                assetti[i].push_back(*gx);
            }
        }
        for (const auto& [i, g] : riportate) {
            ASSERT_TRUE(trovate.count(i)) << "row " << i << " reported written, not in the file";
            EXPECT_GE(trovate[i], g) << "row " << i << " lost its write of generation " << g;
        }
        for (const auto& [i, g] : aggiunte)
            EXPECT_EQ(assetti[i], std::vector<int>{g}) << "row " << i << " lost its fitting, or has another's";
        a.Chiudi();
        EXPECT_EQ(prova::Sql(file, Chiave, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    }
}

namespace {

// SQL on a file through a connection set up by the given statements alone.
std::vector<std::string> SqlCon(const fs::path& file, const std::string& impostazioni, const std::string& sql) {
    sqlite3* db = nullptr;
    std::vector<std::string> righe;
    int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, impostazioni.c_str(), nullptr, nullptr, nullptr);
    auto raccogli = [](void* r, int, char** v, char**) {
        static_cast<std::vector<std::string>*>(r)->push_back(v[0] ? v[0] : "");
        return 0;
    };
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), raccogli, &righe, nullptr);
    if (rc != SQLITE_OK) righe = {"ERRORE"};
    sqlite3_close_v2(db);
    return righe;
}

// The library's defaults for every connection opened from now on.
void Predefiniti(int pagina, int iterazioni) {
    SqlCon(":memory:",
           "PRAGMA cipher_default_page_size = " + std::to_string(pagina) +
               "; PRAGMA cipher_default_kdf_iter = " + std::to_string(iterazioni) + ";",
           "SELECT 1");
}

}  // namespace

// One format whatever the library's defaults: with defaults like those of
// another SQLCipher release (4 KB pages, 256,000 iterations), the archive
// and its backup are still written in SQLCipher 3's format, which both
// releases read, and an archive made before still opens.
TEST(Archivio, IlFormatoNonDipendeDaiPredefinitiDellaLibreria) {
    CartellaProva cartella(false);
    const fs::path prima = cartella.file("prima.dmg"), file = cartella.file("tvp.dmg"),
                   copia = cartella.file("copia.dmg");
    prova::CreaArchivio(prima, {prova::RigaDi("Rossi")});
    Predefiniti(4096, 256000);
    struct Ripristina {
        ~Ripristina() { Predefiniti(1024, 64000); }
    } ripristina;
    prova::CreaArchivio(file, {prova::RigaDi("Verdi")});
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    ASSERT_TRUE(a.CopiaIn(copia).ok());
    a.Chiudi();
    const std::string formato3 = "PRAGMA key = '" + Chiave +
                                 "'; PRAGMA cipher_compatibility = 3; PRAGMA cipher_page_size = 1024;"
                                 " PRAGMA kdf_iter = 64000;";
    for (const fs::path& f : {file, copia}) {
        SCOPED_TRACE(f.filename().string());
        EXPECT_EQ(SqlCon(f, formato3, "SELECT nome FROM atleta"), std::vector<std::string>{"Verdi"});
        EXPECT_EQ(SqlCon(f, "PRAGMA key = '" + Chiave + "';", "SELECT nome FROM atleta"),
                  std::vector<std::string>{"ERRORE"});
    }
    ASSERT_TRUE(a.Apri(prima).ok());
    EXPECT_EQ(Nomi(a), std::vector<std::string>{"Rossi"});
}

// Only the program's own archive is opened: an object it does not make
// would change what its writes do (a trigger that empties the table at the
// first edit), or make every write fail. The file is left as it was, and is
// no backup to restore either. The program's own later tables are allowed.
TEST(Archivio, SoloLArchivioDelProgrammaSiApre) {
    std::string colonne, nulli;
    for (std::size_t i = 0; i < archivio::Colonne.size(); ++i) {
        const std::string c(archivio::Colonne[i]);
        colonne += (i ? ", \"" : "\"") + c + (c == "nome" ? "\" TEXT PRIMARY KEY" : "\" TEXT");
        nulli += std::string(i ? ", " : "") + "NULL AS \"" + c + "\"";
    }
    struct Caso {
        const char* nome;
        std::string sql;
        Motivo motivo;
        std::string dettaglio;
    };
    const std::vector<Caso> casi{
        {"a trigger that empties the table",
         "CREATE TRIGGER svuota AFTER UPDATE ON atleta BEGIN DELETE FROM atleta; END", Motivo::OggettoEstraneo,
         "trigger \"svuota\""},
        {"a view beside it", "CREATE VIEW elenco AS SELECT nome FROM atleta", Motivo::OggettoEstraneo,
         "view \"elenco\""},
        {"an index refusing equal names", "CREATE UNIQUE INDEX unico ON atleta(nome)", Motivo::OggettoEstraneo,
         "index \"unico\""},
        {"a table of someone else's", "CREATE TABLE spia(x)", Motivo::OggettoEstraneo, "table \"spia\""},
        {"atleta a view", "DROP TABLE atleta; CREATE VIEW atleta AS SELECT " + nulli, Motivo::TabellaEstranea, "view"},
        {"atleta without row ids", "DROP TABLE atleta; CREATE TABLE atleta(" + colonne + ") WITHOUT ROWID",
         Motivo::TabellaEstranea, "without rowid"},
        {"atleta with a check", "DROP TABLE atleta; CREATE TABLE atleta(" + colonne + ", CHECK(length(nome) < 3))",
         Motivo::TabellaEstranea, "definition"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg");
        prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
        ASSERT_TRUE(prova::Sql(file, Chiave, caso.sql).empty());
        const std::string prima = prova::LeggiByte(file);
        Archivio a;
        const archivio::Esito esito = a.Apri(file);
        ASSERT_FALSE(esito.ok());
        EXPECT_EQ(esito.errore().motivo, caso.motivo);
        EXPECT_EQ(esito.errore().dettaglio, caso.dettaglio);
        EXPECT_FALSE(a.aperto());
        EXPECT_FALSE(a.ApriInLettura(file).ok());
        EXPECT_EQ(prova::LeggiByte(file), prima);
    }
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    prova::Sql(file, Chiave,
               "CREATE TABLE atleta_assetto(id INTEGER PRIMARY KEY AUTOINCREMENT, atleta INTEGER, data TEXT);"
               " CREATE INDEX atleta_assetto_di ON atleta_assetto(atleta); ANALYZE;");
    Archivio a;
    EXPECT_TRUE(a.Apri(file).ok());
    EXPECT_EQ(Nomi(a), std::vector<std::string>{"Rossi"});
}

namespace {

// True where SQLite refuses, as damaged, a schema whose entry contradicts its
// own SQL (a trigger listed as an index): releases since 3.33 (Debian 13),
// not 3.15 (Debian 12's SQLCipher 3).
bool SoloSchemaCoerente() { return sqlite3_libversion_number() >= 3033000; }

}  // namespace

// What SQLite runs is the SQL of each entry of the schema, whatever its name
// or the kind the entry claims to be: a trigger named "sqlite_...", or one
// whose entry says it is an index, is still a trigger. Such a file does not
// open, is no backup to restore, and is left as it was. The program's own
// table written with other spacing, case and quotes is still its own.
TEST(Archivio, LoSchemaSiGiudicaDaCioCheSQLiteEsegue) {
    const std::string svuota = "AFTER UPDATE ON atleta BEGIN DELETE FROM atleta; END";
    std::string altraGrafia = "create   table\n\"atleta\"(";
    for (std::size_t i = 0; i < archivio::Colonne.size(); ++i)
        altraGrafia += std::string(i ? " ,\n  " : "") + std::string(archivio::Colonne[i]) +
                       (archivio::ColonnaSiNo(static_cast<int>(i)) ? " integer not null default 0" : " text");
    altraGrafia += " )";
    // An entry written straight into the schema, as a hostile file would.
    auto voce = [](const std::string& tipo, const std::string& nome, const std::string& di, const std::string& sql) {
        return "PRAGMA writable_schema = ON; INSERT INTO sqlite_master VALUES ('" + tipo + "', '" + nome + "', '" + di +
               "', 0, '" + sql + "'); PRAGMA writable_schema = OFF;";
    };
    struct Caso {
        const char* nome;
        std::string sql;
        std::optional<Motivo> motivo;  // none: it opens
        std::string dettaglio;
        bool incoerente = false;  // the entry contradicts its own SQL
    };
    const std::vector<Caso> casi{
        {"a trigger named as SQLite's own",
         voce("trigger", "sqlite_svuota", "atleta", "CREATE TRIGGER sqlite_svuota " + svuota), Motivo::OggettoEstraneo,
         "trigger \"sqlite_svuota\""},
        {"a trigger whose entry says index",
         voce("index", "atleta_assetti_x", "atleta_assetti", "CREATE TRIGGER atleta_assetti_x " + svuota),
         Motivo::OggettoEstraneo, "trigger \"atleta_assetti_x\"", true},
        {"a trigger whose entry says table", voce("table", "atleta_x", "atleta_x", "CREATE TRIGGER atleta_x " + svuota),
         Motivo::OggettoEstraneo, "trigger \"atleta_x\"", true},
        {"a view named as SQLite's own",
         voce("view", "sqlite_vista", "sqlite_vista", "CREATE VIEW sqlite_vista AS SELECT 1"), Motivo::OggettoEstraneo,
         "view \"sqlite_vista\""},
        {"a view whose entry says index",
         voce("index", "atleta_v", "atleta_assetti", "CREATE VIEW atleta_v AS SELECT 1"), Motivo::OggettoEstraneo,
         "view \"atleta_v\"", true},
        {"an index on atleta said to be on the fittings",
         "CREATE UNIQUE INDEX unico ON atleta(nome); PRAGMA writable_schema = ON; UPDATE sqlite_master SET tbl_name = "
         "'atleta_assetti' WHERE name = 'unico'; PRAGMA writable_schema = OFF;",
         Motivo::OggettoEstraneo, "index \"unico\"", true},
        {"a table named as SQLite's own",
         "CREATE TABLE spia(x); PRAGMA writable_schema = ON; UPDATE sqlite_master SET name = 'sqlite_spia', tbl_name = "
         "'sqlite_spia', sql = 'CREATE TABLE sqlite_spia(x)' WHERE name = 'spia'; PRAGMA writable_schema = OFF;",
         Motivo::OggettoEstraneo, "table \"sqlite_spia\""},
        {"atleta with a unique constraint",
         "DROP TABLE atleta; " + altraGrafia.substr(0, altraGrafia.size() - 1) + ", UNIQUE(nome))",
         Motivo::TabellaEstranea, "definition"},
        {"atleta with a collation",
         "DROP TABLE atleta; " + Sostituisci(altraGrafia, "nome text", "nome text collate nocase"),
         Motivo::TabellaEstranea, "definition"},
        {"atleta with a column more",
         "DROP TABLE atleta; " + Sostituisci(altraGrafia, "note text", "note text, altro text"),
         Motivo::TabellaEstranea, "definition"},
        {"atleta with a number column", "DROP TABLE atleta; " + Sostituisci(altraGrafia, "peso text", "peso real"),
         Motivo::TabellaEstranea, "definition"},
        {"a unique index on the fittings", "CREATE UNIQUE INDEX doppio ON atleta_assetti(atleta)",
         Motivo::IndiceEstraneo, "atleta_assetti.doppio"},
        {"an expression index on the tests", "CREATE INDEX calcolo ON atleta_test(atleta, lower(note))",
         Motivo::IndiceEstraneo, "atleta_test.calcolo"},
        {"a partial index on the tests", "CREATE INDEX parziale ON atleta_test(atleta) WHERE ftp > 0",
         Motivo::IndiceEstraneo, "atleta_test.parziale"},
        {"atleta written otherwise", "DROP TABLE atleta; " + altraGrafia, std::nullopt, ""},
        {"an index of the fittings' own", "CREATE INDEX per_data ON atleta_assetti(atleta, data)", std::nullopt, ""},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg"), archivio = cartella.file("archivio.dmg");
        prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
        prova::CreaArchivio(archivio, {prova::RigaDi("Verdi")});
        ASSERT_EQ(prova::Sql(file, Chiave, caso.sql), std::vector<std::string>{});
        const std::string prima = prova::LeggiByte(file), archivioPrima = prova::LeggiByte(archivio);
        Archivio a;
        const archivio::Esito esito = a.Apri(file);
        a.Chiudi();
        if (!caso.motivo) {
            EXPECT_TRUE(esito.ok()) << esito.errore().dettaglio;
            EXPECT_TRUE(archivio::VerificaCopia(file).ok());
            continue;
        }
        // A later SQLite checks each entry against its SQL when it reads the
        // schema, and finds such a file damaged: refused all the same.
        const auto rifiutato = [&caso](const archivio::Esito& e) {
            EXPECT_FALSE(e.ok());
            if (e.ok() || (caso.incoerente && SoloSchemaCoerente() && e.errore().motivo == Motivo::Danneggiato)) return;
            EXPECT_EQ(e.errore().motivo, *caso.motivo);
            EXPECT_EQ(e.errore().dettaglio, caso.dettaglio);
        };
        rifiutato(esito);
        EXPECT_FALSE(a.ApriInLettura(file).ok());
        fs::path conservato;
        rifiutato(archivio::RipristinaArchivio(archivio, file, "2026-12-09 10.00", conservato));
        EXPECT_TRUE(prova::LeggiByte(file) == prima);
        EXPECT_TRUE(prova::LeggiByte(archivio) == archivioPrima);
        EXPECT_EQ(prova::Contenuto(cartella.percorso()), (std::vector<std::string>{"archivio.dmg", "tvp.dmg"}));
    }
}

// An object put into the archive while it is open, by another program, never
// reaches a backup: the backup is refused, and nothing is left of it.
TEST(Archivio, UnaCopiaNonPortaConSeOggettiEstranei) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), copia = cartella.file("copia.dmg");
    prova::CreaArchivio(file, {prova::RigaDi("Rossi")});
    Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    ASSERT_EQ(prova::Sql(file, Chiave,
                         "PRAGMA writable_schema = ON; INSERT INTO sqlite_master VALUES ('index', 'sqlite_x', "
                         "'atleta_test', 0, 'CREATE TRIGGER sqlite_x AFTER UPDATE ON atleta BEGIN DELETE FROM atleta; "
                         "END'); PRAGMA writable_schema = OFF;"),
              std::vector<std::string>{});
    const archivio::Esito esito = a.CopiaIn(copia);
    ASSERT_FALSE(esito.ok());
    if (!SoloSchemaCoerente() || esito.errore().motivo != Motivo::Danneggiato) {
        EXPECT_EQ(esito.errore().motivo, Motivo::OggettoEstraneo);
        EXPECT_EQ(esito.errore().dettaglio, "trigger \"sqlite_x\"");
    }
    a.Chiudi();
    EXPECT_EQ(prova::Contenuto(cartella.percorso()), std::vector<std::string>{"tvp.dmg"});
}
