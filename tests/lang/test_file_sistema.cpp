// A file replaced whole: never written through a link planted at its name,
// always owner-only when asked, and on a full disk the old file stays as it
// was with nothing left beside it.
#include "CartellaProva.h"
#include "FileSistema.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

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
