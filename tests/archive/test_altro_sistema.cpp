// One archive on both systems: an archive made by the program on Linux and
// one made on Windows (tests/fixtures/altro_sistema) open on the system these
// tests run on, give the same athletes, and are left as they were.
#include "Archivio.h"
#include "ArchivioCsv.h"
#include "CartellaProva.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifndef TOVARIN_FIXTURE_ALTRO_SISTEMA
#error "TOVARIN_FIXTURE_ALTRO_SISTEMA must name the folder of the archives made on each system"
#endif

namespace fs = std::filesystem;

namespace {

std::string Leggi(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class AltroSistema : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(AltroSistema, SiApreConGliStessiAtletiESenzaCambiare) {
    const fs::path fixture(TOVARIN_FIXTURE_ALTRO_SISTEMA);
    CartellaProva prova(false);
    fs::copy_file(fixture / GetParam(), prova.file("tvp.dmg"));
    const std::string prima = prova.leggi("tvp.dmg");
    ASSERT_FALSE(prima.empty());
    {
        archivio::Archivio a;
        const archivio::Esito aperto = a.Apri(prova.file("tvp.dmg"));
        ASSERT_TRUE(aperto) << aperto.errore().dettaglio;
        std::size_t quanti = 0;
        const archivio::Esito esportato =
            archivio::EsportaCsv(a, prova.file("esportato.csv"), archivio::FormatoCsv{}, quanti);
        ASSERT_TRUE(esportato) << esportato.errore().dettaglio;
        EXPECT_EQ(quanti, 2u);
    }
    EXPECT_EQ(prova.leggi("esportato.csv"), Leggi(fixture / "esportato.csv"));
    EXPECT_EQ(prova.leggi("tvp.dmg"), prima);
}

INSTANTIATE_TEST_SUITE_P(Archivi, AltroSistema, ::testing::Values("linux.dmg", "windows.dmg"),
                         [](const auto& info) { return std::string(fs::path(info.param).stem().string()); });
