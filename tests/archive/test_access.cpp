// The archive of the earlier program, an Access 2000 file: every athlete read
// exactly as stored, added to an archive all or none, the file converted into
// an archive of this program and kept beside it untouched, even when the
// conversion is killed; foreign and damaged files refused with the reason.
#include "ArchivioAccess.h"
#include "CartellaProva.h"
#include "ContenutoAccess.h"
#include "CopiaArchivio.h"
#include "SupportoArchivio.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

extern char** environ;

#ifndef CONVERTITORE_ACCESS
#error "CONVERTITORE_ACCESS must name the helper program"
#endif

namespace {

namespace fs = std::filesystem;
using archivio::EsitoAccess;
using archivio::Riga;
using archivio::RifiutoAccess;

fs::path Fixture(const std::string& nome) { return prova::CartellaAccess() / nome; }

std::vector<Riga> Attesi(const std::string& csv) { return prova::RigheAttese(csv); }

std::vector<Riga> Lette(const fs::path& file, EsitoAccess& esito) {
    std::vector<Riga> righe;
    esito = archivio::LeggiAccess(file, [&](Riga& r) {
        righe.push_back(r);
        return true;
    });
    return righe;
}

// Row by row, column by column, each difference named.
void Confronta(const std::vector<Riga>& trovate, const std::vector<Riga>& attese) {
    for (const std::string& d : prova::Differenze(trovate, attese)) ADD_FAILURE() << d;
}

const char* const Piccoli[] = {"archivio-piccolo.dmg", "archivio-piccolo-pwd.dmg"};

}  // namespace

// The fixture's CSV as this test reads it: twelve athletes, of which the
// shapes the old program stored.
TEST(Access, IlContenutoAttesoHaLeFormeDelProgrammaPrecedente) {
    const auto attese = Attesi("archivio-piccolo.csv");
    ASSERT_EQ(attese.size(), 12u);
    std::size_t omonimi = 0, soloNome = 0, crlf = 0, virgola = 0;
    for (std::size_t i = 0; i < attese.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) omonimi += attese[i][0] == attese[j][0];
        int piene = 0;
        for (int c = 0; c < archivio::NumeroColonne; ++c)
            piene += !attese[i][c].empty() && !(archivio::ColonnaSiNo(c) && attese[i][c] == "0");
        soloNome += piene == 1;
        virgola += attese[i][14].find(',') != std::string::npos;
    }
    std::ifstream in(Fixture("archivio-piccolo.csv"), std::ios::binary);
    std::stringstream testo;
    testo << in.rdbuf();
    crlf = testo.str().find("\\r\\n") != std::string::npos;
    EXPECT_GE(omonimi, 1u);
    EXPECT_EQ(soloNome, 1u);
    EXPECT_EQ(crlf, 1u);
    EXPECT_GE(virgola, 1u);
}

// Every row and every column of both small files, with and without the
// password, exactly as stored.
TEST(Access, OgniRigaEColonnaComeNelFile) {
    const auto attese = Attesi("archivio-piccolo.csv");
    for (const char* nome : Piccoli) {
        SCOPED_TRACE(nome);
        EXPECT_EQ(archivio::RiconosciAccess(Fixture(nome)), archivio::FormatoAccess::Jet4);
        EsitoAccess esito;
        const auto righe = Lette(Fixture(nome), esito);
        ASSERT_TRUE(esito.ok()) << static_cast<int>(esito.rifiuto) << " " << esito.dettaglio;
        Confronta(righe, attese);
    }
}

TEST(Access, LAnteprimaContaGliAtletiEDiceIPrimiNomi) {
    archivio::AnteprimaAccess anteprima;
    ASSERT_TRUE(archivio::LeggiAnteprimaAccess(Fixture("archivio-piccolo.dmg"), anteprima).ok());
    const auto attese = Attesi("archivio-piccolo.csv");
    EXPECT_EQ(anteprima.atleti, attese.size());
    ASSERT_EQ(anteprima.primi.size(), archivio::NomiAnteprima);
    for (std::size_t i = 0; i < archivio::NomiAnteprima; ++i) EXPECT_EQ(anteprima.primi[i], attese[i][0]);
}

TEST(Access, IlGrandeArchivioSiLeggeTutto) {
    EsitoAccess esito;
    std::size_t n = 0;
    esito = archivio::LeggiAccess(Fixture("archivio-grande-pwd.dmg"), [&](Riga&) { return ++n, true; });
    ASSERT_TRUE(esito.ok()) << esito.dettaglio;
    EXPECT_EQ(n, 5000u);
}

// Added to an archive that has athletes already: after them, in the old
// file's order, and the old file not changed by a byte.
TEST(Access, LImportazioneAggiungeTuttiInCoda) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    const Riga gia = prova::RigaDi("Già qui");
    prova::CreaArchivio(file, {gia});
    const auto attese = Attesi("archivio-piccolo.csv");
    for (const char* nome : Piccoli) {
        SCOPED_TRACE(nome);
        const std::string prima = prova::LeggiByte(Fixture(nome));
        archivio::Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        archivio::RiepilogoAccess fatto;
        ASSERT_TRUE(archivio::ImportaAccess(a, Fixture(nome), fatto).ok());
        EXPECT_TRUE(fatto.lettura.ok());
        EXPECT_TRUE(fatto.scritto);
        EXPECT_EQ(fatto.aggiunti, attese.size());
        a.Chiudi();
        auto righe = prova::RigheNelFile(file);
        ASSERT_EQ(righe.size(), 1 + attese.size());
        EXPECT_EQ(righe.front(), gia);
        Confronta(std::vector<Riga>(righe.begin() + 1, righe.end()), attese);
        EXPECT_EQ(prova::LeggiByte(Fixture(nome)), prima);

        // Imported again, every athlete is there already: nothing is added.
        ASSERT_TRUE(a.Apri(file).ok());
        archivio::AnteprimaAccess anteprima;
        ASSERT_TRUE(archivio::LeggiAnteprimaAccess(Fixture(nome), anteprima, &a).ok());
        EXPECT_EQ(anteprima.atleti, attese.size());
        EXPECT_EQ(anteprima.giaPresenti, attese.size());
        ASSERT_TRUE(archivio::ImportaAccess(a, Fixture(nome), fatto).ok());
        EXPECT_FALSE(fatto.scritto);
        EXPECT_EQ(fatto.aggiunti, 0u);
        EXPECT_EQ(fatto.giaPresenti, attese.size());
        a.Chiudi();
        EXPECT_EQ(prova::RigheNelFile(file).size(), 1 + attese.size());
        fs::remove(file);
        prova::CreaArchivio(file, {gia});
    }
}

// An athlete the archive holds stands for one athlete of the file, not for
// every equal one: the file's equal athletes beyond it are added.
TEST(Access, UnAtletaGiaPresenteValeUnoSolo) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    const auto attese = Attesi("archivio-piccolo.csv");
    prova::CreaArchivio(file, {attese[2]});
    archivio::Archivio a;
    ASSERT_TRUE(a.Apri(file).ok());
    archivio::RiepilogoAccess fatto;
    ASSERT_TRUE(archivio::ImportaAccess(a, Fixture("archivio-piccolo.dmg"), fatto).ok());
    EXPECT_EQ(fatto.giaPresenti, 1u);
    EXPECT_EQ(fatto.aggiunti, attese.size() - 1);
    a.Chiudi();
    auto atteseDopo = attese;
    atteseDopo.erase(atteseDopo.begin() + 2);
    atteseDopo.insert(atteseDopo.begin(), attese[2]);
    Confronta(prova::RigheNelFile(file), atteseDopo);
}

// The conversion: "tvp.dmg" becomes an archive of this program with every
// athlete, the old file kept beside it byte for byte, nothing else left.
TEST(Access, LaConversioneTieneIlVecchioFileAccanto) {
    const auto attese = Attesi("archivio-piccolo.csv");
    for (const char* nome : Piccoli) {
        SCOPED_TRACE(nome);
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg");
        const std::string vecchio = prova::LeggiByte(Fixture(nome));
        prova::ScriviByte(file, vecchio);
        fs::path conservato;
        archivio::RiepilogoAccess fatto;
        ASSERT_TRUE(archivio::ConvertiAccess(file, "2026-12-10", conservato, fatto).ok());
        ASSERT_TRUE(fatto.lettura.ok());
        EXPECT_EQ(fatto.aggiunti, attese.size());
        EXPECT_EQ(conservato, cartella.file("tvp.dmg.access-2026-12-10"));
        EXPECT_EQ(prova::LeggiByte(conservato), vecchio);
        Confronta(prova::RigheNelFile(file), attese);
        EXPECT_EQ(prova::Contenuto(cartella.percorso()),
                  (std::vector<std::string>{"tvp.dmg", "tvp.dmg.access-2026-12-10"}));
        EXPECT_TRUE(archivio::VerificaCopia(file).ok());

        // A second conversion the same day (of another old file) does not
        // take the name of the first one kept.
        prova::ScriviByte(file, vecchio);
        ASSERT_TRUE(archivio::ConvertiAccess(file, "2026-12-10", conservato, fatto).ok());
        EXPECT_EQ(conservato, cartella.file("tvp.dmg.access-2026-12-10 (2)"));
        EXPECT_EQ(prova::LeggiByte(cartella.file("tvp.dmg.access-2026-12-10")), vecchio);
    }
}

// What is not the earlier program's archive, or not whole, is refused with
// the reason, and nothing is written anywhere.
TEST(Access, IFileEstraneiODanneggiatiSonoRifiutati) {
    const auto casi = prova::FileAccessRifiutati();
    ASSERT_FALSE(casi.empty());
    for (const prova::FileRifiutato& c : casi) {
        SCOPED_TRACE(c.cosa);
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg");
        prova::ScriviByte(file, c.byte);
        EsitoAccess esito;
        Lette(file, esito);
        if (c.qualunqueRifiuto)
            EXPECT_FALSE(esito.ok());
        else
            EXPECT_EQ(esito.rifiuto, c.rifiuto) << esito.dettaglio;
        if (!c.dettaglio.empty()) {
            EXPECT_EQ(esito.dettaglio, c.dettaglio);
        }

        // Neither converted nor imported: the file as it was, nothing beside it.
        fs::path conservato;
        archivio::RiepilogoAccess fatto;
        ASSERT_TRUE(archivio::ConvertiAccess(file, "2026-12-10", conservato, fatto).ok());
        EXPECT_EQ(fatto.lettura.rifiuto, esito.rifiuto);
        EXPECT_FALSE(fatto.scritto);
        EXPECT_TRUE(conservato.empty());
        EXPECT_EQ(prova::LeggiByte(file), c.byte);
        EXPECT_EQ(prova::Contenuto(cartella.percorso()), std::vector<std::string>{"tvp.dmg"});

        const fs::path nuovo = cartella.file("nuovo.dmg");
        prova::CreaArchivio(nuovo, {prova::RigaDi("Rossi")});
        archivio::Archivio a;
        ASSERT_TRUE(a.Apri(nuovo).ok());
        ASSERT_TRUE(archivio::ImportaAccess(a, file, fatto).ok());
        EXPECT_EQ(fatto.lettura.rifiuto, esito.rifiuto);
        EXPECT_FALSE(fatto.scritto);
        EXPECT_EQ(fatto.aggiunti, 0u);
        a.Chiudi();
        EXPECT_EQ(prova::RigheNelFile(nuovo).size(), 1u);
        fs::remove(nuovo);
    }
}

// A conversion killed at any moment leaves "tvp.dmg" either the old file,
// byte for byte, or the complete new archive, with the old file kept.
TEST(Access, UnaConversioneUccisaNonLasciaUnArchivioAMeta) {
    const std::string vecchio = prova::LeggiByte(Fixture("archivio-grande-pwd.dmg"));
    auto avvia = [](const fs::path& file) {
        std::string programma = CONVERTITORE_ACCESS, percorso = file.string();
        char* argomenti[] = {programma.data(), percorso.data(), nullptr};
        pid_t figlio = 0;
        EXPECT_EQ(posix_spawn(&figlio, programma.c_str(), nullptr, nullptr, argomenti, environ), 0);
        return figlio;
    };
    // How long a whole conversion takes here, to spread the kills over it.
    std::chrono::microseconds durata{};
    {
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg");
        prova::ScriviByte(file, vecchio);
        const auto inizio = std::chrono::steady_clock::now();
        const pid_t figlio = avvia(file);
        int stato = 0;
        ::waitpid(figlio, &stato, 0);
        durata = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - inizio);
        ASSERT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0);
        EXPECT_EQ(prova::RigheNelFile(file).size(), 5000u);
    }
    int convertiti = 0, interrotti = 0;
    for (int passo = 0; passo <= 10; ++passo) {
        SCOPED_TRACE("kill at " + std::to_string(passo) + "/10");
        CartellaProva cartella(false);
        const fs::path file = cartella.file("tvp.dmg");
        prova::ScriviByte(file, vecchio);
        const pid_t figlio = avvia(file);
        ::usleep(static_cast<useconds_t>(durata.count() * passo / 10));
        ::kill(figlio, SIGKILL);
        int stato = 0;
        ::waitpid(figlio, &stato, 0);
        const fs::path conservato = cartella.file("tvp.dmg.access-2026-12-10");
        if (prova::LeggiByte(file) == vecchio) {
            ++interrotti;
            EXPECT_FALSE(fs::exists(conservato) && prova::LeggiByte(conservato) != vecchio);
        } else {
            ++convertiti;
            EXPECT_EQ(prova::RigheNelFile(file).size(), 5000u);
            EXPECT_TRUE(archivio::VerificaCopia(file).ok());
            EXPECT_EQ(prova::LeggiByte(conservato), vecchio);
        }
    }
    EXPECT_GT(interrotti, 0);
}

// A folder that takes no new file: the conversion fails with the system's
// reason, the old file stays as it was, and nothing is left beside it.
TEST(Access, InUnaCartellaDiSolaLetturaLaConversioneNonCambiaNulla) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    const std::string vecchio = prova::LeggiByte(Fixture("archivio-piccolo.dmg"));
    prova::ScriviByte(file, vecchio);
    prova::SolaLettura blocco(cartella.percorso());
    if (!blocco.riuscito()) GTEST_SKIP() << "this file system cannot make the folder read-only";
    fs::path conservato;
    archivio::RiepilogoAccess fatto;
    const archivio::Esito esito = archivio::ConvertiAccess(file, "2026-12-10", conservato, fatto);
    ASSERT_FALSE(esito.ok());
    EXPECT_NE(esito.errore().errnoSistema, 0);
    EXPECT_FALSE(fatto.scritto);
    EXPECT_TRUE(conservato.empty());
    blocco.Rilascia();
    EXPECT_EQ(prova::LeggiByte(file), vecchio);
    EXPECT_EQ(prova::Contenuto(cartella.percorso()), std::vector<std::string>{"tvp.dmg"});
}
