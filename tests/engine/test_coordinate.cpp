// Fit coordinates: result texts read as values, the saddle and handlebar
// points, the frame's bar position, the closest cockpit and the display texts.
#include "CoordinateAssetto.h"
#include "Modulo1.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

using namespace Modulo1;

namespace {
std::string Testi(Punto p) { return TestoUnDecimale(p.x) + " " + TestoUnDecimale(p.y); }
}  // namespace

TEST(CentroRisultato, NumeriIntervalliETestiBattuti) {
    const std::pair<const char*, double> casi[] = {
        {" 69", 69},      {" 4 - 4.5", 4.25}, {"-1 --.5", -0.75}, {" .9 - 1", 0.95}, {"69,5", 69.5},
        {" 69.5 ", 69.5}, {"4,5 - 5", 4.75},  {"5-7", 6},         {" -1 -2", 0.5},   {"\t-1 -2", 0.5}};
    for (auto [testo, atteso] : casi) EXPECT_EQ(CentroRisultato(testo).value_or(-99), atteso) << testo;
    const std::string enorme = "1" + std::string(400, '0');
    for (std::string testo : {"n.d.", "", "abc", "4 -", "- 4", "4 - 5 - 6", "1e5", enorme.c_str()})
        EXPECT_FALSE(CentroRisultato(testo)) << testo;
}

// The first athlete of the fit tests, from the texts the engine writes for him.
TEST(CalcolaCoordinate, PrimoAtletaESuoTelaio) {
    bool predefinita = false;
    const MisureAssetto m = LeggiMisure("78", "58", "52", "50", "57", "40", "28.5", predefinita);
    const CoordinateAssetto c =
        CalcolaCoordinate(CalcolaHS(m), CalcolaAlfa(m), CalcolaR(m), CalcolaDSM(m), CalcolaSM(m));
    ASSERT_TRUE(c.sella && c.punta && c.manubrio);
    EXPECT_EQ(Testi(*c.sella) + " / " + Testi(*c.punta) + " / " + Testi(*c.manubrio),
              "-18.6 66.5 / -4.2 66.5 / 44.6 60.9");

    const Punto bersaglio{c.manubrio->x * 10, c.manubrio->y * 10};
    const Telaio t{
        .stack = 530, .reach = 380, .angoloSterzo = 72.5, .spessori = 20, .attacco = 100, .angoloAttacco = -6};
    const Punto p = PosizioneManubrio(t);
    EXPECT_EQ(Testi(p), "463.0 597.6");
    EXPECT_EQ(TestoDifferenza(p.x - bersaglio.x) + " " + TestoDifferenza(p.y - bersaglio.y), "+17.2 -11.0");
    const AttaccoScelto s = AttaccoPiuVicino(t, bersaglio);
    EXPECT_EQ((std::array{s.spessori, s.attacco, s.angoloAttacco}), (std::array{0.0, 90.0, 17.0}));
    EXPECT_EQ(Testi(s.manubrio) + " " + TestoUnDecimale(s.distanza), "445.2 609.6 1.2");
}

TEST(CalcolaCoordinate, PuntiAssentiSoloDoveServe) {
    const std::string enorme = "1" + std::string(308, '0');  // finite, its square is not
    struct Caso {
        std::string hs, alfa, r, dsm, sm;
        const char* presenti;  // saddle, nose, bar
    };
    const Caso casi[] = {
        {"n.d.", "74.4", "4", "49", "5.6", "---"},  {"69", "n.d.", "4", "49", "5.6", "---"},
        {"69", "74.4", "n.d.", "49", "5.6", "s--"}, {"69", "74.4", "4", "n.d.", "5.6", "sp-"},
        {"69", "74.4", "4", "49", "n.d.", "sp-"},   {"0", "74.4", "4", "49", "5.6", "---"},
        {"-69", "74.4", "4", "49", "5.6", "---"},   {"69", "74.4", "4", "-49", "5.6", "sp-"},
        {"69", "74.4", "4", "0", "0", "sp-"},       {"69", "74.4", "4", "5.5", "5.6", "sp-"},
        {"69", "74.4", "4", "5.5", "-5.6", "sp-"},  {"69", "74.4", "4", enorme, "5", "sp-"},
        {"69", "74.4", "0", "49", "0", "spm"},      {"69", "74.4", "4", "5.6", "5.6", "spm"},
        {"0.5", "74.4", "4", "49", "5.6", "spm"},   {"69", "74.4", "4", "0.5", "0", "spm"},
    };
    for (const Caso& k : casi) {
        const CoordinateAssetto c = CalcolaCoordinate(k.hs, k.alfa, k.r, k.dsm, k.sm);
        std::string presenti{c.sella ? 's' : '-', c.punta ? 'p' : '-', c.manubrio ? 'm' : '-'};
        EXPECT_EQ(presenti, k.presenti) << k.hs << " " << k.alfa << " " << k.r << " " << k.dsm << " " << k.sm;
    }
    // DSM equal to the drop: straight below the nose; a negative SM: above the saddle.
    EXPECT_EQ(CalcolaCoordinate("69", "74.4", "4", "5.6", "5.6").manubrio->x, -4);
    const CoordinateAssetto sopra = CalcolaCoordinate("69", "74.4", "4", "10", "-6");
    EXPECT_EQ(Testi(*sopra.manubrio), "4.0 " + TestoUnDecimale(sopra.sella->y + 6));
}

TEST(Telaio, SterzoVerticaleEValidita) {
    const Telaio dritto{
        .stack = 500, .reach = 400, .angoloSterzo = 90, .spessori = 5, .attacco = 100, .angoloAttacco = 10};
    EXPECT_TRUE(TelaioValido(dritto));
    const Punto p = PosizioneManubrio(dritto);  // 10 + 5 + 20 up a vertical tube
    EXPECT_NEAR(p.x, 400 + 100 * std::cos(10 * std::numbers::pi / 180), 1e-9);
    EXPECT_NEAR(p.y, 535 + 100 * std::sin(10 * std::numbers::pi / 180), 1e-9);
    const std::pair<double Telaio::*, double> guasti[] = {
        {&Telaio::angoloSterzo, 0}, {&Telaio::angoloSterzo, 180}, {&Telaio::stack, 0},
        {&Telaio::reach, 0},        {&Telaio::cappellotto, -1},   {&Telaio::spessori, -5},
        {&Telaio::attacco, -1},     {&Telaio::morsetto, -1},      {&Telaio::angoloAttacco, std::nan("")}};
    for (auto [campo, v] : guasti) {
        Telaio t = dritto;
        t.*campo = v;
        EXPECT_FALSE(TelaioValido(t)) << v;
    }
    // Just inside each bound.
    const std::pair<double Telaio::*, double> validi[] = {
        {&Telaio::angoloSterzo, 0.5}, {&Telaio::angoloSterzo, 179.5}, {&Telaio::stack, 0.5}, {&Telaio::reach, 0.5},
        {&Telaio::cappellotto, 0},    {&Telaio::spessori, 0},         {&Telaio::attacco, 0}, {&Telaio::morsetto, 0}};
    for (auto [campo, v] : validi) {
        Telaio t = dritto;
        t.*campo = v;
        EXPECT_TRUE(TelaioValido(t)) << v;
    }
}

TEST(Telaio, RegolaDiParita) {
    auto A = [](double distanza, double spessori, double attacco, double angolo) {
        return AttaccoScelto{spessori, attacco, angolo, {0, 0}, distanza};
    };
    const double quasi = 1 + TolleranzaDistanzaMm / 10, nan = std::nan("");
    EXPECT_TRUE(AttaccoPreferito(A(1, 40, 140, 17), A(1.001, 0, 60, -17)));  // closer wins
    EXPECT_TRUE(AttaccoPreferito(A(quasi, 0, 140, 17), A(1, 5, 60, -17)));   // then fewer spacers
    EXPECT_TRUE(AttaccoPreferito(A(quasi, 5, 60, 17), A(1, 5, 70, -17)));    // then the shorter stem
    EXPECT_TRUE(AttaccoPreferito(A(quasi, 5, 60, -17), A(1, 5, 60, -12)));   // then the smaller angle
    EXPECT_FALSE(AttaccoPreferito(A(1, 5, 60, -12), A(1, 5, 60, -12)));
    EXPECT_FALSE(AttaccoPreferito(A(nan, 0, 60, -17), A(1, 40, 140, 17)));
    EXPECT_TRUE(AttaccoPreferito(A(1, 40, 140, 17), A(nan, 0, 60, -17)));
    // A difference of exactly the tolerance is still a tie.
    EXPECT_FALSE(AttaccoPreferito(A(0, 5, 60, -17), A(TolleranzaDistanzaMm, 0, 60, -17)));
}

TEST(TestiCoordinate, UnDecimaleEDifferenza) {
    const std::pair<double, const char*> differenze[] = {{0.04, ""},
                                                         {0.05, ""},
                                                         {-0.05, ""},
                                                         {0.07, "+0.1"},
                                                         {0.1, "+0.1"},
                                                         {-0.1, "-0.1"},
                                                         {0.15, "+0.2"},
                                                         {0.5, "+0.5"},
                                                         {-1.2, "-1.2"},
                                                         {1e14 + 0.5, "+100000000000000.5"},
                                                         {-1e14 - 0.5, "-100000000000000.5"},
                                                         {std::numeric_limits<double>::infinity(), "n.d."}};
    for (auto [d, atteso] : differenze) EXPECT_EQ(TestoDifferenza(d), atteso) << d;
    EXPECT_EQ(TestoDifferenza(std::numeric_limits<double>::quiet_NaN()), "n.d.");  // a point not given
    const std::pair<double, const char*> decimali[] = {{-1e-9, "0.0"},
                                                       {-0.0, "0.0"},
                                                       {-0.05, "0.0"},
                                                       {0.07, "0.1"},
                                                       {1, "1.0"},
                                                       {60, "60.0"},
                                                       {1e14, "100000000000000.0"},
                                                       {1e14 + 0.5, "100000000000000.5"},
                                                       {std::numeric_limits<double>::infinity(), "n.d."},
                                                       {std::nan(""), "n.d."}};
    for (auto [x, atteso] : decimali) EXPECT_EQ(TestoUnDecimale(x), atteso) << x;
}

// A decimal half goes to the even tenth, whatever binary value carries it:
// 40.45 + 3.2 is 43.650000000000006, the decimal 43.65.
TEST(TestiCoordinate, MetaDecimaliAlPari) {
    const std::pair<double, const char*> decimali[] = {{40.45 + 3.2, "43.6"},
                                                       {43.65, "43.6"},
                                                       {43.75, "43.8"},
                                                       {-(40.45 + 3.2), "-43.6"},
                                                       {0.15, "0.2"},
                                                       {0.25, "0.2"},
                                                       {0.35, "0.4"},
                                                       {2.675, "2.7"},
                                                       {43.6500001, "43.7"},
                                                       {43.6499999, "43.6"},
                                                       {1e-300, "0.0"},
                                                       {123456789.25, "123456789.2"},
                                                       {1234567890123.4, "1234567890123.4"},
                                                       {1e15, "1000000000000000.0"}};
    for (auto [x, atteso] : decimali) EXPECT_EQ(TestoUnDecimale(x), atteso) << x;
    const std::pair<double, const char*> differenze[] = {{0.25, "+0.2"}, {-0.25, "-0.2"}, {-(40.45 + 3.2), "-43.6"}};
    for (auto [d, atteso] : differenze) EXPECT_EQ(TestoDifferenza(d), atteso) << d;
    // The bar straight ahead of a nose 3.2 cm behind the axis, 40.45 cm away.
    const CoordinateAssetto c = CalcolaCoordinate("69", "74.4", "-3.2", "40.45", "0");
    ASSERT_TRUE(c.manubrio);
    EXPECT_EQ(TestoUnDecimale(c.manubrio->x), "43.6");
}

// Every cockpit of the range is one the search can choose: a target put
// exactly where a cockpit puts the bar finds that cockpit, at the corners of
// the range (no spacers and the shortest stem, the most spacers and the
// longest) and at each stem angle.
TEST(Telaio, OgniAttaccoDellaGammaTrovato) {
    struct Caso {
        double spessori, attacco, angolo;
    };
    const Caso casi[] = {{0, 60, -17}, {0, 60, 17},   {40, 140, 17}, {40, 140, -17}, {0, 140, 6},
                         {40, 60, -6}, {5, 70, -12},  {10, 80, -10}, {15, 90, -8},   {20, 100, 0},
                         {25, 110, 8}, {30, 120, 10}, {35, 130, 12}, {5, 90, 6}};
    for (const Caso& k : casi) {
        Telaio t{.stack = 560, .reach = 390, .angoloSterzo = 73, .cappellotto = 12, .morsetto = 38};
        t.spessori = k.spessori;
        t.attacco = k.attacco;
        t.angoloAttacco = k.angolo;
        const AttaccoScelto s = AttaccoPiuVicino(t, PosizioneManubrio(t));
        EXPECT_EQ((std::array{s.spessori, s.attacco, s.angoloAttacco}), (std::array{k.spessori, k.attacco, k.angolo}))
            << k.spessori << " " << k.attacco << " " << k.angolo;
        EXPECT_LT(s.distanza, 1e-6);
    }
}

// A target beyond the range's reach finds the cockpit at the range's end,
// never one past it: far above, the most spacers and the longest stem at
// the steepest angle.
TEST(Telaio, OltreLaGammaNessunAttaccoFuori) {
    const Telaio t{.stack = 560, .reach = 390, .angoloSterzo = 73};
    const AttaccoScelto s = AttaccoPiuVicino(t, {390, 1e7});
    EXPECT_EQ((std::array{s.spessori, s.attacco, s.angoloAttacco}), (std::array{40.0, 140.0, 17.0}));
    for (const Punto lontano : {Punto{1e7, 560}, Punto{-1e7, 560}, Punto{390, -1e7}, Punto{1e7, 1e7}}) {
        const AttaccoScelto f = AttaccoPiuVicino(t, lontano);
        EXPECT_TRUE(f.spessori >= 0 && f.spessori <= 40 && f.attacco >= 60 && f.attacco <= 140 &&
                    f.angoloAttacco >= -17 && f.angoloAttacco <= 17)
            << f.spessori << " " << f.attacco << " " << f.angoloAttacco;
    }
}
