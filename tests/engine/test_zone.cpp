// Zones from an athlete's tests: Friel's and Coggan's tables, their rounding
// at the halves, thresholds that give no table, watts per kilogram.
#include "ZoneTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace Modulo1;

namespace {
std::string Righe(const std::vector<Zona>& zone) {
    std::string testo;
    for (const Zona& z : zone) testo += (testo.empty() ? "" : " | ") + z.nome + " " + TestoZona(z);
    return testo;
}
const double nd = std::nan(""), inf = std::numeric_limits<double>::infinity();
}  // namespace

// FTP 250 W starts Z4 at 227.5, Z6 at 302.5 and Z7 at 377.5 W.
TEST(ZoneTest, TabelleDiFrielEDiCoggan) {
    EXPECT_EQ(Righe(ZoneCoggan(250)),
              "Z1 0-139 | Z2 140-189 | Z3 190-227 | Z4 228-264 | Z5 265-301 | Z6 302-377 | Z7 378+");
    EXPECT_EQ(Righe(ZoneFriel(160)),
              "Z1 0-129 | Z2 130-143 | Z3 144-149 | Z4 150-159 | Z5a 160-164 | Z5b 165-170 | Z5c 171+");
    EXPECT_FALSE(ZoneCoggan(250).back().fine);
}

TEST(ZoneTest, MetaAlPari) {
    struct Caso {
        std::vector<Zona> (*tabella)(double);
        double soglia;
        std::size_t zona;
        int inizio;
    };
    const Caso casi[] = {
        {ZoneFriel, 155, 2, 140},      // 139.5
        {ZoneFriel, 165, 2, 148},      // 148.5
        {ZoneFriel, 162.5, 4, 162},    // 162.5
        {ZoneCoggan, 125, 4, 132},     // 132.5
        {ZoneCoggan, 268.75, 1, 150},  // 150.5
    };
    for (const Caso& k : casi) {
        auto zone = k.tabella(k.soglia);
        ASSERT_EQ(zone.size(), 7u) << k.soglia;
        EXPECT_EQ(zone[k.zona].inizio, k.inizio) << k.soglia;
        EXPECT_EQ(zone[k.zona - 1].fine, k.inizio - 1) << k.soglia;
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

TEST(WattPerKg, Testo) {
    const std::pair<double, const char*> casi[] = {{3.57, "3.57"},  {4, "4.00"},     {0, "0.00"},  {-0.0, "0.00"},
                                                   {3.575, "3.58"}, {4.025, "4.02"}, {nd, "n.d."}, {-inf, "n.d."}};
    for (auto [x, atteso] : casi) EXPECT_EQ(TestoWattPerKg(x), atteso) << x;
}
