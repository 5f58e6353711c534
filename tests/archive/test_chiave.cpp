// The coach's passphrase: the archive locked, opened with the right one and
// refused with any other, changed and removed with every row intact, a change
// killed halfway, backups under the archive's key, nothing of the passphrase
// or the key left in any file, and the file a passphrase is read from.
#include "Archivio.h"
#include "CartellaProva.h"
#include "ChiavePersonale.h"
#include "CopiaArchivio.h"
#include "Segreto.h"
#include "SupportoArchivio.h"

#include <gtest/gtest.h>

#include <openssl/evp.h>
#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#ifndef CAMBIA_CHIAVE
#error "CAMBIA_CHIAVE must name the helper program"
#endif

extern char** environ;

namespace fs = std::filesystem;
using archivio::Archivio;
using archivio::Chiave;
using archivio::Motivo;
using sistema::Segreto;

namespace {

// What an archive holds: every athlete, and each one's fittings and tests.
struct Contenuto {
    std::vector<archivio::Riga> righe;
    std::vector<std::vector<archivio::Assetto>> assetti;
    std::vector<std::vector<archivio::TestAtleta>> test;
    friend bool operator==(const Contenuto&, const Contenuto&) = default;
};

Contenuto Leggi(const Archivio& a) {
    Contenuto c;
    std::vector<std::int64_t> id;
    std::vector<std::string> nomi;
    EXPECT_TRUE(a.ElencaRighe(id, nomi).ok());
    EXPECT_TRUE(a.LeggiTutte(c.righe).ok());
    for (std::int64_t i : id) {
        c.assetti.emplace_back();
        c.test.emplace_back();
        EXPECT_TRUE(a.LeggiAssetti(i, c.assetti.back()).ok());
        EXPECT_TRUE(a.LeggiTest(i, c.test.back()).ok());
    }
    return c;
}

// An archive of `n` athletes, added in one go; a fitting for each of the
// first twenty and every other one of them a test.
Contenuto CreaArchivioPieno(const fs::path& file, int n) {
    Archivio a;
    EXPECT_TRUE(a.Apri(file).ok());
    std::vector<archivio::Riga> righe;
    for (int g = 1; g <= n; ++g) righe.push_back(prova::RigaGenerazione(g));
    EXPECT_TRUE(a.AggiungiRighe(righe).ok());
    std::vector<std::int64_t> id;
    std::vector<std::string> nomi;
    EXPECT_TRUE(a.ElencaRighe(id, nomi).ok());
    for (int g = 1; g <= std::min(n, 20); ++g) {
        const std::int64_t atleta = id[static_cast<std::size_t>(g - 1)];
        std::int64_t altro = 0;
        EXPECT_TRUE(a.RegistraAssetto(prova::AssettoGenerazione(g, atleta), altro).ok());
        if (g % 2) {
            archivio::TestAtleta t;
            t.atleta = atleta;
            t.data = "2026-03-0" + std::to_string(1 + g % 9);
            t.fcmax = std::to_string(170 + g % 20);
            t.ftp = std::to_string(200 + g);
            EXPECT_TRUE(a.RegistraTest(t, altro).ok());
        }
    }
    return Leggi(a);
}

Chiave ChiaveDi(const fs::path& file, std::string_view frase) {
    archivio::Errore errore;
    const auto sale = archivio::SaleDelFile(file, errore);
    EXPECT_TRUE(sale.has_value()) << errore.dettaglio;
    return Chiave::Deriva(Segreto(frase), sale.value_or(archivio::Sale{}));
}

// The key an empty passphrase stands for in the tables: the program's fixed
// one.
Chiave ChiaveOFissa(const fs::path& file, std::string_view frase) {
    return frase.empty() ? Chiave() : ChiaveDi(file, frase);
}

std::string Esadecimale(const unsigned char* p, std::size_t n) {
    static constexpr char Cifre[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += {Cifre[p[i] >> 4], Cifre[p[i] & 15]};
    return s;
}

// The raw key of a passphrase, derived here on its own: PBKDF2-HMAC-SHA512,
// 400,000 rounds, the file's first 16 bytes as the salt, 32 bytes.
std::array<unsigned char, 32> ChiaveGrezza(const fs::path& file, const std::string& frase) {
    const std::string byte = prova::LeggiByte(file);
    std::array<unsigned char, 32> chiave{};
    PKCS5_PBKDF2_HMAC(frase.data(), static_cast<int>(frase.size()), reinterpret_cast<const unsigned char*>(byte.data()),
                      16, 400000, EVP_sha512(), 32, chiave.data());
    return chiave;
}

// What an outsider gets from the file with SQLCipher alone and the given key
// text: the number of athletes, or the error.
std::string ContaDaFuori(const fs::path& file, const std::string& chiave, bool formatoDellArchivio) {
    sqlite3* db = nullptr;
    std::string risposta;
    int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_key(db, chiave.data(), static_cast<int>(chiave.size()));
    if (rc == SQLITE_OK && formatoDellArchivio)
        rc = sqlite3_exec(db, archivio::SqlFormatoCifratura().c_str(), nullptr, nullptr, nullptr);
    auto prendi = [](void* r, int, char** v, char**) {
        *static_cast<std::string*>(r) = v[0] ? v[0] : "";
        return 0;
    };
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "SELECT count(*) FROM atleta", prendi, &risposta, nullptr);
    if (rc != SQLITE_OK) risposta = "ERRORE";
    sqlite3_close_v2(db);
    return risposta;
}

std::string ContaConLaPassphrase(const fs::path& file, const std::string& frase) {
    const auto chiave = ChiaveGrezza(file, frase);
    const std::string byte = prova::LeggiByte(file);
    const std::string testo = "x'" + Esadecimale(chiave.data(), chiave.size()) +
                              Esadecimale(reinterpret_cast<const unsigned char*>(byte.data()), 16) + "'";
    return ContaDaFuori(file, testo, true);
}

}  // namespace

TEST(Passphrase, ImpostataCambiataTolta) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    const Contenuto prima = CreaArchivioPieno(file, 12);
    ASSERT_EQ(prima.righe.size(), 12u);
    EXPECT_FALSE(archivio::HaPassphrase(file));

    struct Passo {
        const char* nome;
        std::optional<std::string> nuova;    // nothing: removed
        std::vector<std::string> rifiutate;  // "": the fixed key
    };
    // clang-format off
    const Passo passi[] = {
        {"set", "cavallo alto 85", {"", "cavallo alto 8", "Cavallo alto 85", "cavallo alto 85 "}},
        {"changed", "sella 27,5 è giusta", {"", "cavallo alto 85"}},
        {"removed", std::nullopt, {"sella 27,5 è giusta", "cavallo alto 85"}},
    };
    // clang-format on
    Chiave attuale;
    std::string saleDiPrima = prova::LeggiByte(file).substr(0, 16);
    for (const Passo& p : passi) {
        SCOPED_TRACE(p.nome);
        const Segreto nuova(p.nuova.value_or(""));
        const auto e = archivio::CambiaPassphrase(file, attuale, p.nuova ? &nuova : nullptr);
        ASSERT_TRUE(e.ok()) << e.errore().dettaglio;
        attuale = ChiaveOFissa(file, p.nuova.value_or(""));
        EXPECT_EQ(archivio::HaPassphrase(file), p.nuova.has_value());
        // The right key opens it, every row there.
        Archivio a;
        ASSERT_TRUE(a.Apri(file, attuale).ok());
        EXPECT_EQ(a.protetto(), p.nuova.has_value());
        EXPECT_TRUE(Leggi(a) == prima);
        a.Chiudi();
        // Every other is refused, and says why.
        for (const std::string& altra : p.rifiutate) {
            SCOPED_TRACE(altra);
            const auto rifiuto = a.Apri(file, ChiaveOFissa(file, altra));
            ASSERT_FALSE(rifiuto.ok());
            EXPECT_EQ(rifiuto.errore().motivo, altra.empty() ? Motivo::PassphraseRichiesta : Motivo::PassphraseErrata);
        }
        // The key is the passphrase's as derived anywhere, and a new salt each
        // time.
        if (p.nuova) {
            EXPECT_EQ(ContaConLaPassphrase(file, *p.nuova), "12");
        }
        const std::string sale = prova::LeggiByte(file).substr(0, 16);
        EXPECT_NE(sale, saleDiPrima);
        saleDiPrima = sale;
        // Owner-only, and nothing left beside it.
        EXPECT_EQ(fs::status(file).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
        EXPECT_EQ(prova::Contenuto(cartella.percorso()), std::vector<std::string>{"tvp.dmg"});
    }
}

TEST(Passphrase, UnaPassphraseVuotaOTroppoLungaNonSiImposta) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    CreaArchivioPieno(file, 2);
    const std::string prima = prova::LeggiByte(file);
    for (const Segreto& frase : {Segreto(""), Segreto(std::string(Segreto::Capienza + 1, 'x'))}) {
        EXPECT_FALSE(archivio::CambiaPassphrase(file, Chiave(), &frase).ok());
        EXPECT_EQ(prova::LeggiByte(file), prima);
        EXPECT_FALSE(archivio::HaPassphrase(file));
    }
}

// An archive reached through a link: the file it leads to is rewritten, the
// link kept, nothing left under the old key.
TEST(Passphrase, AttraversoUnLinkSiCambiaIlFileVero) {
    CartellaProva cartella(false);
    fs::create_directory(cartella.file("dati"));
    const fs::path vero = cartella.file("dati") / "tvp.dmg", link = cartella.file("tvp.dmg");
    const Contenuto prima = CreaArchivioPieno(vero, 2);
    fs::create_symlink(vero, link);
    const Segreto frase("dietro il link");
    ASSERT_TRUE(archivio::CambiaPassphrase(link, Chiave(), &frase).ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(archivio::HaPassphrase(vero));
    EXPECT_EQ(prova::Contenuto(cartella.file("dati")), std::vector<std::string>{"tvp.dmg"});
    Archivio a;
    ASSERT_TRUE(a.Apri(link).ok());
    EXPECT_TRUE(Leggi(a) == prima);
}

TEST(Passphrase, SbloccataUnaVoltaOgniConnessioneLaUsa) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    const Contenuto prima = CreaArchivioPieno(file, 3);
    const Segreto frase("pedalare in salita");
    ASSERT_TRUE(archivio::CambiaPassphrase(file, Chiave(), &frase).ok());
    archivio::DimenticaChiavi();

    Archivio a;
    auto e = a.Apri(file);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::PassphraseRichiesta);
    e = archivio::Sblocca(file, Segreto("pedalare in discesa"));
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::PassphraseErrata);
    EXPECT_FALSE(archivio::ChiaveRicordata(file).has_value());
    EXPECT_FALSE(a.Apri(file).ok());

    ASSERT_TRUE(archivio::Sblocca(file, frase).ok());
    // Every later connection, by any spelling of the path, without deriving.
    for (const fs::path& nome : {file, cartella.percorso() / "." / "tvp.dmg"}) {
        Archivio b;
        ASSERT_TRUE(b.Apri(nome).ok()) << nome;
        EXPECT_TRUE(b.protetto());
        EXPECT_TRUE(Leggi(b) == prima);
    }
    {
        Archivio b;
        ASSERT_TRUE(b.Apri(file).ok());
        std::int64_t id = 0;
        EXPECT_TRUE(b.AggiungiRiga(prova::RigaDi("Nuovo"), id).ok());  // and written
    }
    // Locked again: asked again.
    archivio::DimenticaChiave(file);
    e = a.Apri(file);
    ASSERT_FALSE(e.ok());
    EXPECT_EQ(e.errore().motivo, Motivo::PassphraseRichiesta);

    // A key remembered for a file whose passphrase was removed meanwhile: the
    // fixed key opens it, and the key is forgotten.
    ASSERT_TRUE(archivio::Sblocca(file, frase).ok());
    Archivio c;
    ASSERT_TRUE(c.Apri(file).ok());
    const Chiave tenuta = c.chiave();
    c.Chiudi();
    ASSERT_TRUE(archivio::CambiaPassphrase(file, tenuta, nullptr).ok());
    archivio::RicordaChiave(file, tenuta);
    ASSERT_TRUE(c.Apri(file).ok());
    EXPECT_FALSE(c.protetto());
    EXPECT_FALSE(archivio::ChiaveRicordata(file).has_value());
}

TEST(Passphrase, LaChiaveFissaNonLeggeNeLArchivioNeLaCopia) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), copia = cartella.file("copia.dmg");
    const fs::path copiaLibera = cartella.file("libera.dmg");
    CreaArchivioPieno(file, 4);
    {
        Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        ASSERT_TRUE(a.CopiaIn(copiaLibera).ok());
    }
    const std::string fissa(archivio::ChiaveArchivio);
    // Without a passphrase the fixed key reads both, as it always did.
    EXPECT_EQ(ContaDaFuori(file, fissa, true), "4");
    EXPECT_EQ(ContaDaFuori(copiaLibera, fissa, true), "4");

    const Segreto frase("la bici del nonno");
    ASSERT_TRUE(archivio::CambiaPassphrase(file, Chiave(), &frase).ok());
    {
        Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());  // remembered by the change
        ASSERT_TRUE(a.CopiaIn(copia).ok());
    }
    for (const fs::path& f : {file, copia}) {
        SCOPED_TRACE(f.filename().string());
        // The program's settings, and SQLCipher's own.
        EXPECT_EQ(ContaDaFuori(f, fissa, true), "ERRORE");
        EXPECT_EQ(ContaDaFuori(f, fissa, false), "ERRORE");
        EXPECT_EQ(ContaDaFuori(f, "", false), "ERRORE");
        EXPECT_EQ(ContaConLaPassphrase(f, "la bici del nonno"), "4");
        EXPECT_EQ(ContaConLaPassphrase(f, "la bici del nonn"), "ERRORE");
    }
}

TEST(Passphrase, UnaCopiaProtettaSiRipristinaConLaSuaPassphrase) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg"), copia = cartella.file("copia.dmg");
    const fs::path altro = cartella.file("altro.dmg");
    const Contenuto prima = CreaArchivioPieno(file, 5);
    CreaArchivioPieno(altro, 2);
    const Segreto frase("copia sicura");
    ASSERT_TRUE(archivio::CambiaPassphrase(file, Chiave(), &frase).ok());
    {
        Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        std::int64_t righe = 0;
        ASSERT_TRUE(a.CopiaIn(copia, &righe).ok());
        EXPECT_EQ(righe, 5);
    }
    archivio::DimenticaChiavi();

    // The coach's answers in turn; nothing more: gives up.
    struct Caso {
        const char* nome;
        std::vector<std::string> risposte;
        std::optional<Motivo> rifiuto;
        std::vector<bool> errate;  // what each question was told
    };
    // clang-format off
    const Caso casi[] = {
        {"no one to ask", {}, Motivo::PassphraseRichiesta, {}},
        {"gives up", {}, Motivo::PassphraseRichiesta, {false}},
        {"right at once", {"copia sicura"}, std::nullopt, {false}},
        {"wrong, then right", {"copia sicur", "Copia sicura", "copia sicura"}, std::nullopt, {false, true, true}},
        {"wrong, then gives up", {"sicura"}, Motivo::PassphraseRichiesta, {false, true}},
    };
    // clang-format on
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::vector<bool> errate;
        std::size_t i = 0;
        archivio::ChiediPassphrase chiedi;
        if (std::string_view(c.nome) != "no one to ask")
            chiedi = [&](const fs::path& f, bool errata, Segreto& risposta) {
                EXPECT_EQ(f, copia);
                errate.push_back(errata);
                if (i >= c.risposte.size()) return false;
                risposta = Segreto(c.risposte[i++]);
                return true;
            };
        Chiave chiave;
        const auto e = archivio::VerificaCopia(copia, chiedi, &chiave);
        ASSERT_EQ(e.ok(), !c.rifiuto);
        if (c.rifiuto) {
            EXPECT_EQ(e.errore().motivo, *c.rifiuto);
        } else {
            EXPECT_TRUE(chiave.personale());
        }
        EXPECT_EQ(errate, c.errate);
    }

    // Restored over another archive: asked for, then that archive opens with
    // the backup's key, its rows the backup's.
    fs::path conservato;
    int domande = 0;
    const auto e = archivio::RipristinaArchivio(altro, copia, "2026-12-11 09.00", conservato,
                                                [&](const fs::path&, bool, Segreto& risposta) {
                                                    ++domande;
                                                    risposta = Segreto("copia sicura");
                                                    return true;
                                                });
    ASSERT_TRUE(e.ok()) << e.errore().dettaglio;
    EXPECT_EQ(domande, 1);
    Archivio a;
    ASSERT_TRUE(a.Apri(altro).ok());
    EXPECT_TRUE(a.protetto());
    EXPECT_TRUE(Leggi(a) == prima);
    // The archive it replaced is kept, under its own key (the fixed one).
    EXPECT_FALSE(archivio::HaPassphrase(conservato));
}

TEST(Passphrase, NessunFileContieneLaPassphraseOLaChiave) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    CreaArchivioPieno(file, 3);
    const std::vector<std::string> frasi{"Zanzara Ciclamino 1987", "Yeti Ornitorinco 2044"};
    Chiave attuale;
    std::vector<std::string> cercati;
    for (const std::string& f : frasi) {
        const Segreto s(f);
        ASSERT_TRUE(archivio::CambiaPassphrase(file, attuale, &s).ok());
        attuale = ChiaveDi(file, f);
        Archivio a;
        ASSERT_TRUE(a.Apri(file).ok());
        ASSERT_TRUE(a.CopiaIn(cartella.file("copia " + f.substr(0, 4) + ".dmg")).ok());
        const auto grezza = ChiaveGrezza(file, f);
        const std::string esa = Esadecimale(grezza.data(), grezza.size());
        std::string minuscole = esa;
        for (char& c : minuscole) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        cercati.insert(cercati.end(),
                       {f, esa, minuscole, std::string(reinterpret_cast<const char*>(grezza.data()), grezza.size())});
    }
    std::size_t letti = 0;
    for (const auto& voce : fs::recursive_directory_iterator(cartella.percorso())) {
        if (!voce.is_regular_file()) continue;
        const std::string byte = prova::LeggiByte(voce.path());
        ++letti;
        for (const std::string& c : cercati) EXPECT_EQ(byte.find(c), std::string::npos) << voce.path();
    }
    EXPECT_EQ(letti, 3u);  // the archive and its two backups
}

// A change of the passphrase killed at any moment: the archive opens under
// one of the two passphrases, every row there.
TEST(Passphrase, UnCambioUccisoLasciaLArchivioInteroSottoUnaDelleDueChiavi) {
    CartellaProva cartella(false);
    const fs::path file = cartella.file("tvp.dmg");
    // Large enough that copying it takes a while beside the derivation.
    const Contenuto prima = CreaArchivioPieno(file, 1500);
    const std::array<std::string, 2> frasi{"prima chiave", "seconda chiave"};
    const Segreto primaFrase(frasi[0]);
    ASSERT_TRUE(archivio::CambiaPassphrase(file, Chiave(), &primaFrase).ok());

    // Killed after a number of changes and a delay that grow each round.
    const std::array<int, 6> ritardiMs{0, 40, 110, 190, 280, 380};
    int ultima = 0;  // the passphrase that opened it after the last round
    for (std::size_t giro = 0; giro < ritardiMs.size(); ++giro) {
        SCOPED_TRACE("round " + std::to_string(giro));
        int tubo[2];
        ASSERT_EQ(::pipe(tubo), 0);
        posix_spawn_file_actions_t azioni;
        posix_spawn_file_actions_init(&azioni);
        posix_spawn_file_actions_adddup2(&azioni, tubo[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&azioni, tubo[0]);
        std::string programma = CAMBIA_CHIAVE, percorso = file.string();
        std::string ora = frasi[static_cast<std::size_t>(ultima)], altra = frasi[static_cast<std::size_t>(1 - ultima)];
        char* argomenti[] = {programma.data(), percorso.data(), ora.data(), altra.data(), nullptr};
        pid_t figlio = 0;
        ASSERT_EQ(posix_spawn(&figlio, programma.c_str(), &azioni, nullptr, argomenti, environ), 0);
        posix_spawn_file_actions_destroy(&azioni);
        ::close(tubo[1]);
        // Let it complete `giro % 3` changes, then wait the round's delay.
        std::size_t cambi = 0;
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (cambi < giro % 3 && std::chrono::steady_clock::now() < limite) {
            pollfd p{tubo[0], POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0) continue;
            char buf[64];
            const ssize_t n = ::read(tubo[0], buf, sizeof buf);
            if (n <= 0) break;
            cambi += static_cast<std::size_t>(std::count(buf, buf + n, '\n'));
        }
        ::usleep(static_cast<useconds_t>(1000 * ritardiMs[giro]));
        ::kill(figlio, SIGKILL);
        int stato = 0;
        ::waitpid(figlio, &stato, 0);
        ::close(tubo[0]);
        ASSERT_TRUE(WIFSIGNALED(stato)) << "the change ended on its own";

        // Whole, under one of the two.
        std::optional<int> apre;
        for (int k = 0; k < 2 && !apre; ++k) {
            Archivio a;
            if (a.Apri(file, ChiaveDi(file, frasi[static_cast<std::size_t>(k)])).ok()) {
                apre = k;
                EXPECT_TRUE(a.Verifica().ok());
                EXPECT_TRUE(Leggi(a) == prima);
            }
        }
        ASSERT_TRUE(apre.has_value()) << "opens under neither passphrase";
        ultima = *apre;
        // What a killed run leaves beside it is only its temporary files,
        // which the next start removes.
        EXPECT_EQ(sistema::RimuoviProvvisoriAbbandonati({cartella.percorso()}) <= 1, true);
        EXPECT_EQ(prova::Contenuto(cartella.percorso()), std::vector<std::string>{"tvp.dmg"});
    }
}

TEST(FileSegreto, SoloUnFileDelProprietarioSenzaLaRigaFinale) {
    CartellaProva cartella(false);
    using sistema::RifiutoFileSegreto;
    struct Caso {
        const char* nome;
        std::string contenuto;
        fs::perms permessi;
        RifiutoFileSegreto rifiuto;
        std::string letto;
    };
    const auto p600 = fs::perms::owner_read | fs::perms::owner_write;
    const std::string lunga(Segreto::Capienza, 'x');
    // clang-format off
    const Caso casi[] = {
        {"plain", "frase segreta", p600, RifiutoFileSegreto::Nessuno, "frase segreta"},
        {"newline", "frase segreta\n", p600, RifiutoFileSegreto::Nessuno, "frase segreta"},
        {"CR LF", "frase segreta\r\n", p600, RifiutoFileSegreto::Nessuno, "frase segreta"},
        {"one newline only", "frase \n\n", p600, RifiutoFileSegreto::Nessuno, "frase \n"},
        {"blanks kept", " frase ", p600, RifiutoFileSegreto::Nessuno, " frase "},
        {"owner read only", "frase", fs::perms::owner_read, RifiutoFileSegreto::Nessuno, "frase"},
        {"group may read", "frase", p600 | fs::perms::group_read, RifiutoFileSegreto::LeggibileDaAltri, ""},
        {"others may read", "frase", p600 | fs::perms::others_read, RifiutoFileSegreto::LeggibileDaAltri, ""},
        {"group may write", "frase", p600 | fs::perms::group_write, RifiutoFileSegreto::LeggibileDaAltri, ""},
        {"empty", "", p600, RifiutoFileSegreto::Vuoto, ""},
        {"newline only", "\n", p600, RifiutoFileSegreto::Vuoto, ""},
        {"longest", lunga + "\n", p600, RifiutoFileSegreto::Nessuno, lunga},
        {"too long", lunga + "x", p600, RifiutoFileSegreto::TroppoLungo, ""},
        {"too long with CR LF", lunga + "x\r\n", p600, RifiutoFileSegreto::TroppoLungo, ""},
    };
    // clang-format on
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const fs::path f = cartella.file("frase.txt");
        fs::remove(f);
        prova::ScriviByte(f, c.contenuto);
        fs::permissions(f, c.permessi);
        Segreto letto("resto di prima");
        sistema::ErroreFile errore;
        EXPECT_EQ(sistema::LeggiFileSegreto(f, letto, errore), c.rifiuto);
        EXPECT_EQ(letto.Testo(), c.letto);
        fs::permissions(f, p600);
    }
    // A link, even to a good file, a folder, a pipe, a file not there.
    const fs::path buono = cartella.file("buono.txt"), link = cartella.file("link.txt");
    prova::ScriviByte(buono, "frase");
    fs::permissions(buono, p600);
    fs::create_symlink(buono, link);
    fs::create_directory(cartella.file("cartella"));
    ASSERT_EQ(::mkfifo(cartella.file("tubo").c_str(), 0600), 0);
    for (const auto& [nome, atteso] :
         std::vector<std::pair<std::string, RifiutoFileSegreto>>{{"link.txt", RifiutoFileSegreto::NonUnFile},
                                                                 {"cartella", RifiutoFileSegreto::NonUnFile},
                                                                 {"tubo", RifiutoFileSegreto::NonUnFile},
                                                                 {"assente.txt", RifiutoFileSegreto::Illeggibile}}) {
        Segreto letto;
        sistema::ErroreFile errore;
        EXPECT_EQ(sistema::LeggiFileSegreto(cartella.file(nome), letto, errore), atteso) << nome;
        EXPECT_TRUE(letto.empty());
    }
}

TEST(FileSegreto, UnSegretoNonSuperaLaSuaCapienza) {
    Segreto s(std::string(Segreto::Capienza, 'a'));
    EXPECT_TRUE(s.ok());
    EXPECT_FALSE(s.Aggiungi("b"));
    EXPECT_EQ(s.size(), Segreto::Capienza);
    s.TogliUltimo();
    EXPECT_TRUE(s.Aggiungi("b"));
    EXPECT_EQ(s.Testo().back(), 'b');
    EXPECT_FALSE(Segreto(std::string(Segreto::Capienza + 1, 'a')).ok());
    const Segreto copia = s;
    s.Svuota();
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(copia.size(), Segreto::Capienza);
}

// Typed at the terminal: the prompt shown, nothing of what is typed echoed,
// the echo back afterwards.
TEST(FileSegreto, DalTerminaleSenzaEco) {
    int tubo[2];
    ASSERT_EQ(::pipe(tubo), 0);
    int padrone = -1;
    const pid_t figlio = ::forkpty(&padrone, nullptr, nullptr, nullptr);
    ASSERT_GE(figlio, 0);
    if (figlio == 0) {
        ::close(tubo[0]);
        Segreto letto;
        const auto esito = sistema::LeggiDalTerminale("Passphrase: ", letto);
        termios dopo{};
        ::tcgetattr(STDIN_FILENO, &dopo);
        const std::string risposta =
            std::to_string(static_cast<int>(esito)) + ((dopo.c_lflag & ECHO) ? "E" : "-") + std::string(letto.Testo());
        (void)!::write(tubo[1], risposta.data(), risposta.size());
        ::_exit(0);
    }
    ::close(tubo[1]);
    // What the terminal shows, up to the prompt; then the line typed.
    auto leggiFinoA = [&](const std::string& atteso) {
        std::string visto;
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (visto.find(atteso) == std::string::npos && std::chrono::steady_clock::now() < limite) {
            pollfd p{padrone, POLLIN, 0};
            if (::poll(&p, 1, 200) <= 0) continue;
            char buf[256];
            const ssize_t n = ::read(padrone, buf, sizeof buf);
            if (n <= 0) break;
            visto.append(buf, static_cast<std::size_t>(n));
        }
        return visto;
    };
    EXPECT_NE(leggiFinoA("Passphrase: ").find("Passphrase: "), std::string::npos);
    const std::string typed = "segreto d'oro\n";
    ASSERT_EQ(::write(padrone, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    std::string risposta;
    char buf[256];
    for (ssize_t n; (n = ::read(tubo[0], buf, sizeof buf)) > 0;) risposta.append(buf, static_cast<std::size_t>(n));
    int stato = 0;
    ::waitpid(figlio, &stato, 0);
    // The terminal showed the newline only.
    std::string eco;
    for (;;) {
        pollfd p{padrone, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0) break;
        const ssize_t n = ::read(padrone, buf, sizeof buf);
        if (n <= 0) break;
        eco.append(buf, static_cast<std::size_t>(n));
    }
    ::close(padrone);
    ::close(tubo[0]);
    EXPECT_EQ(eco.find("segreto"), std::string::npos) << eco;
    EXPECT_EQ(risposta, std::to_string(static_cast<int>(sistema::EsitoTerminale::Letto)) + "Esegreto d'oro");
}
