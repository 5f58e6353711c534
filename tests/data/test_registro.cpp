// The rules of the recorded fittings and tests, below every window: the
// latest fitting and test, the changes between fittings and from the fit to
// the athlete's own set-up, the frame and cockpit in words, the zones of a
// test, the values and dates refused.
#include "Calendario.h"
#include "IdMessaggi.h"
#include "Messaggio.h"
#include "RegistroAssetti.h"
#include "TestoPiano.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace registro;
using archivio::CampoMisura;
using archivio::CampoProprio;
using archivio::CampoRisultato;
using archivio::CampoTelaio;

namespace {

std::string S(const QString& q) { return q.toStdString(); }

// The first athlete of the fit tests, a fitting of him with his own set-up.
archivio::Assetto Rossi() {
    archivio::Assetto a;
    a.data = "2026-11-02";
    a.bici = "Pinarello";
    const char* misure[] = {"78", "58", "52", "50", "57", "40", "28.5"};
    for (std::size_t i = 0; i < a.misure.size(); ++i) a.misure.testi[i] = misure[i];
    a.risultati = RisultatiDi(a.misure);
    return a;
}

class Registro : public ::testing::Test {
protected:
    void SetUp() override {
        Calendario::ImpostaServizi({[] { return Calendario::Data{2026, 12, 10}; }});
    }
};

}  // namespace

// Of fittings newest first: the first is the latest, the second the one before,
// the first on a bike the latest on it.
TEST_F(Registro, UltimoPrecedenteESullaBici) {
    std::vector<archivio::Assetto> assetti(3);
    const char* bici[] = {"Colnago", "Pinarello", "Colnago"};
    for (std::size_t i = 0; i < assetti.size(); ++i) assetti[i].bici = bici[i];
    EXPECT_EQ(UltimoAssetto(assetti), &assetti[0]);
    EXPECT_EQ(AssettoPrecedente(assetti), &assetti[1]);
    EXPECT_EQ(UltimoSullaBici(assetti, "Colnago"), &assetti[0]);
    EXPECT_EQ(UltimoSullaBici(assetti, "Pinarello"), &assetti[1]);
    EXPECT_EQ(UltimoSullaBici(assetti, "Bianchi"), nullptr);
    assetti.resize(2);
    EXPECT_EQ(AssettoPrecedente(assetti), &assetti[1]);
    assetti.resize(1);
    EXPECT_EQ(UltimoAssetto(assetti), &assetti[0]);
    EXPECT_EQ(AssettoPrecedente(assetti), nullptr);
    assetti.clear();
    EXPECT_EQ(UltimoAssetto(assetti), nullptr);
    EXPECT_EQ(AssettoPrecedente(assetti), nullptr);
}

// The latest test: the newest not dated after today (today's included), with
// the maximum it measured when it is a possible one; an older test's maximum
// is never taken for it.
TEST_F(Registro, UltimoTestEDataSuaMassima) {
    struct Caso {
        std::vector<std::pair<const char*, const char*>> test;  // date and HR max, newest first
        const char* data;                                       // of the test in use, "" for none
        double fcMax;
    };
    const Caso casi[] = {
        {{}, "", 0},
        {{{"2026-12-11", "200"}, {"2026-12-10", "190"}, {"2026-09-01", "180"}}, "2026-12-10", 190},
        {{{"2026-11-01", "191"}, {"2026-09-01", "180"}}, "2026-11-01", 191},
        {{{"2026-11-01", ""}, {"2026-09-01", "180"}}, "2026-11-01", 0},
        {{{"2026-11-01", "300"}, {"2026-09-01", "180"}}, "2026-11-01", 0},
        {{{"2027-01-01", "180"}}, "", 0},
    };
    for (const Caso& c : casi) {
        std::vector<archivio::TestAtleta> test;
        for (const auto& [data, fcmax] : c.test) {
            archivio::TestAtleta t;
            t.data = data;
            t.fcmax = fcmax;
            test.push_back(t);
        }
        const TestInUso uso = UltimoTest(test);
        EXPECT_EQ(uso.test ? uso.test->data : std::string(), c.data);
        EXPECT_EQ(uso.fcMaxMisurata, c.fcMax) << c.data;
    }
}

// The zones of a test and its W/kg at its weight, or at the card's when it
// has none; a value no athlete has gives nothing.
TEST_F(Registro, ZoneDiUnTest) {
    struct Caso {
        const char *lthr, *ftp, *peso, *riserva;
        const char *friel2, *coggan2, *wkg, *pesoUsato;  // the second zone of each, "" for none
    };
    const Caso casi[] = {
        {"160", "250", "70", "", "130-143", "140-189", "3.57", "70"},
        {"160", "250", "", "70.5", "130-143", "140-189", "3.55", "70.5"},
        {"160", "250", "71", "70.5", "130-143", "140-189", "3.52", "71"},
        {"", "250", "", "", "", "140-189", "", ""},
        {"300", "2500", "70", "", "", "", "", "70"},
        {"160", "250", "8", "", "130-143", "140-189", "", "8"},
    };
    for (const Caso& c : casi) {
        archivio::TestAtleta t;
        t.lthr = c.lthr;
        t.ftp = c.ftp;
        t.peso = c.peso;
        const ZoneDelTest z = ZoneDi(t, c.riserva);
        const auto seconda = [](const std::vector<Modulo1::Zona>& zone) {
            return zone.size() > 1 ? Modulo1::TestoZona(zone[1]) : std::string();
        };
        EXPECT_EQ(seconda(z.friel), c.friel2);
        EXPECT_EQ(seconda(z.coggan), c.coggan2);
        EXPECT_EQ(z.wattPerKg ? Modulo1::TestoWattPerKg(*z.wattPerKg) : std::string(), c.wkg);
        EXPECT_EQ(z.peso, c.pesoUsato);
    }
}

// The own value against a computed one: to the value, or to the nearer end of
// a range, 0 inside it; a range's ends in either order, with either separator.
TEST_F(Registro, DifferenzaDalSet) {
    struct Caso {
        const char *calcolato, *set, *testo;
    };
    const Caso casi[] = {
        {" 48 - 50.3", "49", "0"},
        {" 48 - 50.3", "48", "0"},
        {" 48 - 50.3", "50.3", "0"},
        {" 48 - 50.3", "47.5", "-0.5"},
        {" 48 - 50.3", "52", "+1.7"},
        {"50.3 - 48", "52", "+1.7"},
        {"50.3 - 48", "47", "-1"},
        {"4,5 - 5,5", "6", "+0.5"},
        {"4,5 - 5,5", "4", "-0.5"},
        {"-1 --.5", "0", "+0.5"},
        {"-1 --.5", "-2", "-1"},
        {"69", "70,25", "+1.2"},
        {"69", " 68 ", "-1"},
        {"69", "", ""},
        {"69", "abc", ""},
        {"n.d.", "69", ""},
        {"69", "69.04", "0"},
        {"4 - x", "4", ""},
        {" 48 - 50.3", "51.3", "+1"},
        {"4 - 5", "6", "+1"},
        {" -1 - 2", "3", "+1"},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(S(TestoDifferenzaDalSet(QString::fromUtf8(c.calcolato), QString::fromUtf8(c.set))), c.testo)
            << c.calcolato << " / " << c.set;
    EXPECT_EQ(DifferenzaDalSet(QStringLiteral("48 - 50"), QStringLiteral("47.25")), -0.75);
}

// The 22 values compared, in order: measures, results, own set-up; each own
// value named as the result it stands beside, marked as the athlete's.
TEST_F(Registro, VociENomi) {
    archivio::Assetto a;
    for (std::size_t i = 0; i < a.misure.size(); ++i) a.misure.testi[i] = "m" + std::to_string(i);
    for (std::size_t i = 0; i < a.risultati.size(); ++i) a.risultati.testi[i] = "r" + std::to_string(i);
    for (std::size_t i = 0; i < a.propri.size(); ++i) a.propri.testi[i] = "p" + std::to_string(i);
    std::string tutte;
    for (int i = 0; i < NumeroVoci; ++i) tutte += Voce(a, i) + " ";
    EXPECT_EQ(tutte, "m0 m1 m2 m3 m4 m5 m6 r0 r1 r2 r3 r4 r5 r6 r7 r8 r9 p0 p1 p2 p3 p4 ");

    const QString suo = Didascalia("frmScheda", "Label20").trimmed();
    ASSERT_FALSE(suo.isEmpty());
    for (const auto r : archivio::TuttiICampi<CampoRisultato>()) {
        const int voce = 7 + static_cast<int>(r);
        EXPECT_FALSE(NomeVoce(voce).contains(suo)) << voce;
        if (const auto p = ProprioDi(r)) {
            EXPECT_EQ(NomeVoce(17 + static_cast<int>(*p)), NomeVoce(voce) + QLatin1Char(' ') + suo) << voce;
        }
    }
    int propri = 0;
    for (const auto r : archivio::TuttiICampi<CampoRisultato>()) propri += ProprioDi(r).has_value();
    EXPECT_EQ(propri, static_cast<int>(a.propri.size()));
}

// One line per changed value, none for a value only re-spaced; the change of
// a number with its sign, of a range by its midpoint, blank for no number.
TEST_F(Registro, CambiamentiTraDueAssetti) {
    archivio::Assetto prima = Rossi(), dopo = prima;
    dopo.misure[CampoMisura::Cavallo] = "79";         // first value
    dopo.propri[CampoProprio::PE] = "172.5";          // last value, was empty
    dopo.risultati[CampoRisultato::HS] = " 70 - 72";  // a range
    prima.risultati[CampoRisultato::HS] = "69";
    dopo.misure[CampoMisura::Sella] = " " + prima.misure[CampoMisura::Sella] + " ";  // only re-spaced
    dopo.risultati[CampoRisultato::SM] = "5.1";
    prima.risultati[CampoRisultato::SM] = "5.6";
    const std::vector<Cambiamento> c = Cambiamenti(prima, dopo);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(S(c[0].voce), S(NomeVoce(0)));
    EXPECT_EQ(S(c[0].prima + "|" + c[0].dopo + "|" + c[0].differenza), "78|79|+1.0");
    EXPECT_EQ(S(c[1].voce), S(NomeVoce(7 + static_cast<int>(CampoRisultato::HS))));
    EXPECT_EQ(S(c[1].differenza), "+2.0");
    EXPECT_EQ(S(c[1].dopo), "70 - 72");
    EXPECT_EQ(S(c[2].differenza), "-0.5");
    EXPECT_EQ(S(c[3].voce), S(NomeVoce(NumeroVoci - 1)));
    EXPECT_EQ(S(c[3].prima + "|" + c[3].dopo + "|" + c[3].differenza), "|172.5|");
    EXPECT_TRUE(Cambiamenti(prima, prima).empty());
    EXPECT_EQ(S(DifferenzaVoce("5", "5")), "");
    EXPECT_EQ(S(DifferenzaVoce("5", "x")), "");
}

// The three points of a fitting: the fit's, the own set-up's where it is
// given, and the change from one to the other with its sign.
TEST_F(Registro, RigheCoordinateDelFitEDelSet) {
    archivio::Assetto a = Rossi();
    auto righe = RigheCoordinate(a);
    EXPECT_EQ(S(righe[0].testoAssetto + " / " + righe[1].testoAssetto + " / " + righe[2].testoAssetto),
              "-18.6, 66.5 / -4.2, 66.5 / 44.6, 60.9");
    for (std::size_t i = 0; i < righe.size(); ++i) {
        EXPECT_EQ(S(righe[i].punto), S(Messaggio(msg::PuntiCoordinate[i])));
        EXPECT_FALSE(righe[i].proprio);
        EXPECT_TRUE(righe[i].testoProprio.isEmpty() && righe[i].spostamento.isEmpty());
    }
    // The own saddle 1 cm higher, the nose 1 cm further back, the bar 2 cm
    // further and as low.
    const Modulo1::CoordinateAssetto fit = CoordinateDellAssetto(a);
    const double hs = std::hypot(fit.sella->x, fit.sella->y) + 1;
    a.propri[CampoProprio::HS] = Modulo1::TestoPiano(hs);
    a.propri[CampoProprio::R] = Modulo1::TestoPiano(-fit.punta->x + 1);
    a.propri[CampoProprio::DSM] = "49";
    a.propri[CampoProprio::SM] = a.risultati[CampoRisultato::SM];
    righe = RigheCoordinate(a);
    ASSERT_TRUE(righe[0].proprio && righe[1].proprio && righe[2].proprio);
    const std::string sella = S(righe[0].spostamento);
    EXPECT_EQ(sella.substr(0, 1), "-") << sella;  // further back along the seat tube
    EXPECT_NE(sella.find(", +"), std::string::npos) << sella;
    EXPECT_EQ(S(righe[1].spostamento).substr(0, 6), "-1.0, ") << S(righe[1].spostamento);
    EXPECT_EQ(righe[1].testoProprio, TestoPunto(righe[1].proprio));
    // No fit to compare with: the own point alone.
    a.risultati[CampoRisultato::DSM] = "n.d.";
    righe = RigheCoordinate(a);
    EXPECT_EQ(S(righe[2].testoAssetto), "n.d.");
    EXPECT_FALSE(righe[2].testoProprio.isEmpty());
    EXPECT_TRUE(righe[2].spostamento.isEmpty());
}

TEST_F(Registro, TestiDiPuntiESpostamenti) {
    const Modulo1::Punto p{1, 2};
    struct Caso {
        std::optional<Modulo1::Punto> da, a;
        const char* testo;
    };
    const Caso casi[] = {
        {p, Modulo1::Punto{1, 2}, ""},
        {p, Modulo1::Punto{1, 3}, "0, +1.0"},
        {p, Modulo1::Punto{0.5, 2}, "-0.5, 0"},
        {p, Modulo1::Punto{2.25, -1}, "+1.2, -3.0"},
        {p, std::nullopt, "n.d."},
        {std::nullopt, p, "n.d."},
    };
    for (const Caso& c : casi) EXPECT_EQ(S(TestoSpostamento(c.da, c.a)), c.testo);
    EXPECT_EQ(S(TestoPunto(Modulo1::Punto{-1.25, 0})), "-1.2, 0.0");
    EXPECT_EQ(S(TestoPunto(std::nullopt)), "n.d.");
}

// A frame needs its stack, reach and head angle; the cap and clamp default to
// 10 and 40 mm, the rest to 0; a frame that is none is no frame.
TEST_F(Registro, TelaioDiUnAssetto) {
    archivio::Assetto a;
    const char* valori[] = {"530", "380", "72.5", "", "", "", "", ""};
    for (std::size_t i = 0; i < a.telaio.size(); ++i) a.telaio.testi[i] = valori[i];
    auto t = TelaioDi(a);
    ASSERT_TRUE(t);
    EXPECT_EQ((std::array{t->stack, t->reach, t->angoloSterzo, t->cappellotto, t->spessori, t->attacco,
                          t->angoloAttacco, t->morsetto}),
              (std::array{530.0, 380.0, 72.5, 10.0, 0.0, 0.0, 0.0, 40.0}));
    EXPECT_FALSE(ConAttacco(a));
    const char* pieni[] = {"530", "380", "72.5", "15", "20", "100", "-6", "35"};
    for (std::size_t i = 0; i < a.telaio.size(); ++i) a.telaio.testi[i] = pieni[i];
    t = TelaioDi(a);
    ASSERT_TRUE(t);
    EXPECT_EQ((std::array{t->stack, t->reach, t->angoloSterzo, t->cappellotto, t->spessori, t->attacco,
                          t->angoloAttacco, t->morsetto}),
              (std::array{530.0, 380.0, 72.5, 15.0, 20.0, 100.0, -6.0, 35.0}));
    EXPECT_TRUE(ConAttacco(a));
    const auto v = ValoriTelaio(a);
    for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i], std::stod(pieni[i])) << i;
    for (const auto c : {CampoTelaio::Stack, CampoTelaio::Reach, CampoTelaio::AngoloSterzo}) {
        archivio::Assetto senza = a;
        senza.telaio[c] = "";
        EXPECT_FALSE(TelaioDi(senza));
        EXPECT_EQ(S(RigheTelaioDi(senza).join('|')), S(Messaggio(msg::NessunTelaio)));
        EXPECT_FALSE(ValoriTelaio(senza)[static_cast<std::size_t>(c)]);
    }
    a.telaio[CampoTelaio::AngoloSterzo] = "190";
    EXPECT_FALSE(TelaioDi(a));
}

// A frame in words: its values as the fitter gives them, where its own
// cockpit puts the bars against the fit's (ahead or behind, above or below)
// and the closest cockpit; without a stem only the closest.
TEST_F(Registro, RigheDelTelaio) {
    Modulo1::Telaio t{
        .stack = 530, .reach = 380, .angoloSterzo = 72.5, .spessori = 20, .attacco = 100, .angoloAttacco = -6};
    const Modulo1::Punto p = Modulo1::PosizioneManubrio(t);
    const QString telaio = Messaggio(msg::TelaioDato).arg("530", "380", "72.5", "10", "40");
    EXPECT_EQ(S(RigheTelaio(t, true, std::nullopt).join('|')), S(telaio + "|" + Messaggio(msg::NessunManubrio)));
    struct Caso {
        double dx, dy;  // the fit's bar from the cockpit's, mm
        msg::Id avanti, alto;
    };
    const Caso casi[] = {{5, -3, msg::DietroA, msg::SopraA},
                         {-5, 3, msg::DavantiA, msg::SottoA},
                         {-0.5, 0.5, msg::DavantiA, msg::SottoA},
                         {0.5, -0.5, msg::DietroA, msg::SopraA}};
    for (const Caso& c : casi) {
        const Modulo1::Punto fitCm{(p.x + c.dx) / 10, (p.y + c.dy) / 10};
        const QStringList righe = RigheTelaio(t, true, fitCm);
        ASSERT_EQ(righe.size(), 3);
        EXPECT_EQ(S(righe[0]), S(telaio));
        const QString avanti =
            Messaggio(c.avanti).arg(QString::fromStdString(Modulo1::TestoUnDecimale(std::abs(c.dx))));
        const QString alto = Messaggio(c.alto).arg(QString::fromStdString(Modulo1::TestoUnDecimale(std::abs(c.dy))));
        EXPECT_EQ(S(righe[1]), S(Messaggio(msg::AttaccoDato)
                                     .arg("100", "-6", "20", QString::fromStdString(Modulo1::TestoUnDecimale(p.x)),
                                          QString::fromStdString(Modulo1::TestoUnDecimale(p.y)), avanti, alto)));
        const Modulo1::AttaccoScelto s = Modulo1::AttaccoPiuVicino(t, {p.x + c.dx, p.y + c.dy});
        EXPECT_TRUE(righe[2].startsWith(S(Messaggio(msg::AttaccoPiuVicino).section(QLatin1Char('%'), 0, 0)).c_str()));
        EXPECT_TRUE(righe[2].contains(QString::fromStdString(Modulo1::TestoUnDecimale(s.distanza))));
        EXPECT_EQ(RigheTelaio(t, false, fitCm).size(), 2);
    }
    // The first athlete's fit on this frame: the closest cockpit, its angle with its sign.
    archivio::Assetto a = Rossi();
    const char* telaioRossi[] = {"530", "380", "72.5", "", "20", "100", "-6", ""};
    for (std::size_t i = 0; i < a.telaio.size(); ++i) a.telaio.testi[i] = telaioRossi[i];
    const QStringList righeRossi = RigheTelaioDi(a);
    ASSERT_EQ(righeRossi.size(), 3);
    EXPECT_EQ(S(righeRossi[2]), S(Messaggio(msg::AttaccoPiuVicino).arg("90", "+17", "0", "445.2", "609.6", "1.2")));
    // A stem angle with its sign, none on 0; whole millimetres without ".0".
    for (auto [angolo, testo] : {std::pair{6.0, "+6"}, {0.0, "0"}, {-17.0, "-17"}, {8.5, "+8.5"}}) {
        t.angoloAttacco = angolo;
        const QStringList righe = RigheTelaio(t, true, Modulo1::Punto{45, 60});
        EXPECT_TRUE(righe[1].startsWith(
            Messaggio(msg::AttaccoDato).arg("100", testo, "20").section(QStringLiteral("%4"), 0, 0)))
            << S(righe[1]);
    }
}

// Values as typed: nothing when empty, no number when not one, nothing when
// no athlete has it; a date not a date, or after today, refused with its
// reason.
TEST_F(Registro, ValoriEDateScritti) {
    using G = Modulo1::Grandezza;
    EXPECT_FALSE(ValoreScritto(""));
    EXPECT_FALSE(ValoreScritto("  "));
    EXPECT_TRUE(std::isnan(*ValoreScritto("abc")));
    EXPECT_EQ(*ValoreScritto("72,5"), 72.5);
    const auto limiti = Modulo1::LimitiDi(G::FcMax).possibile;
    EXPECT_EQ(ValoreAmmesso(G::FcMax, Modulo1::TestoPiano(limiti.minimo)), limiti.minimo);
    EXPECT_EQ(ValoreAmmesso(G::FcMax, Modulo1::TestoPiano(limiti.massimo)), limiti.massimo);
    EXPECT_FALSE(ValoreAmmesso(G::FcMax, Modulo1::TestoPiano(limiti.massimo + 1)));
    EXPECT_FALSE(ValoreAmmesso(G::FcMax, "abc"));

    EXPECT_EQ(S(TestoDataNonValida("2026-12-10", true)), "");
    EXPECT_EQ(S(TestoDataNonValida("2026-12-11", false)), S(Messaggio(msg::DataFutura).arg("2026-12-11")));
    EXPECT_EQ(S(TestoDataNonValida("2026-13-01", true)), S(Messaggio(msg::DataAssettoNonValida)));
    EXPECT_EQ(S(TestoDataNonValida("ieri", false)), S(Messaggio(msg::DataTestNonValida)));
}

// A value with its unit, W/kg to two decimals; why a value is refused names
// the possible range, an unusual one the usual range.
TEST_F(Registro, UnitaEValoriFuori) {
    using G = Modulo1::Grandezza;
    const std::pair<G, const char*> unita[] = {
        {G::FcMax, "170 bpm"}, {G::Lthr, "170 bpm"},   {G::Ftp, "170 W"},         {G::Peso, "170 kg"},
        {G::Stack, "170 mm"},  {G::Attacco, "170 mm"}, {G::AngoloSterzo, "170°"}, {G::AngoloAttacco, "170°"}};
    for (auto [g, testo] : unita) EXPECT_EQ(S(ValoreConUnita(g, 170)), testo);
    EXPECT_EQ(S(ValoreConUnita(G::WattPerKg, 3.14159)), "3.14 W/kg");

    const auto& l = Modulo1::LimitiDi(G::Peso);
    const Modulo1::ValoreFuori impossibile{G::Peso, 300, Modulo1::Giudizio::Impossibile};
    EXPECT_EQ(S(TestoValoreFuori(impossibile)),
              S(Messaggio(msg::ValoreImpossibile)
                    .arg(NomeGrandezza(G::Peso), "300 kg", ValoreConUnita(G::Peso, l.possibile.minimo),
                         ValoreConUnita(G::Peso, l.possibile.massimo))));
    const Modulo1::ValoreFuori insolito{G::Peso, 140, Modulo1::Giudizio::Insolito};
    for (auto [domanda, id] : {std::pair{true, msg::ValoreInsolitoDomanda}, {false, msg::ValoreInsolito}})
        EXPECT_EQ(S(TestoValoreFuori(insolito, domanda)),
                  S(Messaggio(id).arg(NomeGrandezza(G::Peso), "140 kg", ValoreConUnita(G::Peso, l.usuale.minimo),
                                      ValoreConUnita(G::Peso, l.usuale.massimo))));
    const Modulo1::ValoreFuori soglia{G::Lthr, 195, Modulo1::Giudizio::Insolito, G::FcMax, 190};
    EXPECT_EQ(
        S(TestoValoreFuori(soglia, false)),
        S(Messaggio(msg::SogliaInsolita).arg(NomeGrandezza(G::Lthr), "195 bpm", NomeGrandezza(G::FcMax), "190 bpm")));
}

// The disciplines by name, a code of a later version as it is; a fitting by
// its date and bike.
TEST_F(Registro, NomiDiDisciplineEAssetti) {
    for (std::size_t i = 0; i < archivio::Discipline.size(); ++i)
        EXPECT_EQ(S(NomeDisciplina(std::string(archivio::Discipline[i]))), S(Messaggio(msg::Discipline[i])));
    EXPECT_EQ(S(NomeDisciplina("ciclocross")), "ciclocross");
    archivio::Assetto a = Rossi();
    EXPECT_EQ(S(NomeAssetto(a)), S(Messaggio(msg::AssettoConBici).arg("2026-11-02", "Pinarello")));
    a.bici.clear();
    EXPECT_EQ(S(NomeAssetto(a)), "2026-11-02");
}
