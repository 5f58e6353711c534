// A file replaced whole: never written through a link planted at its name,
// always owner-only when asked, and on a full disk the old file stays as it
// was with nothing left beside it. On Windows the same, with names beyond
// ASCII in every call.
#include "CartellaProva.h"
#include "FileSistema.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

#ifndef _WIN32

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

unsigned Modo(const fs::path& file) {
    struct stat s {};
    ::lstat(file.c_str(), &s);
    return s.st_mode & 07777;
}

constexpr auto SoloProprietario = fs::perms::owner_read | fs::perms::owner_write;

}  // namespace

// Another user's file, reached through a link planted at the name, or a file
// left open to all: the link and the mode go, the other file stays.
TEST(ScriviFileAtomico, UnLinkONomeAltruiNonVieneSeguito) {
    CartellaProva cartella(false);
    cartella.scrivi("altrui.txt", "of another user");
    fs::permissions(cartella.file("altrui.txt"), fs::perms::all);
    fs::create_symlink(cartella.file("altrui.txt"), cartella.file("report.pdf"));
    ASSERT_FALSE(sistema::ScriviFileAtomico(cartella.file("report.pdf"), "%PDF report", SoloProprietario));
    EXPECT_FALSE(fs::is_symlink(cartella.file("report.pdf")));
    EXPECT_EQ(cartella.leggi("report.pdf"), "%PDF report");
    EXPECT_EQ(Modo(cartella.file("report.pdf")), 0600u);
    EXPECT_EQ(cartella.leggi("altrui.txt"), "of another user");
    EXPECT_EQ(Modo(cartella.file("altrui.txt")), 0777u);

    cartella.scrivi("aperto.csv", "old");
    fs::permissions(cartella.file("aperto.csv"), fs::perms::all);
    ASSERT_FALSE(sistema::ScriviFileAtomico(cartella.file("aperto.csv"), "new", SoloProprietario));
    EXPECT_EQ(Modo(cartella.file("aperto.csv")), 0600u);
}

// No room for the new text (no file of this process may grow past 4 KB): the
// write fails and says so, the old file is intact and nothing is left beside.
TEST(ScriviFileAtomico, ADiscoPienoIlVecchioFileResta) {
    CartellaProva cartella(false);
    cartella.scrivi("report.pdf", "old report");
    rlimit vecchio{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &vecchio), 0);
    auto segnale = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = vecchio;
    limite.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
    const auto errore = sistema::ScriviFileAtomico(cartella.file("report.pdf"), std::string(60000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &vecchio);
    std::signal(SIGXFSZ, segnale);
    ASSERT_TRUE(errore);
    EXPECT_EQ(errore->numero, EFBIG);
    EXPECT_EQ(cartella.leggi("report.pdf"), "old report");
    EXPECT_EQ(std::distance(fs::directory_iterator(cartella.percorso()), fs::directory_iterator()), 1);
}

#endif  // not _WIN32

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <aclapi.h>

#include <fstream>
#include <iterator>

namespace {

std::size_t Voci(const fs::path& cartella) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(cartella), fs::directory_iterator()));
}

// The bytes of UTF-8 text, as the error messages carry names.
std::string Byte(std::u8string_view testo) { return std::string(testo.begin(), testo.end()); }

// Names beyond ASCII go through paths made from UTF-8 (u8"…"): a path made
// from a narrow string takes its bytes one by one on Windows.
void Scrivi(const fs::path& file, std::string_view testo) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << testo;
    ASSERT_TRUE(out.good()) << Byte(file.u8string());
}

std::string Leggi(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool ProvvisorioAccanto(const fs::path& cartella) {
    for (const auto& voce : fs::directory_iterator(cartella))
        if (sistema::NomeProvvisorio(voce.path().filename().string())) return true;
    return false;
}

}  // namespace

// A coach called Nicolò, an athlete called Zoë: every call takes the name as
// it is, and the folder lists it under that name, not a question mark.
TEST(FileSistemaWindows, NomiOltreAscii) {
    CartellaProva prova(false);
    const fs::path cartella = prova.percorso() / u8"Nicolò Ørsted";
    ASSERT_TRUE(sistema::CreaCartellaPrivata(cartella));
    EXPECT_TRUE(sistema::CartellaScrivibile(cartella));
    const fs::path rapporto = cartella / u8"Zoë Łukasz – Ωmega.pdf";
    ASSERT_FALSE(sistema::ScriviFileAtomico(rapporto, "%PDF one"));
    ASSERT_FALSE(sistema::ScriviFileAtomico(rapporto, "%PDF two"));  // replaced, not refused
    sistema::ErroreFile errore;
    EXPECT_EQ(sistema::LeggiFile(rapporto, 100, errore), "%PDF two");
    EXPECT_EQ(fs::directory_iterator(cartella)->path().filename(), rapporto.filename());
    EXPECT_EQ(Voci(cartella), 1u);

    const fs::path copia = cartella / u8"Zoë (copia).pdf";
    ASSERT_FALSE(sistema::CopiaInNuovoFile(rapporto, copia));
    EXPECT_EQ(sistema::LeggiFile(copia, 100, errore), "%PDF two");
    EXPECT_FALSE(sistema::StessoFile(rapporto, copia));
    EXPECT_TRUE(sistema::StessoFile(rapporto, cartella / u8"." / rapporto.filename()));
    EXPECT_FALSE(sistema::ProvaScrittura(copia));
    EXPECT_TRUE(sistema::IdentitaFile(copia));
    EXPECT_FALSE(sistema::IdentitaFile(cartella / u8"Zoë assente.pdf"));

    const fs::path spostato = cartella / u8"Zoë spostato.pdf";
    ASSERT_FALSE(sistema::Rinomina(copia, spostato));
    EXPECT_FALSE(fs::exists(copia));
    EXPECT_EQ(sistema::LeggiFile(spostato, 100, errore), "%PDF two");
    EXPECT_TRUE(sistema::Sincronizza(spostato));
    EXPECT_TRUE(sistema::Sincronizza(cartella));
}

// The error numbers the callers decide by: a name taken, a file too long, a
// folder where a file should be, a file missing.
TEST(FileSistemaWindows, NumeriDiErrore) {
    CartellaProva prova(false);
    const fs::path a = prova.percorso() / u8"à.txt", e = prova.percorso() / u8"è.txt";
    Scrivi(a, "first");
    Scrivi(e, "second");

    auto errore = sistema::SpostaSenzaSostituire(a, e);
    ASSERT_TRUE(errore);
    EXPECT_EQ(errore->numero, EEXIST);
    EXPECT_EQ(Leggi(e), "second");
    EXPECT_EQ(Leggi(a), "first");

    errore = sistema::CopiaInNuovoFile(a, e);
    ASSERT_TRUE(errore);
    EXPECT_EQ(errore->numero, EEXIST);
    EXPECT_EQ(Leggi(e), "second");
    EXPECT_FALSE(ProvvisorioAccanto(prova.percorso()));

    const fs::path collegato = prova.percorso() / u8"ì.txt";
    errore = sistema::CollegaFile(a, collegato);
    if (!errore) {
        EXPECT_TRUE(sistema::StessoFile(a, collegato));
        errore = sistema::CollegaFile(a, collegato);
        ASSERT_TRUE(errore);
        EXPECT_EQ(errore->numero, EEXIST);
    } else {
        EXPECT_TRUE(errore->numero == ENOTSUP || errore->numero == EXDEV || errore->numero == EPERM ||
                    errore->numero == EACCES)
            << errore->dettaglio;
    }

    sistema::ErroreFile lettura;
    EXPECT_FALSE(sistema::LeggiFile(a, 4, lettura));
    EXPECT_EQ(lettura.numero, EFBIG);
    EXPECT_EQ(sistema::LeggiFile(a, 5, lettura), "first");  // as long as allowed: read
    EXPECT_FALSE(sistema::LeggiFile(prova.percorso(), 100, lettura));
    EXPECT_EQ(lettura.numero, EISDIR);
    EXPECT_FALSE(sistema::LeggiFile(prova.percorso() / u8"ò.txt", 100, lettura));
    EXPECT_EQ(lettura.numero, ENOENT);
    EXPECT_NE(lettura.dettaglio.find(Byte(u8"ò.txt")), std::string::npos) << lettura.dettaglio;
    errore = sistema::ProvaScrittura(prova.percorso() / u8"ò.txt");
    ASSERT_TRUE(errore);
    EXPECT_EQ(errore->numero, ENOENT);
}

// A folder standing under the name: the write fails and says so, the folder
// stays, and nothing is left beside it. A read-only file is replaced, as a
// rename replaces it on Linux.
TEST(FileSistemaWindows, ScritturaFallitaNonLasciaNulla) {
    CartellaProva prova(false);
    fs::create_directory(prova.file("report.pdf"));
    const auto errore = sistema::ScriviFileAtomico(prova.file("report.pdf"), "%PDF");
    ASSERT_TRUE(errore);
    EXPECT_NE(errore->numero, 0);
    EXPECT_TRUE(fs::is_directory(prova.file("report.pdf")));
    EXPECT_FALSE(ProvvisorioAccanto(prova.percorso()));

    prova.scrivi("solo lettura.csv", "old");
    fs::permissions(prova.file("solo lettura.csv"), fs::perms::owner_read | fs::perms::group_read);
    ASSERT_FALSE(sistema::ScriviFileAtomico(prova.file("solo lettura.csv"), "new"));
    EXPECT_EQ(prova.leggi("solo lettura.csv"), "new");
    EXPECT_FALSE(ProvvisorioAccanto(prova.percorso()));
}

// A link planted at the name is replaced; the file it led to stays as it was.
TEST(FileSistemaWindows, UnLinkNonVieneSeguito) {
    CartellaProva prova(false);
    prova.scrivi("altrui.txt", "of another user");
    std::error_code ec;
    fs::create_symlink(prova.file("altrui.txt"), prova.file("report.pdf"), ec);
    if (ec || !fs::is_symlink(prova.file("report.pdf")))
        GTEST_SKIP() << "this system makes no symbolic links here (" << ec.message() << ")";
    ASSERT_FALSE(sistema::ScriviFileAtomico(prova.file("report.pdf"), "%PDF report"));
    EXPECT_FALSE(fs::is_symlink(prova.file("report.pdf")));
    EXPECT_EQ(prova.leggi("report.pdf"), "%PDF report");
    EXPECT_EQ(prova.leggi("altrui.txt"), "of another user");
}

// Temporary files of a program that is gone are removed; those of a running
// one (this), a folder under such a name, and other names are not.
TEST(FileSistemaWindows, ProvvisoriAbbandonati) {
    CartellaProva prova(false);
    const std::string nostro = std::to_string(::GetCurrentProcessId());
    // Process numbers on Windows are multiples of four: this one is never given.
    const std::string finito = "99999997";
    struct Caso {
        fs::path nome;
        bool cartella;
        bool rimosso;
    };
    const Caso casi[] = {
        {"tvp.dmg.tmp-" + finito + "-aB3dE9", false, true},
        {fs::path(u8"Zoë.pdf.tmp-").native() + fs::path(finito + "-x1y2z3").native(), false, true},
        {"tvp.dmg.tmp-" + finito + "-aB3dE9-journal", false, true},
        {"tvp.dmg.tmp-" + nostro + "-aB3dE9", false, false},
        {"tvp.dmg.tmp-" + finito + "-cartel", true, false},
        {"tvp.dmg.tmp-" + finito + "-abc", false, false},
        {"tvp.dmg", false, false},
    };
    for (const Caso& caso : casi) {
        if (caso.cartella)
            fs::create_directory(prova.percorso() / caso.nome);
        else
            Scrivi(prova.percorso() / caso.nome, "x");
    }
    EXPECT_EQ(sistema::RimuoviProvvisoriAbbandonati({prova.percorso()}), 3u);
    for (const Caso& caso : casi)
        EXPECT_EQ(fs::exists(prova.percorso() / caso.nome), !caso.rimosso) << Byte(caso.nome.u8string());
}

// A new file holds athletes' data: only this user may open it (and the
// system itself and the administrators, as root on Linux).
TEST(FileSistemaWindows, FileNuovoSoloPerQuestoUtente) {
    CartellaProva prova(false);
    ASSERT_FALSE(sistema::ScriviFileAtomico(prova.file("tvp.dmg"), "archive"));
    PACL accessi = nullptr;
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    ASSERT_EQ(::GetNamedSecurityInfoW(prova.file("tvp.dmg").c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                      nullptr, &accessi, nullptr, &descrittore),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(accessi, nullptr);
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
    BYTE dati[256];
    DWORD lunghezza = 0;
    ASSERT_TRUE(::GetTokenInformation(token, TokenUser, dati, sizeof dati, &lunghezza));
    ::CloseHandle(token);
    const PSID io = reinterpret_cast<TOKEN_USER*>(dati)->User.Sid;
    for (DWORD i = 0; i < accessi->AceCount; ++i) {
        void* voce = nullptr;
        ASSERT_TRUE(::GetAce(accessi, i, &voce));
        if (static_cast<ACE_HEADER*>(voce)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* permesso = static_cast<ACCESS_ALLOWED_ACE*>(voce);
        const PSID chi = reinterpret_cast<PSID>(&permesso->SidStart);
        EXPECT_TRUE(::EqualSid(chi, io) || ::IsWellKnownSid(chi, WinLocalSystemSid) ||
                    ::IsWellKnownSid(chi, WinBuiltinAdministratorsSid))
            << "an entry for someone else";
    }
    ::LocalFree(descrittore);
}

#endif  // _WIN32
