// Zones from an athlete's tests: Friel's and Coggan's tables, their rounding
// at the halves, thresholds that give no table, watts per kilogram.
#include "LimitiValori.h"
#include "ZoneTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

using namespace Modulo1;

namespace {
std::string Righe(const std::vector<Zona>& zone) {
    std::string testo;
    for (const Zona& z : zone) testo += (testo.empty() ? "" : " | ") + z.nome + " " + TestoZona(z);
    return testo;
}
const double nd = std::nan(""), inf = std::numeric_limits<double>::infinity();
}  // namespace

// FTP 250 W: Z4 from 227.5 W, Z6 from 302.5 W, Z7 above 375 W.
TEST(ZoneTest, TabelleDiFrielEDiCoggan) {
    EXPECT_EQ(Righe(ZoneCoggan(250)),
              "Z1 0-139 | Z2 140-189 | Z3 190-227 | Z4 228-264 | Z5 265-302 | Z6 303-375 | Z7 376+");
    EXPECT_EQ(Righe(ZoneFriel(160)),
              "Z1 0-129 | Z2 130-143 | Z3 144-150 | Z4 151-159 | Z5a 160-164 | Z5b 165-169 | Z5c 170+");
    EXPECT_FALSE(ZoneCoggan(250).back().fine);
}

// At a threshold of 100 every start is a whole number: each zone starts at
// its percentage, the top ones just above it.
TEST(ZoneTest, SogliaCentoOgniInizioEsatto) {
    EXPECT_EQ(Righe(ZoneFriel(100)), "Z1 0-80 | Z2 81-89 | Z3 90-93 | Z4 94-99 | Z5a 100-102 | Z5b 103-106 | Z5c 107+");
    EXPECT_EQ(Righe(ZoneCoggan(100)), "Z1 0-55 | Z2 56-75 | Z3 76-90 | Z4 91-105 | Z5 106-120 | Z6 121-150 | Z7 151+");
}

// A value goes to the zone whose published range holds it; between two
// ranges it stays in the lower zone until it reaches the next one's start;
// the top zones start just above 106 % and 150 %.
TEST(ZoneTest, OgniValoreNellaSuaZona) {
    struct Caso {
        std::vector<Zona> (*tabella)(double);
        double soglia;
        int valore;
        const char* zona;
    };
    const Caso casi[] = {
        {ZoneFriel, 160, 170, "Z5c"},     // 106.25 %
        {ZoneFriel, 160, 169, "Z5b"},     // 105.6 %
        {ZoneFriel, 150, 159, "Z5b"},     // 106 % exactly
        {ZoneFriel, 150, 160, "Z5c"},     //
        {ZoneFriel, 160, 160, "Z5a"},     // 100 %
        {ZoneFriel, 160, 159, "Z4"},      // 99.4 %
        {ZoneFriel, 160, 150, "Z3"},      // 93.75 %: between 93 % and 94 %
        {ZoneFriel, 160, 151, "Z4"},      // 94.4 %
        {ZoneFriel, 160, 130, "Z2"},      // 81.25 %
        {ZoneFriel, 160, 129, "Z1"},      // 80.6 %
        {ZoneFriel, 162.5, 172, "Z5b"},   // 105.8 %
        {ZoneFriel, 162.5, 173, "Z5c"},   // 106.5 %
        {ZoneCoggan, 250, 376, "Z7"},     // 150.4 %
        {ZoneCoggan, 200, 242, "Z6"},     // 121 % exactly: a zone below the top starts on its bound
        {ZoneCoggan, 250, 375, "Z6"},     // 150 %
        {ZoneCoggan, 250, 303, "Z6"},     // 121.2 %
        {ZoneCoggan, 250, 302, "Z5"},     // 120.8 %: between 120 % and 121 %
        {ZoneCoggan, 250, 228, "Z4"},     // 91.2 %
        {ZoneCoggan, 250, 227, "Z3"},     // 90.8 %
        {ZoneCoggan, 250, 139, "Z1"},     // 55.6 %
        {ZoneCoggan, 250, 140, "Z2"},     // 56 %
        {ZoneCoggan, 268.75, 403, "Z6"},  // 149.95 %
        {ZoneCoggan, 268.75, 404, "Z7"},  // 150.3 %
    };
    for (const Caso& k : casi) {
        const auto zone = k.tabella(k.soglia);
        ASSERT_EQ(zone.size(), 7u) << k.soglia;
        std::string trovata;
        for (const Zona& z : zone)
            if (k.valore >= z.inizio && (!z.fine || k.valore <= *z.fine)) trovata = z.nome;
        EXPECT_EQ(trovata, k.zona) << k.soglia << " " << k.valore;
    }
}

// Besides no positive number: so low that zones would start together, so
// high that the starts leave the int range.
TEST(ZoneTest, SoglieSenzaTabella) {
    for (double soglia : {0.0, -0.0, -160.0, nd, inf, -inf, 1.0, 1e300}) {
        EXPECT_TRUE(ZoneFriel(soglia).empty()) << soglia;
        EXPECT_TRUE(ZoneCoggan(soglia).empty()) << soglia;
    }
}

TEST(WattPerKg, DueDecimaliMetaAlPari) {
    struct Caso {
        double ftp, peso, atteso;
    };
    const Caso casi[] = {{250, 70, 3.57}, {280, 70, 4.00}, {286, 80, 3.58},  {282, 80, 3.52},
                         {322, 80, 4.02}, {358, 80, 4.48}, {308, 70.4, 4.38}};  // halves from 3.575
    for (auto [ftp, peso, atteso] : casi) EXPECT_EQ(WattPerKg(ftp, peso).value_or(-1), atteso) << ftp << " " << peso;
    const std::pair<double, double> nulli[] = {{0, 70},   {250, 0},  {-250, 70}, {250, -70},    {nd, 70},
                                               {250, nd}, {inf, 70}, {250, inf}, {1e308, 1e-10}};
    for (auto [ftp, peso] : nulli) EXPECT_FALSE(WattPerKg(ftp, peso)) << ftp << " " << peso;
}

// How near a half, or a whole start, counts as one: within a millionth of a
// millionth (relative), binary's hair; five times that is a real difference.
TEST(ZoneTest, QuantoVicinoEUnaMetaOUnInizio) {
    EXPECT_EQ(WattPerKg(4.375 * (1 - 5e-13), 1).value_or(-1), 4.38);  // a half: to the even 438
    EXPECT_EQ(WattPerKg(4.375 * (1 - 5e-12), 1).value_or(-1), 4.37);  // below the half
    EXPECT_EQ(WattPerKg(1, 0.5).value_or(-1), 2.0);                   // any positive value counts
    EXPECT_EQ(WattPerKg(0.5, 0.25).value_or(-1), 2.0);
    EXPECT_EQ(ZoneFriel(100 * (1 + 5e-13)).at(1).inizio, 81);  // 81 in decimals
    EXPECT_EQ(ZoneFriel(100 * (1 + 5e-12)).at(1).inizio, 82);  // past 81: the next whole bpm
}

TEST(WattPerKg, Testo) {
    const std::pair<double, const char*> casi[] = {{3.57, "3.57"},  {4, "4.00"},     {0, "0.00"},  {-0.0, "0.00"},
                                                   {3.575, "3.58"}, {4.025, "4.02"}, {nd, "n.d."}, {-inf, "n.d."}};
    for (auto [x, atteso] : casi) EXPECT_EQ(TestoWattPerKg(x), atteso) << x;
}

// Each value against its ranges: inside the usual one taken, outside it
// asked, outside the possible one refused; both ends of each range belong.
TEST(LimitiValori, OgniGrandezzaHaIlSuoIntervallo) {
    for (int i = 0; i < NumeroGrandezze; ++i) {
        const auto g = static_cast<Grandezza>(i);
        const Limiti& l = LimitiDi(g);
        EXPECT_LE(l.possibile.minimo, l.usuale.minimo) << i;
        EXPECT_LT(l.usuale.minimo, l.usuale.massimo) << i;
        EXPECT_LE(l.usuale.massimo, l.possibile.massimo) << i;
        EXPECT_EQ(Giudica(g, l.usuale.minimo), Giudizio::Valido) << i;
        EXPECT_EQ(Giudica(g, l.usuale.massimo), Giudizio::Valido) << i;
        EXPECT_EQ(Giudica(g, l.possibile.minimo),
                  l.possibile.minimo < l.usuale.minimo ? Giudizio::Insolito : Giudizio::Valido)
            << i;
        EXPECT_EQ(Giudica(g, l.possibile.massimo),
                  l.possibile.massimo > l.usuale.massimo ? Giudizio::Insolito : Giudizio::Valido)
            << i;
        const double passo = (l.possibile.massimo - l.possibile.minimo) / 1000;
        EXPECT_EQ(Giudica(g, l.possibile.minimo - passo), Giudizio::Impossibile) << i;
        EXPECT_EQ(Giudica(g, l.possibile.massimo + passo), Giudizio::Impossibile) << i;
        EXPECT_EQ(Giudica(g, nd), Giudizio::Impossibile) << i;
        EXPECT_EQ(Giudica(g, inf), Giudizio::Impossibile) << i;
    }
}

// What a working day found taken silently, and what a coach does type.
TEST(LimitiValori, TestENumeriDaNessunAtleta) {
    struct Caso {
        std::optional<double> fc, lthr, ftp, peso;
        std::optional<Grandezza> fuori;
        Giudizio giudizio;
    };
    const std::optional<double> no;
    const Caso casi[] = {
        {188, 160, 250, 70, std::nullopt, Giudizio::Valido},
        {no, no, no, no, std::nullopt, Giudizio::Valido},
        {150, 170, no, no, Grandezza::Lthr, Giudizio::Impossibile},  // the threshold above the maximum
        {180, 178, no, no, Grandezza::Lthr, Giudizio::Insolito},     // 98.9 % of it
        {180, 174, no, no, std::nullopt, Giudizio::Valido},          // 96.7 %
        {180, 180, no, no, Grandezza::Lthr, Giudizio::Insolito},     // level with it
        {no, no, 2500, no, Grandezza::Ftp, Giudizio::Impossibile},
        {no, no, 1, no, Grandezza::Ftp, Giudizio::Impossibile},
        {no, no, 2147483647, no, Grandezza::Ftp, Giudizio::Impossibile},
        {no, no, 500, no, Grandezza::Ftp, Giudizio::Insolito},
        {no, no, 250, 8, Grandezza::Peso, Giudizio::Impossibile},        // 312 W/kg
        {no, no, 600, 60, Grandezza::WattPerKg, Giudizio::Impossibile},  // 10 W/kg: the FTP alone is unusual
        {no, no, 420, 64, Grandezza::WattPerKg, Giudizio::Insolito},     // 6.56 W/kg
        {no, no, 0, no, Grandezza::Ftp, Giudizio::Impossibile},          // a 0 typed is a value
        {nd, no, no, no, Grandezza::FcMax, Giudizio::Impossibile},
        {240, 250, no, no, Grandezza::FcMax, Giudizio::Impossibile},  // the first refused
    };
    for (const Caso& k : casi) {
        const auto f = GiudicaTest(k.fc, k.lthr, k.ftp, k.peso);
        EXPECT_EQ(f.has_value(), k.fuori.has_value()) << k.fc.value_or(-1) << " " << k.ftp.value_or(-1);
        if (!f || !k.fuori) continue;
        EXPECT_EQ(f->grandezza, *k.fuori) << k.fc.value_or(-1) << " " << k.ftp.value_or(-1);
        EXPECT_EQ(f->giudizio, k.giudizio) << k.fc.value_or(-1) << " " << k.ftp.value_or(-1);
    }
    const auto soglia = GiudicaTest(150, 170, std::nullopt, std::nullopt);
    ASSERT_TRUE(soglia && soglia->rispetto);
    EXPECT_EQ(*soglia->rispetto, Grandezza::FcMax);
    EXPECT_EQ(soglia->altro, 150);
}

TEST(LimitiValori, TelaiDaNessunaBici) {
    using V = std::array<std::optional<double>, 8>;  // stack, reach, head, cap, spacers, stem, angle, clamp
    const std::optional<double> no;
    const std::tuple<V, std::optional<Grandezza>, Giudizio> casi[] = {
        {V{530, 380, 72.5, no, 20, 100, -6, no}, std::nullopt, Giudizio::Valido},
        {V{530, 380, 171.5, no, no, no, no, no}, Grandezza::AngoloSterzo, Giudizio::Impossibile},
        {V{530, 380, 1, no, no, no, no, no}, Grandezza::AngoloSterzo, Giudizio::Impossibile},
        {V{0.001, 380, 72.5, no, no, no, no, no}, Grandezza::Stack, Giudizio::Impossibile},
        {V{530, 380, 72.5, no, -5, 100, no, no}, Grandezza::Spessori, Giudizio::Impossibile},
        {V{530, 380, 72.5, no, 60, 100, no, no}, Grandezza::Spessori, Giudizio::Insolito},
        {V{530, 380, 72.5, no, 60, 100, 50, no}, Grandezza::AngoloAttacco, Giudizio::Impossibile},
        {V{530, 380, 72.5, 0, 0, 20, -45, 20}, Grandezza::Attacco, Giudizio::Insolito},
    };
    for (const auto& [valori, fuori, giudizio] : casi) {
        const auto f = GiudicaTelaio(valori);
        ASSERT_EQ(f.has_value(), fuori.has_value()) << valori[2].value_or(-1);
        if (!f) continue;
        EXPECT_EQ(f->grandezza, *fuori) << valori[2].value_or(-1);
        EXPECT_EQ(f->giudizio, giudizio) << valori[2].value_or(-1);
    }
}
